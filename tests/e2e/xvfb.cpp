#include "xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace trelvane::desktop {

namespace {

bool displayInUse(int n)
{
    const std::string num = std::to_string(n);
    struct stat st {};
    return stat(("/tmp/.X" + num + "-lock").c_str(), &st) == 0 || stat(("/tmp/.X11-unix/X" + num).c_str(), &st) == 0;
}

// Reads what Xvfb writes to -displayfd once it listens; empty on exit or at the deadline.
std::string readReady(int fd, Clock::time_point deadline)
{
    std::string text;
    char buffer[32];
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return {};
        pollfd pfd{fd, POLLIN, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return {};
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return {};
        text.append(buffer, static_cast<size_t>(n));
        if (text.find('\n') != std::string::npos)
            return text.substr(0, text.find('\n'));
    }
}

}  // namespace

bool XvfbServer::start(int first, int last, milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    error_ = "no free display number in :" + std::to_string(first) + "..:" + std::to_string(last);
    for (int n = first; n <= last && Clock::now() < deadline; ++n) {
        if (displayInUse(n))
            continue;
        int fds[2];
        if (pipe(fds) != 0) {
            error_ = "pipe failed";
            return false;
        }
        fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        Process::Options options;
        options.env = environmentWith({});
        const std::string display = ":" + std::to_string(n);
        const bool started = server_.start({"Xvfb", display, "-nolisten", "tcp", "-screen", "0", "1280x1024x24",
                                            "-displayfd", std::to_string(fds[1])},
                                           options);
        close(fds[1]);
        if (!started) {
            close(fds[0]);
            error_ = server_.error();
            return false;
        }
        const std::string ready = readReady(fds[0], deadline);
        close(fds[0]);
        if (ready == std::to_string(n) && server_.running()) {
            display_ = display;
            return true;
        }
        server_.terminate();  // lost the number to another server, or too slow
        error_ = "Xvfb did not start on " + display;
    }
    return false;
}

TempDir::TempDir(const std::string &prefix)
{
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    if (mkdtemp(pattern.data()))
        path_ = pattern;  // mkdtemp makes it 0700
}

TempDir::~TempDir()
{
    if (path_.empty())
        return;
    std::error_code ec;
    // A test may have taken the write bits away; give them back so that everything goes.
    const auto all = std::filesystem::perms::owner_all;
    const auto add = std::filesystem::perm_options::add;
    std::filesystem::permissions(path_, all, add, ec);
    for (const auto &entry : std::filesystem::recursive_directory_iterator(path_, ec))
        if (entry.is_directory(ec))
            std::filesystem::permissions(entry.path(), all, add, ec);
    std::filesystem::remove_all(path_, ec);
}

}  // namespace trelvane::desktop
