#pragma once
// What the window is called and how it looks, the same on every system: its
// title, the words it shows beyond the layout table's captions, its colours
// and its font. A view takes these as they are.

#include <string_view>

namespace trelvane {

// The window's title, the title of its messages, what screen readers call the
// program, and the description in its version resource (read by CMake).
inline constexpr std::string_view WindowTitle = "Trelvane Configuration Utility";
// The load-error box's choice beside the system's own Close button.
inline constexpr std::string_view UseFactorySettingsText = "&Use Factory Settings";

struct Colour {
    int red, green, blue;
};

// The sample messages, on the dark strip they cross.
inline constexpr Colour MessageColour{0xff, 0xff, 0x00};
inline constexpr Colour StripColour{0x00, 0x00, 0x00};
// A key list whose key another move also uses. It reads as a warning on light
// and dark desktops alike; no system offers a warning colour of its own.
inline constexpr Colour MarkedKeyColour{0xc0, 0x1c, 0x28};

// The captions were laid out for this font, compiled into the program; the
// machine's own could clip them. Its size is in pixels at the layout's
// density (8.25 points at 96 dots per inch).
inline constexpr std::string_view FontFamily = "Trelvane Sans";
inline constexpr int FontPixels = 11;

}  // namespace trelvane
