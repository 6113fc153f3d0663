// A key list set by pressing the key: Enter on the list, then the key.
#include <functional>

#include "keys/keycatalogue.h"
#include "logicfixture.h"
#include "window/settingfacts.h"

namespace trelvane::testing {
namespace {

constexpr int Enter = 0x1C, Escape = 0x01, RightControl = 0x9D, Space = 0x39, NoGameKey = 0;

TEST_F(LogicTest, EnterThenAKeySetsTheListAndEverythingElseEndsTheWaitUnchanged)
{
    Lines lines = designTimeLines();
    lines[14] = "203";  // Turn Left: Left
    lines[16] = "57";  // Jump: Space
    ASSERT_TRUE(open(cfg(lines)));
    const int list = row("cmbKeys(0)");
    const auto press = [&](int code, bool repeated = false) { return logic->keyPressed(list, code, repeated); };
    const std::string own = std::string(factsOf(Field::Key0).explains) + ' ' + std::string(KeyListHint);
    const std::string waiting = "Press the key for Turn Left; Escape cancels.";
    const struct {
        const char *step;
        std::function<bool()> act;  // what the player does; the last key's answer
        std::string key, prompt, said;
        bool marked = false;
    } steps[] = {
        {"a letter is the list's own", [&] { return !press(0x1E); }, "Left", "", own},
        {"Enter", [&] { return press(Enter); }, "Left", std::string(KeyPrompt), waiting},
        {"Enter held", [&] { return press(Enter, true) && press(Space, true); }, "Left", std::string(KeyPrompt),
         waiting},
        {"no game key", [&] { return press(NoGameKey); }, "Left", std::string(KeyRefusedPrompt),
         std::string(KeyRefusedNote) + ' ' + waiting},
        {"Right Control", [&] { return press(RightControl); }, "Right Control", "", own},
        {"Escape", [&] { return press(Enter) && press(Escape); }, "Right Control", "", own},
        {"focus lost", [&] { return press(Enter) && (logic->keyListLeft(), true); }, "Right Control", "", own},
        {"Space, Jump's", [&] { return press(Enter) && press(Space); }, "Space", "",
         std::string(factsOf(Field::Key0).explains) + " Also bound to Jump. " + std::string(KeyListHint), true},
    };
    for (const auto &s : steps) {
        SCOPED_TRACE(s.step);
        const std::vector<int> before = snapshot();
        EXPECT_TRUE(s.act());
        EXPECT_EQ(KeyCatalogue.at(static_cast<std::size_t>(value("cmbKeys(0)"))).name, s.key);
        EXPECT_EQ(view.prompts[list], s.prompt);
        EXPECT_EQ(view.descriptions[list], s.said);
        EXPECT_EQ(view.marked[list], s.marked);
        if (!s.prompt.empty()) {
            EXPECT_EQ(snapshot(), before) << "nothing else changes while the list waits";
        }
    }
    EXPECT_EQ(logic->settings().Keys[0], 0x39);
}

}  // namespace
}  // namespace trelvane::testing
