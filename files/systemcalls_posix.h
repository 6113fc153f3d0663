#pragma once
// The calls on which a replacement's safety rests, reached through one table so
// that tests can watch their order and make them fail.

namespace trelvane::posix {

struct SystemCalls {
    int (*fsync)(int fd);
    int (*renameat)(int fromFolder, const char *from, int toFolder, const char *to);
};

SystemCalls &systemCalls();

}  // namespace trelvane::posix
