#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
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

namespace {

// The program's full path: as given if it holds a slash, else the first match on PATH.
std::string resolve(const std::string &program)
{
    if (program.find('/') != std::string::npos)
        return program;
    const char *path = std::getenv("PATH");
    const std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        const size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + program;
        struct stat st {};
        if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

}  // namespace

bool onPath(const std::string &program)
{
    const std::string path = resolve(program);
    return !path.empty() && access(path.c_str(), X_OK) == 0;
}

Process::Process(Process &&other) noexcept : pid_(other.pid_), status_(other.status_), error_(std::move(other.error_))
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

Process::~Process() { terminate(); }

bool Process::start(const std::vector<std::string> &argv, const Options &options)
{
    const std::string program = resolve(argv.at(0));
    if (program.empty()) {
        error_ = "cannot find " + argv[0];
        return false;
    }
    // Everything the child needs is prepared before fork: after it, only plain system calls.
    std::vector<char *> args;
    for (const std::string &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    const std::vector<std::string> envStrings = options.env.empty() ? environmentWith({}) : options.env;
    std::vector<char *> envp;
    for (const std::string &e : envStrings)
        envp.push_back(const_cast<char *>(e.c_str()));
    envp.push_back(nullptr);
    const std::string out = options.outputFile.empty() ? "/dev/null" : options.outputFile;
    const pid_t parent = getpid();

    status_.reset();
    pid_ = fork();
    if (pid_ < 0) {
        error_ = std::string("fork failed: ") + std::strerror(errno);
        return false;
    }
    if (pid_ == 0) {
        // A child outlives no test: it is ended with the process that started it, however that ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(127);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        const int err = options.outputFd >= 0 ? options.outputFd
                                              : open(out.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (in < 0 || err < 0)
            _exit(127);
        dup2(in, STDIN_FILENO);
        dup2(err, STDERR_FILENO);
        dup2(options.stdoutFd >= 0 ? options.stdoutFd : err, STDOUT_FILENO);
        for (const auto &[from, to] : options.fds) {
            if (from == to)
                fcntl(to, F_SETFD, 0);  // dup2 onto itself would keep close-on-exec
            else
                dup2(from, to);
        }
        // An ignored signal stays ignored across exec: the child gets the default, as from a shell.
        signal(SIGXFSZ, SIG_DFL);
        if (options.fileSizeLimit) {
            const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(127);
        }
        execve(program.c_str(), args.data(), envp.data());
        _exit(127);
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

bool Process::running() { return pid_ >= 0 && !reap(WNOHANG); }

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
