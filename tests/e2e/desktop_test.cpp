// The built utility in a real X server, driven from outside as a player
// would: keys through xdotool, the close box through WM_DELETE_WINDOW. Every
// case runs against the Linux program and against config.exe under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "process.h"
#include "xclient.h"
#include "xvfb.h"

namespace trelvane::desktop {
namespace {

namespace fs = std::filesystem;
using Window = WindowId;

const std::string Title = "Trelvane Configuration Utility";
const std::string TitlePattern = "^" + Title + "$";
const std::string ConfirmPattern = "^Reset Confirmation$";
constexpr int WindowWidth = 668;
constexpr int WindowHeight = 530;
// Every wait ends by this; a healthy run needs a fraction of it.
constexpr milliseconds Patience(10000);

std::string cfg(const std::vector<std::string> &lines)
{
    std::string out;
    for (const std::string &l : lines)
        out += l + "\r\n";
    return out;
}

// Holds values that the writer puts out in another form, an unknown key code and a line too many.
const std::string MessySettings = "2.5\r\n 9\r\n\"1\"\r\n0\r\n1\r\n0\r\n1\r\n1\r\n7\r\n1\r\n0.5\r\n0\r\n.07\r\n1\r\n"
                                  "203\r\n205\r\n57\r\n999\r\n32\r\nextra\r\n";
const std::string MessySettingsWritten =
    cfg({"2", "9", "1", "0", "1", "0", "1", "1", "7", "1", ".5", "0", ".07", "1", "203", "205", "57", "1", "32"});
const std::string PlainSettings =
    cfg({"3", "8", "1", "1", "1", "0", "1", "0", "40", "1", ".75", "1", ".5", "1", "203", "205", "57", "30", "32"});
const std::string FactorySettings =
    cfg({"4", "10", "0", "1", "1", "1", "1", "1", "120", "1", ".8", "1", ".6", "1", "30", "32", "57", "16", "18"});
// The programs the table drives; one that is not built here is skipped.
struct Build {
    std::string name;
    std::string program;
    std::string fileName;  // in the game folder
    bool wine;
};

void PrintTo(const Build &b, std::ostream *out) { *out << b.name; }

// The test command points TRELVANE_WINDOWS_CONFIG_EXE at the 32-bit config.exe where
// this machine can start it; otherwise the 64-bit twin runs.
std::string windowsProgram()
{
    const char *chosen = std::getenv("TRELVANE_WINDOWS_CONFIG_EXE");
    return chosen && *chosen ? chosen : TRELVANE_WINDOWS_CONFIG_EXE;
}

const Build Builds[] = {
    {"Linux", TRELVANE_CONFIG_EXE, "config", false},
    {"Wine", windowsProgram(), "config.exe", true},
};

const std::string DefaultScores = "AAA 5000\r\nBBB 4000\r\nCCC 3000";
const std::string OldScores = "ZZZ 99999\r\n";

class DesktopTest : public ::testing::TestWithParam<Build> {
protected:
    void SetUp() override
    {
        if (!onPath("Xvfb") || !onPath("xdotool"))
            GTEST_SKIP() << "Xvfb and xdotool are needed for the desktop tests";
        if (GetParam().program.empty() || !fs::exists(GetParam().program) ||
            (GetParam().wine && !fs::exists(TRELVANE_WINE)))
            GTEST_SKIP() << "no " << GetParam().name << " build here (scripts/build-windows.sh makes config.exe)";
        ASSERT_TRUE(xvfb_.start()) << xvfb_.error();
        ASSERT_FALSE(runtime_.path().empty());
        ASSERT_FALSE(home_.path().empty());
        // Not ASCII, so that the way from the executable to its files holds any name.
        makeGame(fs::path(home_.path()) / "Spiel \xc3\xbc \xe2\x98\x83");

        env_ = environmentWith({{"DISPLAY", xvfb_.display()},
                                {"XDG_RUNTIME_DIR", runtime_.path()},
                                {"QT_QPA_PLATFORM", "xcb"},
                                {"QT_QPA_PLATFORMTHEME", std::nullopt},
                                {"QT_PLUGIN_PATH", std::nullopt},
                                {"QT_QPA_GENERIC_PLUGINS", std::nullopt},
                                // In a sanitizer build the leak check's tracer crashes now and then
                                // at the exit of a program on a real X server; the window tests
                                // check leaks in-process instead.
                                {"ASAN_OPTIONS", "detect_leaks=0"},
                                {"WINEPREFIX", TRELVANE_WINEPREFIX},
                                {"WINELOADER", TRELVANE_WINE},
                                {"WINEDEBUG", "-all"},
                                {"WINEDLLOVERRIDES", "mscoree,mshtml="}});
        x_ = std::make_unique<XClient>(xvfb_.display());
        ASSERT_TRUE(x_->connected()) << "cannot connect to " << xvfb_.display();
    }

    void TearDown() override
    {
        if (fs::exists(game_))
            fs::permissions(game_, fs::perms::owner_all, fs::perm_options::add);
        app_.terminate();
        if (scale_ != 100)
            useScale(100);  // the Wine prefix serves the next cases
        // The Wine server outlives its programs by a few seconds, with a desktop process
        // on this case's X server; the next case's program, started while that desktop
        // dies with its server, finds no desktop and cannot open a window. So it ends here.
        if (GetParam().wine && !env_.empty()) {
            run({"wineserver", "-k"}, env_, Patience);
            run({"wineserver", "-w"}, env_, Patience);
        }
        if (outputPipe_ >= 0)
            close(outputPipe_);
    }

    // A game folder with the utility copied alone into it.
    void makeGame(const fs::path &folder)
    {
        game_ = folder;
        fs::create_directories(game_ / "data");
        fs::copy_file(GetParam().program, game_ / GetParam().fileName);
        write("default.cfg", FactorySettings);
        write("data/defaultscores.dat", DefaultScores);
        write("data/highscores.dat", OldScores);
    }

    void write(const std::string &name, const std::string &bytes) const
    {
        std::ofstream(game_ / name, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::string read(const std::string &name) const
    {
        std::ifstream in(game_ / name, std::ios::binary);
        if (!in)
            return "<missing>";
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    std::string log() const
    {
        std::ifstream in(fs::path(home_.path()) / "config.log");
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    // fileSizeLimit: as `ulimit -f`; the output then goes to a pipe, which the limit does not stop.
    void launch(std::optional<rlim_t> fileSizeLimit = {})
    {
        Process::Options options;
        options.env = env_;
        options.outputFile = (fs::path(home_.path()) / "config.log").string();
        options.fileSizeLimit = fileSizeLimit;
        int output[2] = {-1, -1};
        if (fileSizeLimit) {
            ASSERT_EQ(pipe2(output, O_CLOEXEC | O_NONBLOCK), 0);
            options.outputFd = output[1];
        }
        std::vector<std::string> argv = {(game_ / GetParam().fileName).string()};
        if (GetParam().wine)
            argv.insert(argv.begin(), TRELVANE_WINE);
        ASSERT_TRUE(app_.start(argv, options)) << app_.error();
        if (fileSizeLimit) {
            close(output[1]);
            outputPipe_ = output[0];
        }
    }

    void xdotool(std::vector<std::string> args)
    {
        args.insert(args.begin(), "xdotool");
        const RunResult r = run(args, env_, Patience);
        ASSERT_EQ(r.status, std::optional<int>(0)) << "xdotool " << args[1] << " failed";
    }

    // Visible windows whose name matches, as xdotool lists them.
    std::vector<Window> windows(const std::string &pattern)
    {
        const RunResult r = run({"xdotool", "search", "--onlyvisible", "--name", pattern}, env_, Patience);
        std::vector<Window> out;
        std::istringstream lines(r.output);
        for (std::string line; std::getline(lines, line);)
            if (const Window w = std::strtoul(line.c_str(), nullptr, 10))
                out.push_back(w);
        return out;
    }

    bool isMainSize(Window w)
    {
        int width = 0, height = 0;
        return x_->size(w, width, height) && width == WindowWidth * scale_ / 100 &&
               height == WindowHeight * scale_ / 100;
    }

    // The window at this percentage of its size, from the next start on: Qt's scale
    // factor for the Linux program, Wine's screen DPI for config.exe.
    void useScale(int percent)
    {
        scale_ = percent;
        if (!GetParam().wine) {
            std::erase_if(env_, [](const std::string &v) { return v.rfind("QT_SCALE_FACTOR=", 0) == 0; });
            env_.push_back("QT_SCALE_FACTOR=" + std::to_string(percent / 100.0));
            return;
        }
        const RunResult r = run({TRELVANE_WINE, "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                                 "REG_DWORD", "/d", std::to_string(96 * percent / 100), "/f"},
                                env_, Patience);
        ASSERT_EQ(r.status, std::optional<int>(0)) << r.output;
    }

    // Runs the Windows test probe on the running config.exe; its output, CR LF made LF.
    std::string probe(const std::vector<std::string> &args)
    {
        if (!fs::exists(TRELVANE_WINDOWS_PROBE)) {
            ADD_FAILURE() << "no " << TRELVANE_WINDOWS_PROBE << ": scripts/build-windows.sh makes it";
            return {};
        }
        std::vector<std::string> argv = {TRELVANE_WINE, TRELVANE_WINDOWS_PROBE};
        argv.insert(argv.end(), args.begin(), args.end());
        const RunResult r = run(argv, env_, Patience);
        EXPECT_EQ(r.status, std::optional<int>(0)) << "windowprobe " << args.front() << ": " << r.output;
        std::string out = r.output;
        std::erase(out, '\r');
        return out;
    }

    // What the screen shows of the window, less the strip's band, where the messages move.
    std::vector<std::uint32_t> stillPixels(Window w)
    {
        const int width = WindowWidth * scale_ / 100, height = WindowHeight * scale_ / 100;
        std::vector<std::uint32_t> px = x_->pixels(w, 0, 0, width, height);
        const int stripTop = 5040 * scale_ / 1500, stripBottom = 5445 * scale_ / 1500 + 1;
        if (px.size() == static_cast<std::size_t>(width) * height)
            px.erase(px.begin() + stripTop * width, px.begin() + std::min(stripBottom, height) * width);
        return px;
    }

    // The window's pixels once two looks in a row agree: the painting that was due is done.
    std::vector<std::uint32_t> settledPixels(Window w)
    {
        std::vector<std::uint32_t> before = stillPixels(w), now;
        const auto deadline = Clock::now() + Patience;
        while ((now = stillPixels(w)) != before && Clock::now() < deadline)
            before = now;
        return now;
    }

    // How many pixel rows a caption's text takes in a rectangle (twips at the window's
    // scale): from its first row with a dark pixel to its last; 0 where there is none,
    // -1 while the window is still unpainted (no light pixel yet).
    int textRows(Window w, int left, int top, int right, int bottom)
    {
        const int x = left * scale_ / 1500, y = top * scale_ / 1500;
        const int width = right * scale_ / 1500 - x, height = bottom * scale_ / 1500 - y;
        const std::vector<std::uint32_t> px = x_->pixels(w, x, y, width, height);
        int first = -1, last = -1;
        bool light = false;
        for (std::size_t i = 0; i < px.size(); ++i) {
            const std::uint32_t r = px[i] >> 16, g = (px[i] >> 8) & 0xff, b = px[i] & 0xff;
            light = light || r + g + b > 3 * 192;
            if (r + g + b < 3 * 128) {
                const int row = static_cast<int>(i) / width;
                first = first < 0 ? row : first;
                last = row;
            }
        }
        return !light ? -1 : first < 0 ? 0 : last - first + 1;
    }

    // Polls until pred holds for the listed windows; false at the deadline.
    template <typename Pred> bool waitFor(const std::string &pattern, Pred pred, std::vector<Window> *found = nullptr)
    {
        const auto deadline = Clock::now() + Patience;
        do {
            std::vector<Window> ws = windows(pattern);
            if (pred(ws)) {
                if (found)
                    *found = ws;
                return true;
            }
            std::this_thread::sleep_for(milliseconds(30));
        } while (Clock::now() < deadline);
        return false;
    }

    // The utility's own window: the one of its name at its fixed size.
    Window mainWindow()
    {
        Window main = 0;
        waitFor(TitlePattern, [&](const std::vector<Window> &ws) {
            for (Window w : ws)
                if (isMainSize(w))
                    main = w;
            return main != 0;
        });
        return main;
    }

    // The error box: a second window with the utility's name, not of the main window's size.
    Window errorBox()
    {
        Window box = 0;
        waitFor(TitlePattern, [&](const std::vector<Window> &ws) {
            for (Window w : ws)
                if (!isMainSize(w))
                    box = w;
            return box != 0;
        });
        return box;
    }

    bool errorBoxGone()
    {
        return waitFor(TitlePattern, [&](const std::vector<Window> &ws) {
            return std::all_of(ws.begin(), ws.end(), [&](Window w) { return isMainSize(w); });
        });
    }

    Window confirmBox()
    {
        std::vector<Window> ws;
        return waitFor(
                   ConfirmPattern, [](const std::vector<Window> &l) { return !l.empty(); }, &ws)
                   ? ws.front()
                   : 0;
    }

    bool confirmBoxGone()
    {
        return waitFor(ConfirmPattern, [](const std::vector<Window> &l) { return l.empty(); });
    }

    // Gives a window the keyboard (there is no window manager to do it) and types.
    void type(Window w, const std::vector<std::string> &keys)
    {
        ASSERT_NE(w, 0u);
        xdotool({"windowfocus", "--sync", std::to_string(w)});
        std::vector<std::string> args = {"key", "--delay", "30"};
        args.insert(args.end(), keys.begin(), keys.end());
        xdotool(args);
    }

    // OK that cannot save: the error box comes, Return dismisses it, the window stays.
    void okShowsAnErrorAndTheWindowStays(Window main)
    {
        type(main, {"alt+o"});
        const Window box = errorBox();
        ASSERT_NE(box, 0u) << log();
        type(box, {"Return"});
        ASSERT_TRUE(errorBoxGone());
        EXPECT_TRUE(stillRunning());
    }

    // What a window manager sends when the title bar's close box is clicked.
    void clickCloseBox(Window w) { ASSERT_TRUE(x_->sendDeleteWindow(w)); }

    // The exit status, or -1 if the process still runs at the deadline.
    int exitStatus()
    {
        const std::optional<int> status = app_.wait(Patience);
        return status ? *status : -1;
    }

    bool stillRunning()
    {
        std::this_thread::sleep_for(milliseconds(200));  // time to end, if it were going to
        return app_.running();
    }

    // Polls a file until it holds the expected bytes; the write follows the key press.
    bool fileBecomes(const std::string &name, const std::string &bytes)
    {
        const auto deadline = Clock::now() + Patience;
        while (read(name) != bytes) {
            if (Clock::now() >= deadline)
                return false;
            std::this_thread::sleep_for(milliseconds(20));
        }
        return true;
    }

    XvfbServer xvfb_;
    TempDir runtime_{"trelvane-runtime"};
    TempDir home_{"trelvane-e2e"};
    fs::path game_;
    std::vector<std::string> env_;
    std::unique_ptr<XClient> x_;
    Process app_;
    int outputPipe_ = -1;
    int scale_ = 100;  // percent
};

TEST_P(DesktopTest, OkWritesTheSettingsInTheWritersFormAndEnds)
{
    write("trelvane.cfg", MessySettings);
    launch();
    type(mainWindow(), {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), MessySettingsWritten);
}

TEST_P(DesktopTest, KeyboardChangesAreSaved)
{
    // Sphere detail (3) has the focus at start; small step 1, large step 2, range 0 to 8.
    std::vector<std::string> toOk(20, "Tab");  // OK is 21st in focus order; Enter presses the focused button
    toOk.insert(toOk.begin(), "Right");
    toOk.push_back("Return");
    // Enter on Turn Left, then the key: Right Control by its keycode, as
    // xdotool's Control_R presses Left Control first.
    std::vector<std::string> pressRightControl(9, "Tab");
    pressRightControl.insert(pressRightControl.end(), {"Return", "105", "alt+o"});
    const struct {
        std::vector<std::string> keys;
        std::vector<std::pair<std::size_t, char>> changes;  // offsets in PlainSettings, and what stands there after
    } cases[] = {
        {{"Right", "Right", "alt+o"}, {{0, '5'}}},
        {{"Up", "Prior", "alt+o"}, {{0, '6'}}},  // Up and Page Up raise a slider, as Right does
        {{"Next", "Down", "Left", "alt+o"}, {{0, '0'}}},  // and stop at its end
        {{"Tab", "Tab", "space", "alt+o"}, {{9, '0'}}},  // Complex Score, third in focus order
        // Turn Left, tenth in focus order, from Left (203) to the next key in the list, Right (205)
        {{"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Down", "alt+o"}, {{48, '5'}}},
        {toOk, {{0, '4'}}},
        // A letter alone presses no button, on a slider or on a check box; with Alt it does.
        {{"Right", "o", "c", "r", "s", "Tab", "Tab", "space", "o", "c", "r", "s", "alt+o"}, {{0, '4'}, {9, '0'}}},
        // An arrow on a check box moves the focus along the focus order: Down to Complex Level.
        {{"Tab", "Tab", "Down", "space", "alt+o"}, {{12, '0'}}},
        {pressRightControl, {{46, '1'}, {47, '5'}, {48, '7'}}},  // line 15, Turn Left's 203
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.keys));
        write("trelvane.cfg", PlainSettings);
        launch();
        type(mainWindow(), c.keys);
        EXPECT_EQ(exitStatus(), 0) << log();
        std::string expected = PlainSettings;
        for (const auto &[at, value] : c.changes)
            expected[at] = value;
        EXPECT_EQ(read("trelvane.cfg"), expected);
        EXPECT_EQ(read("data/highscores.dat"), OldScores);
    }
}

// A click on a check box, and one on a box's caption, change the setting as Space does.
TEST_P(DesktopTest, ClicksOnABoxAndOnItsCaptionAreSaved)
{
    write("trelvane.cfg", PlainSettings);
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << log();
    // Inside Display FPS's box, then on the caption "Masking:".
    for (const auto &[x, y] : {std::pair{72, 304}, {150, 182}}) {
        xdotool({"mousemove", "--window", std::to_string(main), std::to_string(x), std::to_string(y)});
        xdotool({"click", "1"});
    }
    type(main, {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    std::string expected = PlainSettings;
    expected[6] = '0';  // Display FPS off
    expected[15] = '1';  // Masking on
    EXPECT_EQ(read("trelvane.cfg"), expected);
}

TEST_P(DesktopTest, TheWheelOverAControlWithoutTheFocusChangesNothing)
{
    if (GetParam().wine)
        GTEST_SKIP() << "Wine never sends the wheel to the control under the pointer, as Windows does";
    write("trelvane.cfg", PlainSettings);
    launch();
    const Window main = mainWindow();
    type(main, {"Tab"});  // the focus on Score Odometer Detail: the wheel moves it alone
    // Pixels inside Score Odometer Detail, Jump, Sound Effects volume and Sphere Detail.
    for (const auto &[x, y] : {std::pair{170, 140}, {600, 256}, {400, 400}, {60, 140}}) {
        xdotool({"mousemove", "--window", std::to_string(main), std::to_string(x), std::to_string(y)});
        xdotool({"click", "--repeat", "3", "--delay", "30", "5"});
    }
    type(main, {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    std::string expected = PlainSettings;
    expected[3] = '6';  // odometer 8, two steps a notch down to its least
    EXPECT_EQ(read("trelvane.cfg"), expected);
}

TEST_P(DesktopTest, AtTwiceTheScaleTheTitleBarStaysOnTheScreen)
{
    if (GetParam().wine)
        GTEST_SKIP() << "Qt's scale factor; Wine's scale is set in its registry";
    write("trelvane.cfg", PlainSettings);
    env_.push_back("QT_SCALE_FACTOR=2");  // 1336 x 1060 on the 1280 x 1024 screen
    launch();
    ASSERT_TRUE(waitFor(TitlePattern, [](const std::vector<Window> &ws) { return !ws.empty(); }));
    const RunResult r =
        run({"xdotool", "getwindowgeometry", "--shell", std::to_string(windows(TitlePattern)[0])}, env_, Patience);
    EXPECT_NE(r.output.find("X=0\nY=0\n"), std::string::npos) << r.output;
}

// On a larger scale no caption loses a row: "Message Transition Speed:", whose box reaches
// under the speed slider, is as tall as "Display FPS:", which stands free. Both have
// letters that reach up and letters that reach down.
TEST_P(DesktopTest, CaptionsAreWholeAtLargerScales)
{
    write("trelvane.cfg", PlainSettings);
    for (const int percent : {150, 200}) {
        SCOPED_TRACE(percent);
        useScale(percent);
        launch();
        std::vector<Window> found;
        ASSERT_TRUE(waitFor(
            TitlePattern, [](const std::vector<Window> &ws) { return !ws.empty(); }, &found));
        // Read until the window is painted and two reads agree.
        std::pair<int, int> rows{-1, -1}, before;
        const auto deadline = Clock::now() + Patience;
        do {
            before = rows;
            rows = {textRows(found[0], 240, 4920, 2400, 5160), textRows(found[0], 240, 2640, 2000, 3000)};
        } while ((rows != before || rows.first <= 0 || rows.second <= 0) && Clock::now() < deadline);
        const auto [underSlider, free] = rows;
        EXPECT_GT(free, 0);
        EXPECT_EQ(underSlider, free);
        type(found[0], {"alt+c"});
        EXPECT_EQ(exitStatus(), 0) << log();
    }
}

// A change of DPI while the window is open lays it out as a window started at that DPI
// would be, and paints all of it again.
TEST_P(DesktopTest, AChangeOfDpiLaysOutAndPaintsTheWholeWindow)
{
    if (!GetParam().wine)
        GTEST_SKIP() << "Qt lays out and paints a window on a change of scale itself";
    write("trelvane.cfg", PlainSettings);
    xdotool({"mousemove", "0", "0"});  // no tip over the window
    useScale(150);
    launch();
    ASSERT_NE(mainWindow(), 0u) << log();
    // Wine's drop-down lists size their box from the item height they had when made, and
    // take a new one only partly: their height is left out of the comparison.
    const auto places = [&] {
        return std::regex_replace(probe({"rects"}), std::regex("(ComboBox \\S+ \\S+ \\S+) \\S+"), "$1");
    };
    const std::string startedThere = places();
    type(mainWindow(), {"alt+c"});
    ASSERT_EQ(exitStatus(), 0) << log();

    useScale(100);
    launch();
    ASSERT_NE(mainWindow(), 0u) << log();
    probe({"dpi", "144"});
    scale_ = 150;
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << "the window did not take its size at 144 dpi";
    EXPECT_EQ(places(), startedThere);
    const std::vector<std::uint32_t> painted = settledPixels(main);
    probe({"redraw"});
    EXPECT_TRUE(settledPixels(main) == painted) << "parts of the window were not painted again";
}

// A tip comes over a setting's control and over its picture, and goes when the pointer leaves.
TEST_P(DesktopTest, TipsShowOverAControlAndAPictureAndGoAfter)
{
    write("trelvane.cfg", PlainSettings);
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << log();
    xdotool({"windowfocus", "--sync", std::to_string(main)});  // Qt shows tips on the active window
    const std::vector<Window> before = x_->shown();
    // A shown window that was not there before, with dark text on a light ground.
    const auto tip = [&] {
        for (const Window w : x_->shown()) {
            int width = 0, height = 0;
            if (std::find(before.begin(), before.end(), w) != before.end() || !x_->size(w, width, height))
                continue;
            const std::vector<std::uint32_t> px = x_->pixels(w, 0, 0, width, height);
            const auto sum = [](std::uint32_t p) { return (p >> 16) + ((p >> 8) & 0xff) + (p & 0xff); };
            if (std::any_of(px.begin(), px.end(), [&](auto p) { return sum(p) < 3 * 96; }) &&
                std::any_of(px.begin(), px.end(), [&](auto p) { return sum(p) > 3 * 224; }))
                return w;
        }
        return Window{0};
    };
    // In pixels at 96 dpi: Sphere Detail's slider and picture, and a spot with no tip.
    for (const auto &[x, y] : {std::pair{72, 144}, std::pair{74, 82}}) {
        xdotool({"mousemove", "--window", std::to_string(main), "--sync", "650", "380"});
        Window shown = 0;
        for (const auto end = Clock::now() + Patience; (shown = tip()) != 0 && Clock::now() < end;)
            std::this_thread::sleep_for(milliseconds(30));
        ASSERT_EQ(shown, 0u) << "a tip stays after the pointer has left";
        xdotool({"mousemove", "--window", std::to_string(main), std::to_string(x), std::to_string(y)});
        for (const auto end = Clock::now() + Patience; (shown = tip()) == 0 && Clock::now() < end;)
            std::this_thread::sleep_for(milliseconds(30));
        EXPECT_NE(shown, 0u) << "no tip over " << x << ", " << y;
    }
    type(main, {"alt+c"});
    EXPECT_EQ(exitStatus(), 0) << log();
}

TEST_P(DesktopTest, CancelLeavesTheFileAndEnds)
{
    write("trelvane.cfg", MessySettings);
    launch();
    type(mainWindow(), {"Right", "alt+c"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), MessySettings);
}

TEST_P(DesktopTest, CloseBoxLeavesTheFileAndEnds)
{
    write("trelvane.cfg", MessySettings);
    launch();
    const Window main = mainWindow();
    type(main, {"Right"});
    clickCloseBox(main);
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), MessySettings);
}

// What a Windows screen reader hears of each setting's control, read through MSAA by a
// probe in another process; the Linux window is read over the bus by atspi_names.py.
TEST_P(DesktopTest, ScreenReadersOnWindowsHearEachControlsNameValueAndState)
{
    if (!GetParam().wine)
        GTEST_SKIP() << "MSAA is Windows' own";
    std::string settings = PlainSettings;
    settings.replace(settings.find("\r\n1\r\n203\r\n"), 3, "\r\n2");  // Particles grayed
    write("trelvane.cfg", settings);
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << log();
    std::map<std::string, std::string> expected;  // by name: role, value and state
    for (const std::string said :
         {"Sphere Detail: slider 3", "Score Odometer Detail: slider 8", "Message Transition Speed: slider 40",
          "Sound Effects volume: slider 75", "Background Music volume: slider 50", "Display FPS: check box, checked",
          "Complex Score: check box, checked", "Complex Level: check box, checked", "Masking: check box",
          "Mirror: check box, checked", "Transparency: check box", "Sound Effects: check box, checked",
          "Background Music: check box, checked", "Particles: check box, mixed", "Turn Left: combo box Left",
          "Turn Right: combo box Right", "Jump: combo box Space", "Sharp Left: combo box A",
          "Sharp Right: combo box D"})
        expected[said.substr(0, said.find(':'))] = said.substr(said.find(':') + 2);
    // Each control a reader meets, by name: its role, value and state. A caption met as an
    // object of its own makes its name heard twice.
    const auto hear = [&] {
        std::map<std::string, std::string> heard;
        std::istringstream lines(probe({"msaa"}));
        for (std::string name, said, description;
             std::getline(lines, name, '\t') && std::getline(lines, said, '\t') && std::getline(lines, description);) {
            if (said.find(", invisible") != std::string::npos)
                continue;
            if (description.find_first_not_of('\r') == std::string::npos)
                said += ", without its tooltip's sentence";
            if (expected.count(name))
                heard[name] = heard.count(name) ? "heard twice" : said;
        }
        return heard;
    };
    EXPECT_EQ(hear(), expected);

    type(main, {"Right", "Tab", "Tab", "space"});  // Sphere Detail up one, then Complex Score cleared
    expected["Sphere Detail"] = "slider 4";
    expected["Complex Score"] = "check box";
    std::map<std::string, std::string> heard;
    for (const auto end = Clock::now() + Patience; heard != expected && Clock::now() < end;)
        heard = hear();
    EXPECT_EQ(heard, expected);

    // Enter on Turn Left, seventh from Complex Score: the reader is told what to press.
    type(main, {"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "Return"});
    const std::string prompt = "Turn Left\tcombo box Left\tPress the key for Turn Left; Escape cancels.";
    bool told = false;
    for (const auto end = Clock::now() + Patience; !told && Clock::now() < end;)
        told = probe({"msaa"}).find(prompt) != std::string::npos;
    EXPECT_TRUE(told) << probe({"msaa"});
}

// The sample messages slide through the open part of the strip, between the
// speed slider and the box at the right, and are never seen outside it.
TEST_P(DesktopTest, TheSampleMessagesMoveAcrossTheOpenStripOnly)
{
    std::string settings = PlainSettings;
    settings.replace(settings.find("\r\n40\r\n"), 6, "\r\n5\r\n");  // a first transition of about a second
    write("trelvane.cfg", settings);
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << log();
    // In pixels at 96 dpi: the strip's band, and the open part between slider and box.
    constexpr int Top = 336, Height = 27, OpenLeft = 161, OpenRight = 520;
    // One cycle at speed 5: 45 ticks of transition and 60 of hold, 25 ms each (about 31 under Wine).
    const auto end = Clock::now() + milliseconds(105 * 40);
    std::set<int> seenAt;  // the leftmost yellow column of each sample
    while (Clock::now() < end) {
        const std::vector<std::uint32_t> px = x_->pixels(main, 0, Top, WindowWidth, Height);
        ASSERT_EQ(px.size(), std::size_t{WindowWidth} * Height);
        int left = WindowWidth, right = -1;
        for (std::size_t i = 0; i < px.size(); ++i) {
            const std::uint32_t r = px[i] >> 16, g = (px[i] >> 8) & 0xff, b = px[i] & 0xff;
            if (r >= 200 && g >= 200 && b <= 100) {
                left = std::min(left, static_cast<int>(i % WindowWidth));
                right = std::max(right, static_cast<int>(i % WindowWidth));
            }
        }
        if (right < 0)
            continue;
        ASSERT_GE(left, OpenLeft) << "a message is seen over the speed slider";
        ASSERT_LT(right, OpenRight) << "a message is seen over the box at the right";
        seenAt.insert(left);
    }
    EXPECT_GE(seenAt.size(), 2u) << "the messages stand still";
}

TEST_P(DesktopTest, RestoreDefaultsThenOkWritesTheFactorySettings)
{
    write("trelvane.cfg", PlainSettings);
    launch();
    type(mainWindow(), {"alt+r", "alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), FactorySettings);
}

TEST_P(DesktopTest, MissingSettingsFileShowsTheErrorAndEndsWithoutWriting)
{
    launch();
    ASSERT_NE(mainWindow(), 0u) << "the window is shown before the file is read";
    const Window box = errorBox();
    ASSERT_NE(box, 0u) << log();
    EXPECT_TRUE(app_.running());
    type(box, {"Return"});
    const int status = exitStatus();
    EXPECT_NE(status, 0) << log();
    EXPECT_NE(status, -1) << "still running after the error box was dismissed";
    EXPECT_FALSE(fs::exists(game_ / "trelvane.cfg"));
}

TEST_P(DesktopTest, MalformedSettingsFileEndsWithoutWritingUnlessTheFactorySettingsAreChosen)
{
    const std::string bad = cfg(
        {"3", "8", "1", "yes", "1", "0", "1", "0", "40", "1", ".75", "1", ".5", "1", "203", "205", "57", "30", "32"});
    write("trelvane.cfg", bad);
    for (const char *key : {"Return", "Escape"}) {  // Close is the default and the Escape answer
        SCOPED_TRACE(key);
        launch();
        const Window box = errorBox();
        ASSERT_NE(box, 0u) << log();
        type(box, {key});
        const int status = exitStatus();
        EXPECT_NE(status, 0) << log();
        EXPECT_NE(status, -1) << "still running after the error box was dismissed";
        EXPECT_EQ(read("trelvane.cfg"), bad);
    }

    // Alt+U fills the window from default.cfg; the close box then writes nothing, OK writes it all.
    launch();
    type(errorBox(), {"alt+u"});
    ASSERT_TRUE(errorBoxGone());
    EXPECT_TRUE(stillRunning());
    clickCloseBox(mainWindow());
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), bad);

    launch();
    type(errorBox(), {"alt+u"});
    ASSERT_TRUE(errorBoxGone());
    EXPECT_TRUE(stillRunning());
    EXPECT_EQ(read("trelvane.cfg"), bad);
    type(mainWindow(), {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), FactorySettings);
}

TEST_P(DesktopTest, ResetScoresYesReplacesTheTable)
{
    write("trelvane.cfg", PlainSettings);
    launch();
    const Window main = mainWindow();
    type(main, {"alt+s"});
    type(confirmBox(), {"Return"});  // Yes is the default button
    ASSERT_TRUE(confirmBoxGone());
    EXPECT_TRUE(fileBecomes("data/highscores.dat", DefaultScores + "\r\n"));
    EXPECT_EQ(read("data/highscores.dat").size(), DefaultScores.size() + 2);
    EXPECT_EQ(read("data/defaultscores.dat"), DefaultScores);
    // The reset does not close the window, and Cancel does not undo it.
    EXPECT_TRUE(stillRunning());
    type(main, {"alt+c"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("data/highscores.dat"), DefaultScores + "\r\n");
    EXPECT_EQ(read("trelvane.cfg"), PlainSettings);
}

TEST_P(DesktopTest, ResetScoresNoByItsKeyLeavesTheTable)
{
    write("trelvane.cfg", PlainSettings);
    launch();
    const Window main = mainWindow();
    type(main, {"alt+s"});
    type(confirmBox(), {"n"});
    ASSERT_TRUE(confirmBoxGone());
    EXPECT_TRUE(stillRunning());
    EXPECT_EQ(read("data/highscores.dat"), OldScores);
    type(main, {"alt+c"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("data/highscores.dat"), OldScores);
}

TEST_P(DesktopTest, ResetScoresNoByTabAndReturnLeavesTheTable)
{
    write("trelvane.cfg", PlainSettings);
    launch();
    const Window main = mainWindow();
    type(main, {"alt+s"});
    type(confirmBox(), {"Tab", "Return"});
    ASSERT_TRUE(confirmBoxGone());
    EXPECT_TRUE(stillRunning());
    EXPECT_EQ(read("data/highscores.dat"), OldScores);
    type(main, {"alt+c"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("data/highscores.dat"), OldScores);
}

// A read-only mark on the file is honoured even for root, whom the folder's
// permission bits alone would not stop.
TEST_P(DesktopTest, OkOnAReadOnlyFolderShowsTheErrorAndKeepsTheWindow)
{
    write("trelvane.cfg", MessySettings);
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u);
    const auto noWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(game_ / "trelvane.cfg", noWrite, fs::perm_options::remove);
    fs::permissions(game_, noWrite, fs::perm_options::remove);
    okShowsAnErrorAndTheWindowStays(main);
    EXPECT_EQ(read("trelvane.cfg"), MessySettings);

    fs::permissions(game_, fs::perms::owner_write, fs::perm_options::add);
    fs::permissions(game_ / "trelvane.cfg", fs::perms::owner_write, fs::perm_options::add);
    type(main, {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), MessySettingsWritten);
}

// Fails for every user alike: a folder where the file should be cannot be replaced.
TEST_P(DesktopTest, OkThatCannotWriteShowsTheErrorAndKeepsTheWindow)
{
    write("trelvane.cfg", MessySettings);
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u);
    fs::remove(game_ / "trelvane.cfg");
    fs::create_directory(game_ / "trelvane.cfg");
    okShowsAnErrorAndTheWindowStays(main);
    EXPECT_TRUE(fs::is_directory(game_ / "trelvane.cfg"));

    fs::remove(game_ / "trelvane.cfg");
    type(main, {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), MessySettingsWritten);
}

// Under `ulimit -f 0` every write fails: OK and Reset report it like a full disk, and the window stays.
TEST_P(DesktopTest, FileSizeLimitShowsTheErrorAndKeepsTheWindow)
{
    if (GetParam().wine)
        GTEST_SKIP() << "a POSIX limit: it stops Wine's own server and files, which Windows does not have";
    write("trelvane.cfg", MessySettings);
    launch(0);
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << log();
    okShowsAnErrorAndTheWindowStays(main);
    EXPECT_EQ(read("trelvane.cfg"), MessySettings);

    type(main, {"alt+s"});
    type(confirmBox(), {"Return"});
    ASSERT_TRUE(confirmBoxGone());
    type(errorBox(), {"Return"});
    ASSERT_TRUE(errorBoxGone());
    EXPECT_TRUE(stillRunning()) << log();
    EXPECT_EQ(read("data/highscores.dat"), OldScores);
}

// A real full disk: the game folder on a small file system, filled to the last byte.
TEST_P(DesktopTest, OkOnAFullDiskShowsTheErrorAndKeepsTheOldFile)
{
    const fs::path disk = fs::path(home_.path()) / "disk";
    fs::create_directory(disk);
    // Room for the utility and its files; the rest is filled below.
    const std::string size = "size=" + std::to_string(fs::file_size(GetParam().program) / 1024 + 1024) + "k";
    if (run({"mount", "-t", "tmpfs", "-o", size, "tmpfs", disk.string()}, env_, Patience).status != 0)
        GTEST_SKIP() << "mounting a small file system needs root";
    struct Unmount {
        std::string at;
        std::vector<std::string> env;
        ~Unmount() { run({"umount", "-l", at}, env, Patience); }
    } unmount{disk.string(), env_};
    makeGame(disk / "game");
    write("trelvane.cfg", MessySettings);
    {
        std::ofstream filler(disk / "filler", std::ios::binary);
        const std::string block(64 * 1024, 'x');
        while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) && filler.flush()) {
        }
    }
    launch();
    const Window main = mainWindow();
    ASSERT_NE(main, 0u) << log();

    okShowsAnErrorAndTheWindowStays(main);
    EXPECT_EQ(read("trelvane.cfg"), MessySettings);
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(game_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{GetParam().fileName, "data", "default.cfg", "trelvane.cfg"}))
        << "no temporary file left";

    fs::remove(disk / "filler");
    type(main, {"alt+o"});
    EXPECT_EQ(exitStatus(), 0) << log();
    EXPECT_EQ(read("trelvane.cfg"), MessySettingsWritten);
}

INSTANTIATE_TEST_SUITE_P(Builds, DesktopTest, ::testing::ValuesIn(Builds),
                         [](const ::testing::TestParamInfo<Build> &info) { return info.param.name; });

}  // namespace
}  // namespace trelvane::desktop
