#pragma once
// The files layer's own system calls, watched and failed through their seam,
// and the folder changed between a check and the open that counts on it.
#ifndef _WIN32

#include <cerrno>
#include <cstddef>
#include <functional>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "files/systemcalls_posix.h"

namespace trelvane::testing {

// While one lives, the files layer's fsync and rename calls are listed in
// `calls` ("fsync rename fsync "), and the `failing`-th of them (from 1; 0:
// none) fails with `error`. `beforeOpen`, when set, runs before each of the
// layer's opens for writing: it may change the folder, or return an error
// for the open to fail with.
class CallsFail {
public:
    explicit CallsFail(std::size_t failing = 0, int error = 0) : real_(posix::systemCalls())
    {
        calls.clear();
        beforeOpen = nullptr;
        failing_ = failing;
        error_ = error;
        count_ = 0;
        posix::SystemCalls &seam = posix::systemCalls();
        seam.fsync = [](int fd) { return fails("fsync ") ? -1 : ::fsync(fd); };
        seam.renameat = [](int fromFolder, const char *from, int toFolder, const char *to) {
            return fails("rename ") ? -1 : ::renameat(fromFolder, from, toFolder, to);
        };
        seam.openat = [](int folder, const char *name, int flags, mode_t mode) {
            if (const int refused = beforeOpen ? beforeOpen(folder, name, flags) : 0) {
                errno = refused;
                return -1;
            }
            return ::openat(folder, name, flags, mode);
        };
    }
    ~CallsFail() { posix::systemCalls() = real_; }
    CallsFail(const CallsFail &) = delete;
    CallsFail &operator=(const CallsFail &) = delete;

    static inline std::string calls;
    static inline std::function<int(int folder, const char *name, int flags)> beforeOpen;

private:
    static bool fails(const char *name)
    {
        calls += name;
        if (++count_ != failing_)
            return false;
        errno = error_;
        return true;
    }

    static inline std::size_t failing_ = 0;
    static inline std::size_t count_ = 0;
    static inline int error_ = 0;
    posix::SystemCalls real_;
};

}  // namespace trelvane::testing

#endif
