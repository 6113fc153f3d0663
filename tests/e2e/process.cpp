#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char **environ;

namespace trelvane::desktop {

std::vector<std::string> environmentWith(const EnvChanges &changes)
{
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e) {
        const std::string entry(*e);
        const std::string name = entry.substr(0, entry.find('='));
        if (!changes.count(name))
            env.push_back(entry);
    }
    for (const auto &[name, value] : changes)
        if (value)
            env.push_back(name + "=" + *value);
    return env;
}

bool onPath(const std::string &program)
{
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), X_OK) == 0;
    const char *path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

Process::Process(Process &&other) noexcept
    : pid_(other.pid_), status_(other.status_), error_(std::move(other.error_))
{
    other.pid_ = -1;
}

Process &Process::operator=(Process &&other) noexcept
{
    if (this != &other) {
        terminate();
        pid_ = other.pid_;
        status_ = other.status_;
        error_ = std::move(other.error_);
        other.pid_ = -1;
    }
    return *this;
}

Process::~Process()
{
    terminate();
}

bool Process::start(const std::vector<std::string> &argv, const Options &options)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    const std::string out = options.outputFile.empty() ? "/dev/null" : options.outputFile;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (options.stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, options.stdoutFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_adddup2(&actions, STDERR_FILENO, STDOUT_FILENO);
    for (const auto &[from, to] : options.fds)
        posix_spawn_file_actions_adddup2(&actions, from, to);

    // A new process group, so that a terminal's Ctrl+C reaches only the test, which cleans up.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attr, &none);
    posix_spawnattr_setsigdefault(&attr, &all);

    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    const std::vector<std::string> envStrings = options.env.empty() ? environmentWith({}) : options.env;
    std::vector<char *> envp;
    for (const std::string &e : envStrings)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);

    status_.reset();
    const int rc = posix_spawnp(&pid_, args[0], &actions, &attr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) {
        pid_ = -1;
        error_ = "cannot start " + argv[0] + ": " + std::strerror(rc);
        return false;
    }
    return true;
}

bool Process::reap(int flags)
{
    if (pid_ < 0)
        return true;
    int st = 0;
    pid_t r;
    do {
        r = waitpid(pid_, &st, flags);
    } while (r < 0 && errno == EINTR);
    if (r == 0)
        return false;
    if (r == pid_)
        status_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    else
        status_ = -1;  // already reaped elsewhere; nothing more to learn
    pid_ = -1;
    return true;
}

bool Process::running()
{
    return pid_ >= 0 && !reap(WNOHANG);
}

std::optional<int> Process::wait(milliseconds timeout)
{
    const auto deadline = Clock::now() + timeout;
    while (!reap(WNOHANG)) {
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(milliseconds(5));
    }
    return status_;
}

void Process::terminate(milliseconds grace)
{
    if (pid_ < 0)
        return;
    kill(pid_, SIGTERM);
    if (!wait(grace)) {
        kill(pid_, SIGKILL);
        reap(0);
    }
}

RunResult run(const std::vector<std::string> &argv, const std::vector<std::string> &env, milliseconds timeout)
{
    RunResult result;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return result;
    Process p;
    Process::Options options;
    options.env = env;
    options.stdoutFd = fds[1];
    const bool started = p.start(argv, options);
    close(fds[1]);
    if (!started) {
        close(fds[0]);
        return result;
    }
    const auto deadline = Clock::now() + timeout;
    char buffer[4096];
    for (;;) {
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            break;
        pollfd pfd{fds[0], POLLIN, 0};
        const int ready = poll(&pfd, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        result.output.append(buffer, static_cast<size_t>(n));
    }
    close(fds[0]);
    const auto left = std::max(deadline - Clock::now(), Clock::duration::zero());
    result.status = p.wait(std::chrono::duration_cast<milliseconds>(left) + milliseconds(1));
    return result;
}

}  // namespace trelvane::desktop
