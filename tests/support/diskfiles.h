#pragma once
// Small file helpers for tests that check what is left on disk.

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <filesystem>
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <sys/types.h>
#include <windows.h>

#include "files/systemcalls_windows.h"
#else
#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

#ifdef _WIN32
// Windows keeps one bit of it: a file without write permission is marked read-only.
inline void setMode(const fs::path &path, mode_t mode)
{
    std::error_code ec;
    fs::permissions(path, static_cast<fs::perms>(mode), ec);
    ASSERT_FALSE(ec) << path << ": " << ec.message();
}

// The system's words for an error, as the files layer reports them.
inline std::string systemWords(DWORD code)
{
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text, nullptr);
    std::string words(text);
    while (!words.empty() && std::string_view("\r\n .").find(words.back()) != std::string_view::npos)
        words.pop_back();
    return words;
}
const std::string NoSuchFile = systemWords(ERROR_FILE_NOT_FOUND);
const std::string NoSuchFolder = systemWords(ERROR_PATH_NOT_FOUND);
#else
inline void setMode(const fs::path &path, mode_t mode) { ASSERT_EQ(::chmod(path.c_str(), mode), 0) << path; }

const std::string NoSuchFile = "No such file or directory";
const std::string NoSuchFolder = NoSuchFile;
#endif

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
#ifdef _WIN32
        static unsigned made = 0;
        const fs::path path = fs::temp_directory_path() /
                              ("trelvane-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
        if (fs::create_directory(path))
            path_ = path;
#else
        std::string pattern = (fs::temp_directory_path() / "trelvane-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path_ = pattern;
#endif
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

// Permission bits do not stop the superuser, nor any user on Windows, where
// folders have no write bit; tests that rely on them say so.
inline bool permissionsStopWrites()
{
#ifdef _WIN32
    return false;
#else
    TempDir probe;
    ::chmod(probe.path().c_str(), 0500);
    const bool created = std::ofstream(probe / "probe").is_open();
    ::chmod(probe.path().c_str(), 0700);
    return !created;
#endif
}

#ifdef _WIN32
using rlim_t = unsigned long long;

// While one lives, no file that the files layer writes grows beyond `room`
// bytes: writes past it fail as on a full disk. Windows has no file-size limit,
// so the layer's own write call stands in.
class WritesFail {
public:
    explicit WritesFail(rlim_t room = 0) : old_(windows::systemCalls().writeFile)
    {
        room_ = room;
        windows::systemCalls().writeFile = [](HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                              LPOVERLAPPED overlapped) -> BOOL {
            LARGE_INTEGER at{};
            SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT);
            const rlim_t used = static_cast<rlim_t>(at.QuadPart);
            if (used >= room_) {
                SetLastError(ERROR_DISK_FULL);
                return FALSE;
            }
            return ::WriteFile(file, data, static_cast<DWORD>(std::min<rlim_t>(size, room_ - used)), written,
                               overlapped);
        };
    }
    ~WritesFail() { windows::systemCalls().writeFile = old_; }
    WritesFail(const WritesFail &) = delete;
    WritesFail &operator=(const WritesFail &) = delete;

private:
    static inline rlim_t room_ = 0;
    decltype(&::WriteFile) old_;
};

const std::string FileTooLarge = systemWords(ERROR_DISK_FULL);
#else
const std::string FileTooLarge = "File too large";

// While one lives, no file of this process grows beyond `room` bytes: writes
// past it fail with "File too large", as on a full disk, without root or a
// mount. `once`: the first write that fails lifts the limit, so that it is the
// only one. Assert nothing while it lives: a message written to a file would fail too.
class WritesFail {
public:
    explicit WritesFail(rlim_t room = 0, bool once = false)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        lifted_ = old_;
        oldSignal_ = std::signal(SIGXFSZ, once ? liftLimit : SIG_IGN);
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
    // The signal comes with the write past the limit, which fails all the same.
    static void liftLimit(int)
    {
        const int error = errno;
        setrlimit(RLIMIT_FSIZE, &lifted_);
        errno = error;
    }

    rlimit old_{};
    static inline rlimit lifted_{};
    void (*oldSignal_)(int) = nullptr;
};

// A named pipe under a file's name: opening it for reading waits for a writer.
inline void makePipe(const fs::path &path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path; }

// Runs `action` in a child process, which limits and rights changed there do not outlive.
inline bool inChild(const std::function<bool()> &action)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(action() ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

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
    return inChild(
        [&] { return setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0 && action(); });
}

#endif

}  // namespace trelvane::testing
