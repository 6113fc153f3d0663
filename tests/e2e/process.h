#pragma once
// Child processes for the desktop tests and the benchmarks: started with a
// chosen environment, waited for with a deadline, never left running.

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace trelvane::desktop {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The current environment with some variables replaced (a value) or removed (nullopt).
using EnvChanges = std::map<std::string, std::optional<std::string>>;
std::vector<std::string> environmentWith(const EnvChanges &changes);

// True if the program can be found on PATH (or is a path to an executable).
bool onPath(const std::string &program);

class Process {
public:
    struct Options {
        std::vector<std::string> env;  // empty: the current environment
        std::string outputFile;  // stdout and stderr go here; empty: /dev/null
        std::vector<std::pair<int, int>> fds;  // {fd in this process, fd number in the child}
        int stdoutFd = -1;  // if set, the child's stdout (stderr still to outputFile)
        int outputFd = -1;  // if set, the child's stdout and stderr, in place of outputFile
        std::optional<rlim_t> fileSizeLimit;  // set: no file of the child grows beyond it
    };

    Process() = default;
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;
    Process(Process &&other) noexcept;
    Process &operator=(Process &&other) noexcept;
    ~Process();  // kills and reaps a child that still runs

    // Returns false (and sets error()) if the program could not be started.
    bool start(const std::vector<std::string> &argv, const Options &options);

    pid_t pid() const { return pid_; }
    bool running();
    // The exit status (128 + signal if killed), or nullopt if still running at the deadline.
    std::optional<int> wait(milliseconds timeout);
    void terminate(milliseconds grace = milliseconds(2000));  // SIGTERM, then SIGKILL
    const std::string &error() const { return error_; }

private:
    bool reap(int flags);

    pid_t pid_ = -1;
    std::optional<int> status_;
    std::string error_;
};

struct RunResult {
    std::optional<int> status;  // nullopt: killed at the deadline
    std::string output;  // stdout
};

// Runs a command to its end, or kills it at the deadline.
RunResult run(const std::vector<std::string> &argv, const std::vector<std::string> &env, milliseconds timeout);

}  // namespace trelvane::desktop
