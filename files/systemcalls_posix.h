#pragma once
// The calls on which a replacement's safety rests, reached through one table so
// that tests can watch their order, make them fail, and change the files
// between them.

#include <sys/types.h>

namespace trelvane::posix {

struct SystemCalls {
    int (*fsync)(int fd);
    int (*renameat)(int fromFolder, const char *from, int toFolder, const char *to);
    int (*openat)(int folder, const char *name, int flags, mode_t mode);
};

SystemCalls &systemCalls();

}  // namespace trelvane::posix
