// What tooltips and assistive tools are told follows every value, whether the
// player or a program step set it.
#include <functional>

#include "logicfixture.h"
#include "window/settingfacts.h"

namespace trelvane::testing {
namespace {

struct Said {
    const char *control;
    std::string part;  // in the description; empty: no note at all
    bool marked = false;
};

TEST_F(LogicTest, GrayedBoxesAndKeysBoundTwiceAreToldAfterLoadChangeAndRestore)
{
    Lines keys = designTimeLines();
    keys[9] = "2";
    for (int slot = 0; slot < 5; ++slot)
        keys[14 + slot] = std::vector<const char *>{"203", "205", "57", "51", "203"}[slot];  // Left twice
    writeFile("default.cfg", cfg(keys));
    Lines lines = designTimeLines();
    lines[9] = "2";  // sound effects grayed
    lines[11] = "1";  // background music checked
    lines[15] = lines[16] = "57";  // Space for Turn Right and Jump
    lines[14] = "203";
    lines[17] = "51";
    lines[18] = "205";
    const std::string grayed(GrayedNote);
    const std::vector<std::pair<std::function<void()>, std::vector<Said>>> steps = {
        {[&] { ASSERT_TRUE(open(cfg(lines))); },
         {{"cmbKeys(1)", "Also bound to Jump.", true},
          {"cmbKeys(2)", "Also bound to Turn Right.", true},
          {"Label15", "Also bound to Jump."},
          {"cmbKeys(0)", ""},
          {"chkSound", grayed},
          {"Label12", grayed},
          {"chkMusic", ""},
          {"Label11", ""}}},
        {[&] { change("cmbKeys(2)", 77); }, {{"cmbKeys(1)", ""}, {"cmbKeys(2)", ""}, {"Label15", ""}}},
        {[&] { click("Label12"); }, {{"chkSound", ""}, {"Label12", ""}}},
        {[&] { click("cmdRestore"); },
         {{"cmbKeys(0)", "Also bound to Sharp Right.", true},
          {"cmbKeys(4)", "Also bound to Turn Left.", true},
          {"cmbKeys(1)", ""},
          {"chkSound", grayed}}},
    };
    for (std::size_t step = 0; step < steps.size(); ++step) {
        steps[step].first();
        for (const Said &s : steps[step].second) {
            SCOPED_TRACE("step " + std::to_string(step) + ", " + s.control);
            std::string text = view.descriptions[row(s.control)];
            const Field f = *WindowLayout[row(s.control)].field;
            if (WindowLayout[row(s.control)].kind == ControlKind::ComboBox) {  // the hint ends a list's sentence
                EXPECT_TRUE(text.ends_with(' ' + std::string(KeyListHint))) << text;
                text.resize(text.size() - KeyListHint.size() - 1);
            }
            EXPECT_EQ(text.rfind(factsOf(f).explains, 0), 0u) << text;
            EXPECT_EQ(text.size() > factsOf(f).explains.size(), !s.part.empty()) << text;
            EXPECT_TRUE(contains(text, s.part)) << text;
            EXPECT_EQ(view.marked[row(s.control)], s.marked);
        }
    }
}

// Each sentence is there from the start, before any value changes it.
TEST_F(LogicTest, EverySettingsControlCaptionAndPictureIsExplainedOnceOpen)
{
    Lines lines = designTimeLines();
    for (int slot = 0; slot < 5; ++slot)
        lines[14 + slot] = std::vector<const char *>{"203", "205", "57", "30", "32"}[slot];  // no key bound twice
    ASSERT_TRUE(open(cfg(lines)));
    for (int r = 0; r < Rows; ++r) {
        const ControlDef &c = WindowLayout[r];
        if (!c.field || c.role == Role::Message)
            continue;
        SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.index) + ")");
        std::string expected(factsOf(*c.field).explains);
        if (c.kind == ControlKind::ComboBox)
            expected.append(" ").append(KeyListHint);  // how to set the key by pressing it
        EXPECT_EQ(view.descriptions[r], expected);
    }
}

}  // namespace
}  // namespace trelvane::testing
