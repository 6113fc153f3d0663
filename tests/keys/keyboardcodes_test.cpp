#include <gtest/gtest.h>

#include "keys/keyboardcodes.h"

namespace {

// A few keys as each system reports them, and the game's code for each.
TEST(KeyboardCodes, HandPickedKeysOnEachSystem)
{
    const struct {
        const char *key;
        unsigned windowsScanCode;
        bool extended;
        unsigned evdev;
        int code;
    } keys[] = {
        {"A", 0x1E, false, 30, 0x1E},
        {"Up", 0x48, true, 103, 0xC8},
        {"Right Control", 0x1D, true, 97, 0x9D},
        {"keypad Enter", 0x1C, true, 96, 0x9C},
        {"Pause", 0x45, false, 119, 0xC5},  // Windows gives each of these two the other's code
        {"Num Lock", 0x45, true, 69, 0x45},
        {"no game key", 0x76, false, 85, 0},
    };
    for (const auto &k : keys) {
        EXPECT_EQ(trelvane::keyFromWindows(k.windowsScanCode, k.extended), k.code) << k.key;
        EXPECT_EQ(trelvane::keyFromEvdev(k.evdev), k.code) << k.key;
    }
}

}  // namespace
