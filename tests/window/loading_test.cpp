// Opening the window on a settings file: values, pictures, key selections.
#include <random>

#include "keys/keycatalogue.h"
#include "logicfixture.h"

namespace trelvane::testing {
namespace {

Lines linesWith(std::initializer_list<std::pair<int, const char *>> changes)
{
    Lines lines = designTimeLines();
    for (const auto &[line, value] : changes)
        lines[line - 1] = value;
    return lines;
}

TEST_F(LogicTest, DesignTimeFileShowsPictureZeroEverywhereWithoutAnyHandler)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    // Only the key lists, empty until now, were given a value.
    for (const int r : view.valuesSet)
        EXPECT_EQ(WindowLayout[r].kind, ControlKind::ComboBox) << WindowLayout[r].name;
    for (const Preview &p : Previews)
        EXPECT_EQ(shown(p.group), std::vector<int>{0}) << p.group;
    EXPECT_TRUE(view.visible);
}

struct PictureCase {
    int line;
    const char *value;
    std::string group;
    int picture;
};

TEST_F(LogicTest, EachLoadedValueShowsItsOnePicture)
{
    const std::vector<PictureCase> cases = {
        {1, "0", "imgSphereDetail", 0},
        {1, "8", "imgSphereDetail", 8},
        {1, "2.5", "imgSphereDetail", 2},
        {1, "3.5", "imgSphereDetail", 4},
        {2, "6", "imgOdoDetail", 0},
        {2, "12", "imgOdoDetail", 6},
        {3, "1", "imgFPS", 1},
        {8, "1", "imgTransparency", 1},
        {14, "1", "imgParticles", 1},
        {14, "2", "imgParticles", 1},
        {14, "0", "imgParticles", 0},
    };
    for (const PictureCase &c : cases) {
        SCOPED_TRACE(std::string("line ") + std::to_string(c.line) + " = " + c.value);
        ASSERT_TRUE(open(cfg(linesWith({{c.line, c.value}}))));
        EXPECT_EQ(shown(c.group), std::vector<int>{c.picture});
    }
}

TEST_F(LogicTest, AnyValidFileLeavesExactlyTheRightPictureInEveryGroup)
{
    std::mt19937 random(20261207);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int round = 0; round < 60; ++round) {
        const int sphere = pick(0, 8), odo = pick(6, 12), particles = pick(0, 2);
        std::array<int, 6> toggles{};
        for (int &t : toggles)
            t = pick(0, 1);
        Lines lines = designTimeLines();
        lines[0] = std::to_string(sphere);
        lines[1] = std::to_string(odo);
        for (int i = 0; i < 6; ++i)
            lines[2 + i] = std::to_string(toggles[i]);
        lines[8] = std::to_string(pick(1, 320));
        lines[13] = std::to_string(particles);
        SCOPED_TRACE(cfg(lines));
        ASSERT_TRUE(open(cfg(lines)));

        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{sphere});
        EXPECT_EQ(shown("imgOdoDetail"), std::vector<int>{odo - 6});
        const char *pairs[] = {"imgFPS", "imgScore", "imgLevel", "imgMask", "imgMirror", "imgTransparency"};
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(shown(pairs[i]), std::vector<int>{toggles[i]}) << pairs[i];
        EXPECT_EQ(shown("imgParticles"), std::vector<int>{particles == 0 ? 0 : 1});
    }
}

TEST_F(LogicTest, ControlsHoldTheLoadedValues)
{
    ASSERT_TRUE(open(cfg({"3", "9", "1", "0", "1", "0", "1", "0", "40", "2", ".29", "1", "0.57", "2", "203", "205",
                          "57", "51", "179"})));
    EXPECT_EQ(value("sldSphereDetail"), 3);
    EXPECT_EQ(value("sldOdoDetail"), 9);
    EXPECT_EQ(value("sldMsgTrans"), 40);
    EXPECT_EQ(value("sldSound"), 29);
    EXPECT_EQ(value("sldMusic"), 57);
    EXPECT_EQ(value("chkSound"), 2);  // grayed
    EXPECT_EQ(value("chkMusic"), 1);
    EXPECT_EQ(value("chkParticles"), 2);
    EXPECT_EQ(KeyCatalogue[value("cmbKeys(0)")].name, "Left");
    EXPECT_EQ(KeyCatalogue[value("cmbKeys(1)")].name, "Right");
    EXPECT_EQ(KeyCatalogue[value("cmbKeys(2)")].name, "Space");
    EXPECT_EQ(value("cmbKeys(3)"), 50);
    EXPECT_EQ(value("cmbKeys(4)"), 114);
}

TEST_F(LogicTest, UnknownOrMissingKeyCodesShowEscape)
{
    ASSERT_TRUE(open(cfg(linesWith({{15, "0"}, {16, "84"}, {17, "257"}, {18, "-1"}, {19, "jump"}}))));
    for (int slot = 0; slot < 5; ++slot)
        EXPECT_EQ(value("cmbKeys(" + std::to_string(slot) + ")"), 0) << slot;
}

struct BadFile {
    const char *what;
    std::string bytes;  // empty: no file at all
    std::string mustMention;
    bool pipe = false;  // a named pipe under the file's name
};

struct FactoryFile {
    const char *what;
    std::string bytes;  // empty: no file at all
    std::string written;  // what OK writes after choosing it; empty: the choice is not offered
    std::string mustMention;  // in the box's extra line when not offered
};

enum class Answer { Close, FactoryThenOk, FactoryThenCancel };

TEST_F(LogicTest, BadSettingsFileIsReportedAndOffersTheFactorySettingsWhenTheyLoad)
{
    Lines abc = designTimeLines();
    abc[3] = "abc";
    Lines range = designTimeLines();
    range[0] = "9";
    Lines empty4 = designTimeLines();
    empty4[3] = "";
    Lines shortFile = designTimeLines();
    shortFile.pop_back();
    const std::vector<BadFile> cases = {
        {"missing", "", "trelvane.cfg"},
        {"not a number", cfg(abc), "line 4 (Complex Score): \"abc\" is not a number."},
        {"out of range", cfg(range), "line 1"},
        {"empty line", cfg(empty4), "line 4"},
        {"18 values", cfg(shortFile), "line 19"},
#ifndef _WIN32
        {"a pipe", "", "is not a regular file", true},
#endif
    };
    const Lines factory = {" 3",  "9", "\"1\"", "",  "1",   "0",   "1",  "0",   "20", "1",
                           "0.8", "0", ".25",   "1", "203", "205", "57", "999", "32", "extra"};
    const Lines written = {"3",  "9", "1",   "0", "1",   "0",   "1",  "0", "20", "1",
                           ".8", "0", ".25", "1", "203", "205", "57", "1", "32"};
    Lines factoryRange = written;
    factoryRange[1] = "13";
    const std::vector<FactoryFile> factories = {
        // Read as Restore Defaults reads it: the blank line 4 is 0, not an error.
        {"good factory file", cfg(factory), cfg(written), {}},
        {"no factory file", "", "", "default.cfg"},
        {"factory out of range", cfg(factoryRange), "", "default.cfg, line 2 (Score Odometer Detail)"},
        {"factory too short", "3\r\n9\r\n", "", "default.cfg, line 3"},
    };
    for (const FactoryFile &f : factories) {
        fs::remove(dir / "default.cfg");
        if (!f.bytes.empty())
            writeFile("default.cfg", f.bytes);
        // What Restore Defaults makes of the same file, from the same starting state.
        fs::remove(dir / "trelvane.cfg");  // the last case leaves a pipe
        ASSERT_TRUE(open(cfg(designTimeLines())));
        click("cmdRestore");
        const std::vector<int> restored = snapshot();
        const bool offered = !f.written.empty();

        for (const BadFile &c : cases) {
            for (Answer answer : {Answer::Close, Answer::FactoryThenOk, Answer::FactoryThenCancel}) {
                SCOPED_TRACE(std::string(f.what) + ", " + c.what + ", answer " + std::to_string(int(answer)));
                fs::remove(dir / "trelvane.cfg");
                if (!c.bytes.empty())
                    writeFile("trelvane.cfg", c.bytes);
#ifndef _WIN32
                if (c.pipe)
                    makePipe(dir / "trelvane.cfg");
#endif
                const bool opened = openExisting(answer != Answer::Close);
                ASSERT_EQ(view.errors.size(), 1u);
                const std::string &message = view.errors[0];
                EXPECT_TRUE(contains(message, "trelvane.cfg")) << message;
                EXPECT_TRUE(contains(message, c.mustMention)) << message;
                EXPECT_FALSE(contains(message, ":):")) << message;
                EXPECT_EQ(view.factoryOffers, std::vector<bool>{offered});
                if (!offered) {
                    const std::string extraLine = message.substr(message.find('\n') + 1);
                    EXPECT_EQ(extraLine.rfind("The factory settings cannot be used either: ", 0), 0u) << message;
                    EXPECT_TRUE(contains(extraLine.substr(0, extraLine.find('\n')), f.mustMention)) << message;
                }

                const bool useFactory = offered && answer != Answer::Close;
                EXPECT_EQ(opened, useFactory);
                EXPECT_EQ(view.timerMs, useFactory ? TransitionIntervalMs : 0);
                const std::string untouched = c.bytes.empty() ? "<unreadable>" : c.bytes;
                EXPECT_EQ(readFile("trelvane.cfg"), untouched);
                EXPECT_EQ(readFile("default.cfg"), f.bytes.empty() ? "<unreadable>" : f.bytes);
                if (!useFactory)
                    continue;
                EXPECT_EQ(snapshot(), restored);
                if (c.pipe) {  // nothing can replace it; saving onto it is refused elsewhere
                    click("cmdCancel");
                    continue;
                }
                if (answer == Answer::FactoryThenOk) {
                    click("cmdOK");
                    EXPECT_EQ(readFile("trelvane.cfg"), f.written);
                } else {
                    click("cmdCancel");
                    EXPECT_EQ(readFile("trelvane.cfg"), untouched);
                }
                EXPECT_FALSE(view.visible);
                EXPECT_EQ(view.closedWith, 0);
            }
        }
    }
}

}  // namespace
}  // namespace trelvane::testing
