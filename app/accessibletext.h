#pragma once
// What each setting is called for assistive tools, what it changes in the game
// (its tooltip and accessible description), and what each preview picture shows.
// Names come from the captions of the layout table; only the words that no
// caption holds are written here.

#include <array>
#include <string_view>

#include "settings/settingsfields.h"

namespace trelvane {

class frmConfig;

struct SettingText {
    Field field;
    std::string_view explains;  // one sentence in the player's words
};

struct PictureText {
    Field field;  // the setting the picture previews
    int index;
    std::string_view shows;  // after "<setting's name> preview: "
};

extern const std::array<SettingText, 19> SettingTexts;
extern const std::array<PictureText, 30> PictureTexts;

// Said of a check box shown grayed, after its explanation.
inline constexpr std::string_view GrayedNote =
    "Shown grayed: the settings file holds 2 here, which the game counts as on.";

// Names, buddies, tooltips and descriptions for the built window. The
// decorative sample messages and the hidden preview pictures are left out of
// what assistive tools see.
void applyAccessibleText(frmConfig &window);

}  // namespace trelvane
