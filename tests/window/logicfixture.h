#pragma once
// The window logic on a temporary game folder, driving a view that records
// what it is told and answers its questions as the test says.

#include <array>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "diskfiles.h"
#include "previewrows.h"
#include "settings/settingsfields.h"
#include "window/layouttable.h"
#include "window/windowlogic.h"

namespace trelvane::testing {

inline constexpr int Rows = static_cast<int>(WindowLayout.size());

// The row of a control by its name in the layout: "chkMask", "imgMask(1)".
inline int row(std::string_view name)
{
    for (int r = 0; r < Rows; ++r) {
        const ControlDef &c = WindowLayout[r];
        std::string n(c.name);
        if (c.index >= 0)
            n.append("(").append(std::to_string(c.index)).append(")");  // GCC 12 -O3 warns, wrongly, on "(" + s
        if (n == name)
            return r;
    }
    ADD_FAILURE() << "no control " << name;
    return 0;
}

class RecordingView : public WindowView {
public:
    RecordingView()
    {
        // The window as a view makes it: the logic's design-time state.
        for (int r = 0; r < Rows; ++r) {
            const ControlDef &c = WindowLayout[r];
            values[r] = c.kind == ControlKind::ComboBox ? -1
                        : c.kind == ControlKind::Slider ? fieldInfo(*c.field).min
                                                        : 0;
            shown[r] = c.role == Role::ShownAtStart;
            lefts[r] = c.left;
        }
    }

    void setValue(int r, int v) override
    {
        values[r] = v;
        valuesSet.push_back(r);
    }
    void setShown(int r, bool s) override { shown[r] = s; }
    void moveMessage(int r, int leftTwips) override { lefts[r] = leftTwips; }
    void setDescription(int r, std::string_view text, bool m) override
    {
        descriptions[r] = text;
        marked[r] = m;
    }
    void setKeyListPrompt(int r, std::string_view text) override { prompts[r] = text; }
    void showWindow() override { visible = true; }
    void startTimer(int intervalMs) override { timerMs = intervalMs; }
    bool askYesNo(std::string_view title, std::string_view question) override
    {
        questions.push_back(std::string(title) + "|" + std::string(question));
        return answerYes;
    }
    void showError(std::string_view message) override { errors.emplace_back(message); }
    LoadChoice askAfterLoadFailure(std::string_view message, bool factoryOffered) override
    {
        errors.emplace_back(message);
        factoryOffers.push_back(factoryOffered);
        // Without the button there is no such answer.
        return factoryOffered && useFactorySettings ? LoadChoice::UseFactorySettings : LoadChoice::Close;
    }
    void close(int status) override
    {
        visible = false;
        closedWith = status;
    }

    std::array<int, Rows> values{};
    std::array<bool, Rows> shown{};
    std::array<int, Rows> lefts{};
    std::array<std::string, Rows> descriptions{};
    std::array<bool, Rows> marked{};
    std::array<std::string, Rows> prompts{};
    std::vector<int> valuesSet;  // rows, in the order the logic set them
    bool visible = false;
    int closedWith = -1;
    int timerMs = 0;  // 0: not started
    bool answerYes = true;
    bool useFactorySettings = false;
    std::vector<std::string> questions, errors;
    std::vector<bool> factoryOffers;  // one entry per failed load
};

inline const std::span<const Preview> TogglePreviews = std::span(Previews).subspan(2);

using Lines = std::vector<std::string>;

// The lines of a file, CR LF after each.
inline std::string cfg(const Lines &lines)
{
    std::string out;
    for (const std::string &l : lines)
        out += l + "\r\n";
    return out;
}

// A file equal to the window's state at creation: every handler stays quiet.
inline Lines designTimeLines()
{
    return {"0", "6", "0", "0", "0", "0", "0", "0", "1", "0", "0", "0", "0", "0", "1", "1", "1", "1", "1"};
}

class LogicTest : public ::testing::Test {
protected:
    void writeFile(const std::string &name, std::string_view bytes) const { testing::writeFile(dir / name, bytes); }
    std::string readFile(const std::string &name) const { return testing::readFile(dir / name); }

    // Writes trelvane.cfg and opens the window on it; returns Form_Load's answer.
    bool open(const std::string &settings)
    {
        writeFile("trelvane.cfg", settings);
        return openExisting();
    }

    bool openExisting(bool useFactorySettings = false)
    {
        const RecordingView fresh;
        view = fresh;
        view.useFactorySettings = useFactorySettings;
        logic = std::make_unique<WindowLogic>(dir.path(), view);
        return logic->load();
    }

    // A control's value; the view must hold what the logic holds.
    int value(std::string_view name) const
    {
        EXPECT_EQ(view.values[row(name)], logic->value(row(name))) << name;
        return logic->value(row(name));
    }
    void click(std::string_view name) { logic->clicked(row(name)); }
    // The player moves a slider or picks a key: the control has the value already.
    void change(std::string_view name, int v)
    {
        view.values[row(name)] = v;
        logic->changed(row(name), v);
    }

    // Indexes of the pictures of a group ("imgMask") that are shown.
    std::vector<int> shown(const std::string &group) const
    {
        std::vector<int> out;
        for (int r = 0; r < Rows; ++r)
            if (WindowLayout[r].name == group && view.shown[r])
                out.push_back(WindowLayout[r].index);
        std::sort(out.begin(), out.end());
        return out;
    }

    // Every control's value and every picture's flag.
    std::vector<int> snapshot() const
    {
        std::vector<int> out(view.values.begin(), view.values.end());
        out.insert(out.end(), view.shown.begin(), view.shown.end());
        return out;
    }

    TempDir dir;
    RecordingView view;
    std::unique_ptr<WindowLogic> logic;
};

}  // namespace trelvane::testing
