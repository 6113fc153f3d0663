// Measures the utility against an empty window of the same size and prints a
// table: start-up to the first painted frame, CPU while it sits open with the
// preview running, peak resident memory, and the executable's size. Rows
// marked "reference" measure variants of the empty window (one label, an idle
// timer) to show what any window with text or a 25 ms timer costs here. The
// window's cost while open is set against the same window moving one label
// every 25 ms: the least that any window with such a preview can cost.
//
//   bench_runner --app PATH --bare PATH --plugins DIR [--runs N] [--idle SECONDS]
//
// The first painted frame is reported by the generic plugin in firstpaint/,
// which Qt loads into both programs from DIR; neither program has a hook.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "process.h"
#include "xvfb.h"

namespace fs = std::filesystem;
using namespace trelvane::desktop;

namespace {

struct Options {
    std::string app, bare, plugins, buildType = "unknown";
    int runs = 15;
    int idleSeconds = 10;
};

std::string settingsAtSpeed(int speed)
{
    const std::vector<std::string> lines = {"2", "8",   "1", "1",  "1", "0",   "1",   "0",  std::to_string(speed),
                                            "1", ".75", "1", ".5", "1", "203", "205", "57", "30",
                                            "32"};
    std::string out;
    for (const std::string &l : lines)
        out += l + "\r\n";
    return out;
}

void writeFile(const fs::path &p, const std::string &bytes)
{
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return NAN;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// A measured program, started with the plugin that reports its first painted frame.
class Measured {
public:
    // Returns false if it could not be started or painted nothing within the deadline.
    bool start(const std::vector<std::string> &argv, const std::vector<std::string> &env, bool exitAfterPaint)
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return false;
        // The write end must not already be the child's fd 3, or dup2 would keep it close-on-exec.
        const int writeEnd = fcntl(fds[1], F_DUPFD_CLOEXEC, 10);
        close(fds[1]);
        std::vector<std::string> childEnv = env;
        childEnv.push_back("TRELVANE_FIRSTPAINT_FD=3");
        childEnv.push_back(std::string("TRELVANE_FIRSTPAINT_EXIT=") + (exitAfterPaint ? "1" : "0"));
        Process::Options options;
        options.env = childEnv;
        options.fds = {{writeEnd, 3}};
        launchedNs_ = monotonicNs();
        const bool started = process_.start(argv, options);
        close(writeEnd);
        if (!started) {
            close(fds[0]);
            return false;
        }
        paintedNs_ = readTime(fds[0], milliseconds(30000));
        close(fds[0]);
        return paintedNs_ > 0;
    }

    double startupMs() const { return static_cast<double>(paintedNs_ - launchedNs_) / 1e6; }
    Process &process() { return process_; }

private:
    static long long readTime(int fd, milliseconds timeout)
    {
        const auto deadline = Clock::now() + timeout;
        std::string text;
        char buffer[64];
        while (text.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                return 0;
            pollfd pfd{fd, POLLIN, 0};
            const int ready = poll(&pfd, 1, static_cast<int>(left));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return 0;
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return 0;
            text.append(buffer, static_cast<size_t>(n));
        }
        return std::stoll(text);
    }

    Process process_;
    long long launchedNs_ = 0;
    long long paintedNs_ = 0;
};

// utime + stime of the whole process, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');  // the command name may hold blanks
    if (close == std::string::npos)
        return NAN;
    std::istringstream fields(text.substr(close + 2));
    std::string f;
    unsigned long long utime = 0, stime = 0;
    // Fields after the name start at 3 (state); utime is 14 and stime 15.
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14)
            utime = std::stoull(f);
        if (i == 15)
            stime = std::stoull(f);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Run time of every thread, from the scheduler's nanosecond counters.
double scheduledSeconds(pid_t pid)
{
    double total = 0;
    std::error_code ec;
    for (const auto &task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream in(task.path() / "schedstat");
        unsigned long long ns = 0;
        if (in >> ns)
            total += static_cast<double>(ns) / 1e9;
    }
    return total;
}

// A field of /proc/<pid>/status in KiB (VmHWM, VmRSS).
double statusKiB(pid_t pid, const std::string &field)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field + ":", 0) == 0)
            return std::stod(line.substr(field.size() + 1));
    return NAN;
}

struct Idle {
    double cpuMsPerS = NAN;  // from /proc/<pid>/stat
    double schedMsPerS = NAN;  // the same from the nanosecond counters
    double serverMsPerS = NAN;  // the X server's, over the same time
    double hwmKiB = NAN;
};

Idle measureIdle(const std::vector<std::string> &argv, const std::vector<std::string> &env, int seconds, pid_t server)
{
    Idle r;
    Measured m;
    if (!m.start(argv, env, false))
        return r;
    std::this_thread::sleep_for(std::chrono::seconds(1));  // start-up work is not idle cost
    const pid_t pid = m.process().pid();
    const auto t0 = Clock::now();
    const double cpu0 = cpuSeconds(pid), sched0 = scheduledSeconds(pid);
    const double srv0 = server > 0 ? cpuSeconds(server) : NAN;
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu1 = cpuSeconds(pid), sched1 = scheduledSeconds(pid);
    const double srv1 = server > 0 ? cpuSeconds(server) : NAN;
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    r.cpuMsPerS = (cpu1 - cpu0) * 1000 / wall;
    r.schedMsPerS = (sched1 - sched0) * 1000 / wall;
    r.serverMsPerS = (srv1 - srv0) * 1000 / wall;
    r.hwmKiB = statusKiB(pid, "VmHWM");
    m.process().terminate();
    return r;
}

double peakKiB(const std::vector<std::string> &argv, const std::vector<std::string> &env)
{
    Measured m;
    if (!m.start(argv, env, false))
        return NAN;
    std::this_thread::sleep_for(milliseconds(500));
    const double kib = statusKiB(m.process().pid(), "VmHWM");
    m.process().terminate();
    return kib;
}

// Start-up times of several programs, in ms, one list per program.
struct Startup {
    std::vector<std::vector<double>> times;
    int failures = 0;
};

// The programs take turns, each round in a rotated order, so that drift in
// the machine's state falls on all of them alike.
Startup measureStartup(const std::vector<std::vector<std::string>> &programs, const std::vector<std::string> &env,
                       int runs)
{
    Startup s;
    s.times.resize(programs.size());
    auto once = [&](const std::vector<std::string> &argv, std::vector<double> *into) {
        Measured m;
        if (m.start(argv, env, true) && m.process().wait(milliseconds(10000)) == std::optional<int>(0)) {
            if (into)
                into->push_back(m.startupMs());
        } else {
            ++s.failures;
        }
    };
    for (const auto &argv : programs)
        once(argv, nullptr);  // warm the file and font caches
    for (int i = 0; i < runs; ++i)
        for (size_t k = 0; k < programs.size(); ++k) {
            const size_t p = (k + static_cast<size_t>(i)) % programs.size();
            once(programs[p], &s.times[p]);
        }
    return s;
}

std::string fmt(double v, int decimals = 1)
{
    if (std::isnan(v))
        return "n/a";
    char b[64];
    std::snprintf(b, sizeof b, "%.*f", decimals, v);
    return b;
}

std::string verdict(bool met) { return met ? "met" : "MISSED"; }

struct Row {
    std::string what, app, bare, compare, target, result;
};

void printTable(const std::vector<Row> &rows)
{
    const Row head{"Measure", "config", "bare window", "comparison", "target", "result"};
    std::vector<size_t> w(6, 0);
    auto cells = [](const Row &r) {
        return std::vector<std::string>{r.what, r.app, r.bare, r.compare, r.target, r.result};
    };
    for (const Row &r : rows) {
        const auto c = cells(r);
        for (size_t i = 0; i < 6; ++i)
            w[i] = std::max(w[i], c[i].size());
    }
    for (size_t i = 0; i < 6; ++i)
        w[i] = std::max(w[i], cells(head)[i].size());
    auto line = [&](const Row &r) {
        const auto c = cells(r);
        std::string out = "|";
        for (size_t i = 0; i < 6; ++i)
            out += " " + c[i] + std::string(w[i] - c[i].size(), ' ') + " |";
        std::cout << out << "\n";
    };
    line(head);
    std::string rule = "|";
    for (size_t i = 0; i < 6; ++i)
        rule += std::string(w[i] + 2, '-') + "|";
    std::cout << rule << "\n";
    for (const Row &r : rows)
        line(r);
}

bool parse(int argc, char **argv, Options &o)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string k = argv[i], v = argv[i + 1];
        if (k == "--app")
            o.app = v;
        else if (k == "--bare")
            o.bare = v;
        else if (k == "--plugins")
            o.plugins = v;
        else if (k == "--runs")
            o.runs = std::max(1, std::stoi(v));
        else if (k == "--idle")
            o.idleSeconds = std::max(1, std::stoi(v));
        else if (k == "--build-type")
            o.buildType = v;
        else
            return false;
    }
    return !o.app.empty() && !o.bare.empty() && !o.plugins.empty();
}

}  // namespace

int main(int argc, char **argv)
{
    Options o;
    if (!parse(argc, argv, o)) {
        std::cerr << "usage: bench_runner --app PATH --bare PATH --plugins DIR [--runs N] [--idle SECONDS]"
                     " [--build-type NAME]\n";
        return 2;
    }

    // Both programs run from one fresh game folder.
    TempDir home("trelvane-bench");
    TempDir runtime("trelvane-bench-runtime");
    const fs::path game = fs::path(home.path()) / "game";
    fs::create_directories(game / "data");
    fs::copy_file(o.app, game / "config");
    fs::copy_file(o.bare, game / "bare_window");
    writeFile(game / "default.cfg", settingsAtSpeed(40));
    writeFile(game / "data/defaultscores.dat", "AAA 5000\r\n");
    writeFile(game / "data/highscores.dat", "AAA 5000\r\n");
    const std::vector<std::string> app = {(game / "config").string()};
    const std::vector<std::string> bare = {(game / "bare_window").string()};
    const std::vector<std::string> bareText = {bare[0], "text"};
    const std::vector<std::string> bareTimer = {bare[0], "timer"};
    const std::vector<std::string> bareLabel = {bare[0], "label"};
    auto useSpeed = [&](int speed) { writeFile(game / "trelvane.cfg", settingsAtSpeed(speed)); };
    useSpeed(40);

    auto envFor = [&](const std::string &platform, const std::string &display) {
        EnvChanges changes = {{"QT_QPA_PLATFORM", platform},
                              {"QT_PLUGIN_PATH", o.plugins},
                              {"QT_QPA_GENERIC_PLUGINS", "trelvanefirstpaint"},
                              {"XDG_RUNTIME_DIR", runtime.path()},
                              {"DISPLAY", std::nullopt}};
        if (!display.empty())
            changes["DISPLAY"] = display;
        return environmentWith(changes);
    };

    std::vector<Row> rows;
    auto range = [](const std::vector<double> &v) {
        return v.empty()
                   ? std::string("n/a")
                   : fmt(*std::min_element(v.begin(), v.end())) + " .. " + fmt(*std::max_element(v.begin(), v.end()));
    };
    auto startupRows = [&](const std::string &label, const Startup &s) {
        const double a = median(s.times[0]), b = median(s.times[1]), t = median(s.times[2]);
        std::string note = s.failures ? " (" + std::to_string(s.failures) + " failed runs)" : "";
        rows.push_back({"Start-up to first frame, " + label + ", median ms", fmt(a), fmt(b),
                        "ratio " + fmt(a / b, 2) + note, "ratio <= 1.15", verdict(a / b <= 1.15)});
        rows.push_back({"  spread (min .. max ms)", range(s.times[0]), range(s.times[1]), "", "", ""});
        rows.push_back(
            {"  reference: bare window + one label", "", fmt(t), "ratio " + fmt(t / b, 2) + " to bare", "", ""});
    };

    std::cerr << "start-up, offscreen: " << o.runs << " runs each...\n";
    const auto offEnv = envFor("offscreen", "");
    startupRows("offscreen", measureStartup({app, bare, bareText}, offEnv, o.runs));
    const double offApp = peakKiB(app, offEnv), offBare = peakKiB(bare, offEnv);

    XvfbServer xvfb;
    const bool haveX = onPath("Xvfb") && xvfb.start();
    if (haveX) {
        const auto xEnv = envFor("xcb", xvfb.display());
        std::cerr << "start-up, Xvfb " << xvfb.display() << ": " << o.runs << " runs each...\n";
        startupRows("Xvfb", measureStartup({app, bare, bareText}, xEnv, o.runs));
        std::cerr << "idle cost, " << o.idleSeconds
                  << " s each: speed 1, speed 320, bare window moving a label, bare + timer...\n";
        useSpeed(1);
        const Idle idle1 = measureIdle(app, xEnv, o.idleSeconds, xvfb.pid());
        useSpeed(320);
        const Idle idle320 = measureIdle(app, xEnv, o.idleSeconds, xvfb.pid());
        useSpeed(40);
        const Idle idleBare = measureIdle(bare, xEnv, o.idleSeconds, xvfb.pid());
        const Idle idleLabel = measureIdle(bareLabel, xEnv, o.idleSeconds, xvfb.pid());
        const Idle idleTimer = measureIdle(bareTimer, xEnv, o.idleSeconds, xvfb.pid());

        // Against the bare window moving one label (the reference column).
        auto idleRow = [&](const std::string &label, const Idle &r) {
            const double ratio = r.schedMsPerS / idleLabel.schedMsPerS;
            rows.push_back({"Idle CPU, Xvfb, " + label + ", ms per s (bare: moving a label)", fmt(r.cpuMsPerS, 2),
                            fmt(idleLabel.cpuMsPerS, 2),
                            "ratio " + fmt(ratio, 2) + " (ns counters " + fmt(r.schedMsPerS, 2) + " vs " +
                                fmt(idleLabel.schedMsPerS, 2) + "); X server " + fmt(r.serverMsPerS, 2),
                            "ratio <= 1.10", verdict(ratio <= 1.10)});
        };
        idleRow("speed 1", idle1);
        idleRow("speed 320", idle320);
        rows.push_back({"  reference: bare window + idle 25 ms timer", "", fmt(idleTimer.cpuMsPerS, 2),
                        "ns counters " + fmt(idleTimer.schedMsPerS, 2), "", ""});
        rows.push_back({"  reference: bare window, nothing moving", "", fmt(idleBare.cpuMsPerS, 2),
                        "ns counters " + fmt(idleBare.schedMsPerS, 2), "", ""});
        const double mib = (idle1.hwmKiB - idleBare.hwmKiB) / 1024;
        rows.push_back({"Peak RSS (VmHWM), Xvfb, MiB", fmt(idle1.hwmKiB / 1024), fmt(idleBare.hwmKiB / 1024),
                        "+" + fmt(mib) + " MiB", "<= +10 MiB", verdict(mib <= 10)});
    } else {
        rows.push_back({"Xvfb rows", "skipped", "", xvfb.error().empty() ? "Xvfb not found" : xvfb.error(), "", ""});
    }
    const double offMib = (offApp - offBare) / 1024;
    rows.push_back({"Peak RSS (VmHWM), offscreen, MiB", fmt(offApp / 1024), fmt(offBare / 1024),
                    "+" + fmt(offMib) + " MiB", "<= +10 MiB", verdict(offMib <= 10)});

    const auto size = fs::file_size(o.app);
    const fs::path stripped = fs::path(home.path()) / "config.stripped";
    const RunResult strip = run({"strip", "-o", stripped.string(), o.app}, environmentWith({}), milliseconds(30000));
    const std::string strippedSize =
        strip.status == std::optional<int>(0) ? std::to_string(fs::file_size(stripped)) + " stripped" : "";
    rows.push_back({"Executable size, bytes (" + o.buildType + ")", std::to_string(size), "", strippedSize, "", ""});

    std::cout << "\nTrelvane Configuration Utility benchmarks: " << o.runs << " interleaved start-up runs per program"
              << ", idle over " << o.idleSeconds << " s, " << std::thread::hardware_concurrency() << " CPUs\n\n";
    printTable(rows);
    return 0;
}
