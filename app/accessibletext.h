#pragma once
// What each setting is called for assistive tools, what it changes in the game
// (its tooltip and accessible description), and what each preview picture shows.
// Names come from the captions of the layout table; only the words that no
// caption holds are written here.

#include <array>
#include <string_view>

class QWidget;

namespace trelvane {

struct SettingText {
    std::string_view control;  // control name in the layout table
    std::string_view caption;  // the label whose caption names the setting
    std::string_view suffix;   // added to the caption when two controls share it; no buddy then
    std::string_view explains; // one sentence in the player's words
};

struct PictureText {
    std::string_view group;
    int index;
    std::string_view shows;  // after "<caption> preview: "
};

extern const std::array<SettingText, 19> SettingTexts;
extern const std::array<PictureText, 30> PictureTexts;

// Said of a check box shown grayed, after its explanation.
inline constexpr std::string_view GrayedNote =
    "Shown grayed: the settings file holds 2 here, which the game counts as on.";

// Names, buddies, tooltips and descriptions for the built window `window`,
// whose controls carry their layout names as object names. The decorative
// sample messages and the hidden preview pictures are left out of what
// assistive tools see.
void applyAccessibleText(QWidget &window);

}  // namespace trelvane
