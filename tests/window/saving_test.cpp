// OK writes the controls in the game's form; Cancel writes nothing.
#include <functional>
#include <optional>

#include "failingcalls.h"
#include "logicfixture.h"

namespace trelvane::testing {
namespace {

TEST_F(LogicTest, OkRightAfterOpeningWritesTheLoadedValuesNormalised)
{
    const std::string messy = "2.5\r\n 9\r\n\"1\"\r\n0\n1\r0\r\n1 \r\n0\r\n40\r\n1\r\n0.5\r\n2\r\n.07\r\n1\r\n"
                              "203\r\n205\r\n57\r\n0\r\n33\r\nextra line\r\n";
    ASSERT_TRUE(open(messy));
    click("cmdOK");
    EXPECT_TRUE(view.errors.empty());
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.closedWith, 0);
    EXPECT_EQ(readFile("trelvane.cfg"), cfg({"2", "9", "1", "0", "1", "0", "1", "0", "40", "1", ".5", "2", ".07", "1",
                                             "203", "205", "57", "1", "33"}));
}

TEST_F(LogicTest, CommasInKeyListsSaveAsTheirOwnCodes)
{
    ASSERT_TRUE(open(cfg(designTimeLines())));
    change("cmbKeys(0)", 50);
    change("cmbKeys(1)", 114);
    change("cmbKeys(2)", 143);
    change("cmbKeys(3)", 83);
    click("cmdOK");
    Lines expected = designTimeLines();
    expected.resize(14);
    for (const char *code : {"51", "179", "237", "86", "1"})
        expected.push_back(code);
    EXPECT_EQ(readFile("trelvane.cfg"), cfg(expected));
}

TEST_F(LogicTest, VolumesAreWrittenAsFractions)
{
    struct Case {
        int position;
        std::string line;
    };
    for (const Case &c : {Case{0, "0"}, Case{7, ".07"}, Case{29, ".29"}, Case{50, ".5"}, Case{100, "1"}}) {
        ASSERT_TRUE(open(cfg(designTimeLines())));
        change("sldSound", c.position);
        change("sldMusic", c.position);
        click("cmdOK");
        Lines expected = designTimeLines();
        expected[10] = expected[12] = c.line;
        EXPECT_EQ(readFile("trelvane.cfg"), cfg(expected)) << c.position;
    }
}

TEST_F(LogicTest, CancelWritesNothing)
{
    const std::string original = "3\r\n7\r\n1\r\n1\r\n0\r\n1\r\n0\r\n1\r\n99\r\n1\r\n0.5\r\n0\r\n.25\r\n1\r\n"
                                 "30\r\n32\r\n57\r\n16\r\n18\r\n";
    ASSERT_TRUE(open(original));
    for (int r = 0; r < Rows; ++r) {
        const ControlDef &c = WindowLayout[r];
        if (c.kind == ControlKind::CheckBox)
            logic->clicked(r);
        else if (c.kind == ControlKind::Slider || c.kind == ControlKind::ComboBox)
            logic->changed(r, logic->value(r) == 77 ? 78 : 77);
    }
    ASSERT_NE(logic->settings().SphereDetail, 3);
    click("cmdCancel");
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.closedWith, 0);
    EXPECT_EQ(readFile("trelvane.cfg"), original);
}

TEST_F(LogicTest, FailedSaveKeepsTheWindowTheChangesAndTheOldFile)
{
    struct Case {
        const char *name;
        std::function<void(const fs::path &)> sabotage, mend;
        std::string reason;
        std::optional<rlim_t> room;  // set: the disk takes only this many bytes
    };
    const Case cases[] = {
        // No write can replace a folder, even as root.
        {"a folder in the file's place",
         [](const fs::path &d) {
             ASSERT_TRUE(fs::remove(d / "trelvane.cfg"));
             fs::create_directory(d / "trelvane.cfg");
         },
         [](const fs::path &d) { fs::remove(d / "trelvane.cfg"); },
         {},
         {}},
        {"disk full", [](const fs::path &) {}, [](const fs::path &) {}, FileTooLarge, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(open(cfg(designTimeLines())));
        change("sldSphereDetail", 7);
        c.sabotage(dir.path());
        const std::string before = readFile("trelvane.cfg");
        {
            std::optional<WritesFail> full;
            if (c.room)
                full.emplace(*c.room);
            click("cmdOK");
        }
        ASSERT_EQ(view.errors.size(), 1u);
        EXPECT_TRUE(contains(view.errors[0], "trelvane.cfg")) << view.errors[0];
        EXPECT_TRUE(contains(view.errors[0], c.reason)) << view.errors[0];
        EXPECT_TRUE(view.visible);
        EXPECT_EQ(readFile("trelvane.cfg"), before);
        EXPECT_EQ(value("sldSphereDetail"), 7);
        EXPECT_EQ(shown("imgSphereDetail"), std::vector<int>{7});

        // The player mends the cause and presses OK again.
        c.mend(dir.path());
        click("cmdOK");
        EXPECT_EQ(view.errors.size(), 1u);
        EXPECT_FALSE(view.visible);
        EXPECT_EQ(readFile("trelvane.cfg").substr(0, 6), "7\r\n6\r\n");
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"trelvane.cfg"});
    }
}

#ifndef _WIN32
// Failures after the file was written: the player is told what became of it and what to do.
TEST_F(LogicTest, FailuresAfterTheFileWasWrittenSayWhatBecameOfIt)
{
    const struct {
        const char *name;
        bool throughLink;  // trelvane.cfg is the player's own link: the file is rewritten in place
        std::size_t failingCall;
        std::string message;
        bool closes;
    } cases[] = {
        {"rewritten in place, not synced", true, 1,
         "Cannot write trelvane.cfg: Input/output error. trelvane.cfg was being rewritten in place and may now be "
         "incomplete. Press OK again to rewrite it.\n\nYour changes are still in the window.",
         false},
        {"replaced, its folder not synced", false, 3,
         "trelvane.cfg was saved, but it may not survive a power cut: Input/output error.", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(dir / "trelvane.cfg");
        writeFile(c.throughLink ? "settings.cfg" : "trelvane.cfg", cfg(designTimeLines()));
        if (c.throughLink)
            fs::create_symlink("settings.cfg", dir / "trelvane.cfg");
        ASSERT_TRUE(openExisting());
        change("sldSphereDetail", 7);
        {
            CallsFail seam(c.failingCall, EIO);
            click("cmdOK");
        }
        EXPECT_EQ(view.errors, std::vector<std::string>{c.message});
        EXPECT_EQ(view.visible, !c.closes);
        EXPECT_EQ(readFile("trelvane.cfg").substr(0, 3), "7\r\n");
    }
}
#endif

}  // namespace
}  // namespace trelvane::testing
