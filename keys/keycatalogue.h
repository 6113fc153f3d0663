#pragma once
// The 144 keyboard keys the game can bind, and the translation between a
// key's scan code (what the settings file stores) and its place in a key list.

#include <array>
#include <cstdint>
#include <string_view>

namespace trelvane {

struct KeyRow {
    std::string_view name;  // what the player sees in the list
    std::int16_t code;  // keyboard scan code stored in the settings file
};

inline constexpr int KeyCount = 144;

// Row index is the list index every key slot uses; codes are DirectInput
// keyboard scan codes (the DIK_ constant is named beside each row). Strictly
// ascending codes. Here in the header, so that the keyboard tables
// (keys/scancodes.cpp) are checked against it at compile time.
inline constexpr std::array<KeyRow, KeyCount> KeyCatalogue{{
    {"ESCAPE", 0x01},  // 0 DIK_ESCAPE
    {"1", 0x02},  // 1 DIK_1
    {"2", 0x03},  // 2 DIK_2
    {"3", 0x04},  // 3 DIK_3
    {"4", 0x05},  // 4 DIK_4
    {"5", 0x06},  // 5 DIK_5
    {"6", 0x07},  // 6 DIK_6
    {"7", 0x08},  // 7 DIK_7
    {"8", 0x09},  // 8 DIK_8
    {"9", 0x0A},  // 9 DIK_9
    {"0", 0x0B},  // 10 DIK_0
    {"Minus (-)", 0x0C},  // 11 DIK_MINUS
    {"Equals (=)", 0x0D},  // 12 DIK_EQUALS
    {"Backspace", 0x0E},  // 13 DIK_BACK
    {"Tab", 0x0F},  // 14 DIK_TAB
    {"Q", 0x10},  // 15 DIK_Q
    {"W", 0x11},  // 16 DIK_W
    {"E", 0x12},  // 17 DIK_E
    {"R", 0x13},  // 18 DIK_R
    {"T", 0x14},  // 19 DIK_T
    {"Y", 0x15},  // 20 DIK_Y
    {"U", 0x16},  // 21 DIK_U
    {"I", 0x17},  // 22 DIK_I
    {"O", 0x18},  // 23 DIK_O
    {"P", 0x19},  // 24 DIK_P
    {"Left Bracket ([)", 0x1A},  // 25 DIK_LBRACKET
    {"Right Bracket (])", 0x1B},  // 26 DIK_RBRACKET
    {"Return/Enter", 0x1C},  // 27 DIK_RETURN
    {"Left Control", 0x1D},  // 28 DIK_LCONTROL
    {"A", 0x1E},  // 29 DIK_A
    {"S", 0x1F},  // 30 DIK_S
    {"D", 0x20},  // 31 DIK_D
    {"F", 0x21},  // 32 DIK_F
    {"G", 0x22},  // 33 DIK_G
    {"H", 0x23},  // 34 DIK_H
    {"J", 0x24},  // 35 DIK_J
    {"K", 0x25},  // 36 DIK_K
    {"L", 0x26},  // 37 DIK_L
    {"Semi-Colon (;)", 0x27},  // 38 DIK_SEMICOLON
    {"Apostrophe (')", 0x28},  // 39 DIK_APOSTROPHE
    {"Grave", 0x29},  // 40 DIK_GRAVE
    {"Left Shift", 0x2A},  // 41 DIK_LSHIFT
    {"Backslash (\\)", 0x2B},  // 42 DIK_BACKSLASH
    {"Z", 0x2C},  // 43 DIK_Z
    {"X", 0x2D},  // 44 DIK_X
    {"C", 0x2E},  // 45 DIK_C
    {"V", 0x2F},  // 46 DIK_V
    {"B", 0x30},  // 47 DIK_B
    {"N", 0x31},  // 48 DIK_N
    {"M", 0x32},  // 49 DIK_M
    {"Comma (,)", 0x33},  // 50 DIK_COMMA
    {"Period (.)", 0x34},  // 51 DIK_PERIOD
    {"Slash (/)", 0x35},  // 52 DIK_SLASH
    {"Right Shift", 0x36},  // 53 DIK_RSHIFT
    {"Multiply (*)", 0x37},  // 54 DIK_MULTIPLY
    {"Left Alt/Menu", 0x38},  // 55 DIK_LMENU
    {"Space", 0x39},  // 56 DIK_SPACE
    {"Capital", 0x3A},  // 57 DIK_CAPITAL
    {"F1", 0x3B},  // 58 DIK_F1
    {"F2", 0x3C},  // 59 DIK_F2
    {"F3", 0x3D},  // 60 DIK_F3
    {"F4", 0x3E},  // 61 DIK_F4
    {"F5", 0x3F},  // 62 DIK_F5
    {"F6", 0x40},  // 63 DIK_F6
    {"F7", 0x41},  // 64 DIK_F7
    {"F8", 0x42},  // 65 DIK_F8
    {"F9", 0x43},  // 66 DIK_F9
    {"F10", 0x44},  // 67 DIK_F10
    {"NumLock", 0x45},  // 68 DIK_NUMLOCK
    {"Scroll Lock", 0x46},  // 69 DIK_SCROLL
    {"NumPad 7", 0x47},  // 70 DIK_NUMPAD7
    {"NumPad 8", 0x48},  // 71 DIK_NUMPAD8
    {"NumPad 9", 0x49},  // 72 DIK_NUMPAD9
    {"Subtract (-)", 0x4A},  // 73 DIK_SUBTRACT
    {"NumPad 4", 0x4B},  // 74 DIK_NUMPAD4
    {"NumPad 5", 0x4C},  // 75 DIK_NUMPAD5
    {"NumPad 6", 0x4D},  // 76 DIK_NUMPAD6
    {"Add (+)", 0x4E},  // 77 DIK_ADD
    {"NumPad 1", 0x4F},  // 78 DIK_NUMPAD1
    {"NumPad 2", 0x50},  // 79 DIK_NUMPAD2
    {"NumPad 3", 0x51},  // 80 DIK_NUMPAD3
    {"NumPad 0", 0x52},  // 81 DIK_NUMPAD0
    {"Decimal (.)", 0x53},  // 82 DIK_DECIMAL
    {"OEM_102", 0x56},  // 83 DIK_OEM_102
    {"F11", 0x57},  // 84 DIK_F11
    {"F12", 0x58},  // 85 DIK_F12
    {"F13", 0x64},  // 86 DIK_F13
    {"F14", 0x65},  // 87 DIK_F14
    {"F15", 0x66},  // 88 DIK_F15
    {"Kana", 0x70},  // 89 DIK_KANA
    {"ABNT_C1", 0x73},  // 90 DIK_ABNT_C1
    {"Convert", 0x79},  // 91 DIK_CONVERT
    {"NoConvert", 0x7B},  // 92 DIK_NOCONVERT
    {"Yen", 0x7D},  // 93 DIK_YEN
    {"ABNT_C2", 0x7E},  // 94 DIK_ABNT_C2
    {"Equals", 0x8D},  // 95 DIK_NUMPADEQUALS
    {"PrevTrack", 0x90},  // 96 DIK_PREVTRACK
    {"AT", 0x91},  // 97 DIK_AT
    {"Colon (:)", 0x92},  // 98 DIK_COLON
    {"Underline", 0x93},  // 99 DIK_UNDERLINE
    {"Kanji", 0x94},  // 100 DIK_KANJI
    {"Stop", 0x95},  // 101 DIK_STOP
    {"AX", 0x96},  // 102 DIK_AX
    {"Unlabeled", 0x97},  // 103 DIK_UNLABELED
    {"Next Track", 0x99},  // 104 DIK_NEXTTRACK
    {"Enter", 0x9C},  // 105 DIK_NUMPADENTER
    {"Right Control", 0x9D},  // 106 DIK_RCONTROL
    {"Mute", 0xA0},  // 107 DIK_MUTE
    {"Calculator", 0xA1},  // 108 DIK_CALCULATOR
    {"Play/Pause", 0xA2},  // 109 DIK_PLAYPAUSE
    {"Media Stop", 0xA4},  // 110 DIK_MEDIASTOP
    {"Volume Down", 0xAE},  // 111 DIK_VOLUMEDOWN
    {"Volume Up", 0xB0},  // 112 DIK_VOLUMEUP
    {"Web Home", 0xB2},  // 113 DIK_WEBHOME
    {"Comma (,)", 0xB3},  // 114 DIK_NUMPADCOMMA
    {"Divide (/)", 0xB5},  // 115 DIK_DIVIDE
    {"SysReq", 0xB7},  // 116 DIK_SYSRQ
    {"Right Alt/Menu", 0xB8},  // 117 DIK_RMENU
    {"Pause", 0xC5},  // 118 DIK_PAUSE
    {"Home", 0xC7},  // 119 DIK_HOME
    {"Up", 0xC8},  // 120 DIK_UP
    {"Page Up/Prior", 0xC9},  // 121 DIK_PRIOR
    {"Left", 0xCB},  // 122 DIK_LEFT
    {"Right", 0xCD},  // 123 DIK_RIGHT
    {"End", 0xCF},  // 124 DIK_END
    {"Down", 0xD0},  // 125 DIK_DOWN
    {"Next", 0xD1},  // 126 DIK_NEXT
    {"Insert", 0xD2},  // 127 DIK_INSERT
    {"Delete", 0xD3},  // 128 DIK_DELETE
    {"Left Windows", 0xDB},  // 129 DIK_LWIN
    {"Right Windows", 0xDC},  // 130 DIK_RWIN
    {"Apps", 0xDD},  // 131 DIK_APPS
    {"Power", 0xDE},  // 132 DIK_POWER
    {"Sleep", 0xDF},  // 133 DIK_SLEEP
    {"Wake", 0xE3},  // 134 DIK_WAKE
    {"Web Search", 0xE5},  // 135 DIK_WEBSEARCH
    {"Web Favorites", 0xE6},  // 136 DIK_WEBFAVORITES
    {"Web Refresh", 0xE7},  // 137 DIK_WEBREFRESH
    {"Web Stop", 0xE8},  // 138 DIK_WEBSTOP
    {"Web Forward", 0xE9},  // 139 DIK_WEBFORWARD
    {"Web Back", 0xEA},  // 140 DIK_WEBBACK
    {"My Computer", 0xEB},  // 141 DIK_MYCOMPUTER
    {"Mail", 0xEC},  // 142 DIK_MAIL
    {"Media Select", 0xED},  // 143 DIK_MEDIASELECT
}};

// Whether a key code names a key of the catalogue.
constexpr bool inCatalogue(int code)
{
    for (const KeyRow &row : KeyCatalogue)
        if (row.code == code)
            return true;
    return false;
}

// The code of the first key of that name: codeOf("Return/Enter") is 0x1C.
constexpr std::int16_t codeOf(std::string_view name)
{
    for (const KeyRow &row : KeyCatalogue)
        if (row.name == name)
            return row.code;
    return 0;
}

// Code -> list index; a code the catalogue lacks gives 0 ("ESCAPE").
std::int16_t GetIndex(std::int16_t code);
// List index -> code; an index outside 0..143 (including -1) gives 0.
std::int16_t GetCode(std::int16_t index);

}  // namespace trelvane
