#pragma once
// What the window says and does about each setting beyond the file's own
// table (settings/settingsfields.h): the slider steps, the sentence that
// explains the setting, and what each preview picture shows. Checked against
// the layout table at compile time (window/layouttable.cpp).

#include <array>
#include <string_view>

#include "settings/settingsfields.h"

namespace trelvane {

struct SettingFacts {
    Field field;
    int smallChange;  // arrow keys; sliders only, else 0
    int largeChange;  // Page Up / Page Down, a click in the track
    std::string_view explains;  // tooltip and accessible description, in the player's words
};

// File order, one row a field.
// clang-format off
inline constexpr std::array<SettingFacts, FieldCount> SettingsFacts = {{
    {Field::SphereDetail, 1, 2, "How the game draws its spheres: 0 as a smooth textured ball, 1 to 8 as solids with more "
                                "facets at each level, rounder but more work to draw."},
    {Field::OdoDetail, 1, 2, "How many faces the drums of the rolling 3D score are drawn with: 6 gives boxy drums, 12 "
                             "smooth ones that take more work to draw."},
    {Field::FPS, 0, 0, "Shows the frame rate, in frames per second, in a corner of the game screen."},
    {Field::Score, 0, 0, "Shows the score on rolling 3D drums instead of flat digits."},
    {Field::Level, 0, 0, "Shows the level number on a see-through panel instead of an opaque one."},
    {Field::Mask, 0, 0, "Draws the on-screen panels as a fine see-through mesh with rounded corners, so that the "
                        "game shows through them."},
    {Field::Mirror, 0, 0, "Makes the floor reflect the snake and the scene like a mirror."},
    {Field::Transparency, 0, 0, "Draws see-through objects as see-through; when off they are drawn solid."},
    {Field::MsgTrans, 1, 10, "How fast the game's on-screen messages slide across the screen; the two sample messages "
                             "beside the slider move at this speed."},
    {Field::Sound, 0, 0, "Turns the game's sound effects on or off."},
    {Field::SoundVolume, 1, 10, "How loud the game's sound effects are."},
    {Field::Music, 0, 0, "Turns the game's background music on or off."},
    {Field::MusicVolume, 1, 10, "How loud the game's background music is."},
    {Field::Particles, 0, 0, "Shows small glowing specks scattered over the game."},
    {Field::Key0, 0, 0, "The key that turns the snake to the left."},
    {Field::Key1, 0, 0, "The key that turns the snake to the right."},
    {Field::Key2, 0, 0, "The key that makes the snake jump."},
    {Field::Key3, 0, 0, "The key that makes the snake take a sharp left turn."},
    {Field::Key4, 0, 0, "The key that makes the snake take a sharp right turn."},
}};
// clang-format on

constexpr const SettingFacts &factsOf(Field f) { return SettingsFacts[static_cast<std::size_t>(f)]; }

struct PictureText {
    Field field;  // the setting the picture previews
    int index;
    std::string_view shows;  // after "<setting's name> preview: "
};

// In the words of the pictures that tools/ draws; one row a picture of the layout.
inline constexpr auto PictureTexts = std::to_array<PictureText>({
    {Field::SphereDetail, 0, "a smooth round ball with a swirled green and yellow texture"},
    {Field::SphereDetail, 1, "a flat-shaded green solid with three corners"},
    {Field::SphereDetail, 2, "a flat-shaded green solid with four corners"},
    {Field::SphereDetail, 3, "a rounded green solid of 20 flat facets"},
    {Field::SphereDetail, 4, "a green ball of 80 flat facets"},
    {Field::SphereDetail, 5, "a green ball of 180 flat facets"},
    {Field::SphereDetail, 6, "a green ball of 320 flat facets"},
    {Field::SphereDetail, 7, "a green ball of 720 flat facets, almost round"},
    {Field::SphereDetail, 8, "a green ball of 2000 flat facets, nearly circular"},
    {Field::OdoDetail, 0, "a grey score drum with green digits, boxy with 4 flat faces"},
    {Field::OdoDetail, 1, "a grey score drum with green digits and 5 flat faces"},
    {Field::OdoDetail, 2, "a grey score drum with green digits and 6 flat faces"},
    {Field::OdoDetail, 3, "a grey score drum with green digits and 8 flat faces"},
    {Field::OdoDetail, 4, "a grey score drum with green digits and 11 flat faces"},
    {Field::OdoDetail, 5, "a grey score drum with green digits and 16 flat faces"},
    {Field::OdoDetail, 6, "a smooth round grey score drum with green digits"},
    {Field::Score, 0, "off, the score 047 as flat green digits on a white strip"},
    {Field::Score, 1, "on, the score on three rolling 3D drums"},
    {Field::Level, 0, "off, level 1 on an opaque olive panel"},
    {Field::Level, 1, "on, level 1 on a see-through panel with the game showing through"},
    {Field::Transparency, 0, "off, jagged green objects drawn solid on a dark stone ledge"},
    {Field::Transparency, 1, "on, a green block drawn see-through, the ledge showing through it"},
    {Field::FPS, 0, "off, an empty black panel in a corner of the game view"},
    {Field::FPS, 1, "on, the panel shows the frame rate, FPS: 41"},
    {Field::Mask, 0, "off, a solid green panel with a /10 readout and a square corner"},
    {Field::Mask, 1, "on, the panel as a fine checkerboard with the game showing through, and a rounded corner"},
    {Field::Mirror, 0, "off, a dark stone floor with a yellow emblem and no reflection"},
    {Field::Mirror, 1, "on, the floor faintly reflects the snake and the scene"},
    {Field::Particles, 0, "off, no specks: jagged green objects on a dark stone ledge"},
    {Field::Particles, 1, "on, a dark floor scattered with small glowing green and yellow specks"},
});

// Said of a check box shown grayed, after its explanation.
inline constexpr std::string_view GrayedNote =
    "Shown grayed: the settings file holds 2 here, which the game counts as on.";

// Ends the sentence of every key list.
inline constexpr std::string_view KeyListHint = "Press Enter, then the key you want.";
// In a key list's box while it waits for a key, and after a key the game
// cannot use: short, as the box shows no more than "Page Up/", and in ASCII,
// all the window's font holds.
inline constexpr std::string_view KeyPrompt = "Press...";
inline constexpr std::string_view KeyRefusedPrompt = "Retry...";
// Said of a key list waiting for a key, before "Press the key for Jump; Escape cancels."
inline constexpr std::string_view KeyRefusedNote = "The game cannot use that key.";

// What assistive tools call the strip the sample messages cross.
inline constexpr std::string_view MessageStripName = "Message transition preview";

namespace facts_detail {
constexpr bool consistent()
{
    for (std::size_t i = 0; i < SettingsFacts.size(); ++i) {
        const SettingFacts &f = SettingsFacts[i];
        const FieldKind kind = SettingsFields[i].kind;
        const bool slider = kind == FieldKind::Slider || kind == FieldKind::Volume;
        if (static_cast<std::size_t>(f.field) != i || SettingsFields[i].field != f.field || f.explains.empty() ||
            slider != (f.smallChange > 0 && f.largeChange >= f.smallChange) ||
            (!slider && (f.smallChange != 0 || f.largeChange != 0)))
            return false;
    }
    return true;
}
}  // namespace facts_detail
static_assert(facts_detail::consistent(), "one row a field in file order; steps for sliders only");

}  // namespace trelvane
