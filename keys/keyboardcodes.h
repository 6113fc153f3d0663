#pragma once
// From the key a keyboard reports to the game's code for it, on each system:
// what lets a player set a key by pressing it. The game's codes are the
// keyboard's own scan codes, 0x80 added for a key sent with an E0 prefix.
// Every result is a code of the catalogue, or 0 for a key the game cannot
// use. The few catalogue keys of keyboards not made for PCs come from no
// keyboard here; they stay in the lists.

#include <cstdint>

namespace trelvane {

// A WM_KEYDOWN or WM_SYSKEYDOWN: the scan code of lParam bits 16-23 and the
// extended flag of bit 24.
std::int16_t keyFromWindows(unsigned scanCode, bool extended);

// A Linux input (evdev) key code, as both X11 and Wayland give it less 8
// (Qt's nativeScanCode() - 8).
std::int16_t keyFromEvdev(unsigned evdevCode);

}  // namespace trelvane
