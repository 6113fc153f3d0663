#pragma once
// A private virtual X server on the first free display number in a range.

#include <string>

#include "process.h"

namespace trelvane::desktop {

class XvfbServer {
public:
    XvfbServer() = default;
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;
    ~XvfbServer() { stop(); }

    // Tries :first to :last, skipping numbers with a lock file; true once a
    // server accepts connections. Two starts racing for one number are sorted
    // out by Xvfb's own lock: the loser exits and the next number is tried.
    bool start(int first = 90, int last = 120, milliseconds timeout = milliseconds(10000));
    void stop() { server_.terminate(); }

    std::string display() const { return display_; }  // ":93"
    pid_t pid() const { return server_.pid(); }
    const std::string &error() const { return error_; }

private:
    Process server_;
    std::string display_;
    std::string error_;
};

// A fresh private folder (mode 0700) for XDG_RUNTIME_DIR, removed with the object.
class TempDir {
public:
    explicit TempDir(const std::string &prefix = "trelvane");
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    ~TempDir();
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

}  // namespace trelvane::desktop
