#pragma once
// Small file helpers for tests that check what is left on disk.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <csignal>
#include <filesystem>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/fileerror.h"

namespace trelvane::testing {

namespace fs = std::filesystem;

// The message a file operation gave, or "" when it went well: for readable assertions.
inline std::string messageOf(const std::optional<FileError> &error) { return error ? error->message() : std::string(); }

inline bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

inline void writeFile(const fs::path &path, std::string_view content)
{
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    ASSERT_TRUE(f.is_open()) << path;
    f.write(content.data(), static_cast<std::streamsize>(content.size()));
    ASSERT_TRUE(f.good()) << path;
}

inline std::string readFile(const fs::path &path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return "<unreadable>";  // opening a pipe would wait for a writer
    std::ifstream f(path, std::ios::binary);
    if (!f.is_open())
        return "<unreadable>";
    return std::string(std::istreambuf_iterator<char>(f), {});
}

inline void setMode(const fs::path &path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

// Everything in a folder, hidden files included: a stray temporary file shows here.
inline std::vector<std::string> entries(const fs::path &folder)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto &entry : fs::directory_iterator(folder, ec))
        out.push_back(entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// A fresh folder, removed with everything in it.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "trelvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const fs::path &path() const { return path_; }
    fs::path operator/(const fs::path &name) const { return path_ / name; }

private:
    fs::path path_;
};

// Permission bits do not stop the superuser; tests that rely on them say so.
inline bool permissionsStopWrites()
{
    TempDir probe;
    ::chmod(probe.path().c_str(), 0500);
    const bool created = std::ofstream(probe / "probe").is_open();
    ::chmod(probe.path().c_str(), 0700);
    return !created;
}

// While one lives, no file of this process grows beyond `room` bytes: writes
// past it fail with "File too large", as on a full disk, without root or a
// mount. Assert nothing while it lives: a message written to a file would fail too.
class WritesFail {
public:
    explicit WritesFail(rlim_t room = 0)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{room, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WritesFail()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldSignal_);
    }
    WritesFail(const WritesFail &) = delete;
    WritesFail &operator=(const WritesFail &) = delete;

private:
    rlimit old_{};
    void (*oldSignal_)(int) = nullptr;
};

// A named pipe under a file's name: opening it for reading waits for a writer.
inline void makePipe(const fs::path &path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path; }

// Runs `action` as a player without special rights: as root (which permission
// bits do not stop) it runs in a child process as "nobody", owning `folder`.
inline bool asPlayer(const fs::path &folder, const std::function<bool()> &action)
{
    if (geteuid() != 0)
        return action();
    constexpr uid_t Nobody = 65534;
    EXPECT_EQ(::lchown(folder.c_str(), Nobody, Nobody), 0);
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        EXPECT_EQ(::lchown(entry.path().c_str(), Nobody, Nobody), 0);
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0;
        _exit(dropped && action() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace trelvane::testing
