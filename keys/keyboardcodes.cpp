#include "keys/keyboardcodes.h"

#include <array>
#include <cstddef>

#include "keys/keycatalogue.h"

namespace trelvane {

namespace {

struct KeyFrom {
    unsigned from;
    std::int16_t code;
};

// Where Windows reports a key under another code than the game's.
constexpr auto WindowsOddities = std::to_array<KeyFrom>({
    {0x45, 0xC5},  // Pause comes with Num Lock's code,
    {0xC5, 0x45},  // and Num Lock with Pause's.
    {0xC6, 0xC5},  // Ctrl+Pause comes as Break (VK_CANCEL, E0 46).
    {0x54, 0xB7},  // Print Screen while Alt is held comes as SysRq.
});

// Evdev codes 1-83 and 86-88 are the scan codes themselves; 84 is unassigned,
// 85 (KEY_ZENKAKUHANKAKU) is no catalogue key. The others by their names in
// linux/input-event-codes.h, in ascending order.
constexpr std::array<unsigned, 2> SameAsScanCode[] = {{1, 83}, {86, 88}};
constexpr auto EvdevKeys = std::to_array<KeyFrom>({
    {89, 0x73},  // KEY_RO: ABNT_C1, the key beside Right Shift
    {92, 0x79},  // KEY_HENKAN: Convert
    {93, 0x70},  // KEY_KATAKANAHIRAGANA: Kana
    {94, 0x7B},  // KEY_MUHENKAN: NoConvert
    {96, 0x9C},  // KEY_KPENTER
    {97, 0x9D},  // KEY_RIGHTCTRL
    {98, 0xB5},  // KEY_KPSLASH
    {99, 0xB7},  // KEY_SYSRQ: Print Screen
    {100, 0xB8},  // KEY_RIGHTALT
    {102, 0xC7},  // KEY_HOME
    {103, 0xC8},  // KEY_UP
    {104, 0xC9},  // KEY_PAGEUP
    {105, 0xCB},  // KEY_LEFT
    {106, 0xCD},  // KEY_RIGHT
    {107, 0xCF},  // KEY_END
    {108, 0xD0},  // KEY_DOWN
    {109, 0xD1},  // KEY_PAGEDOWN
    {110, 0xD2},  // KEY_INSERT
    {111, 0xD3},  // KEY_DELETE
    {113, 0xA0},  // KEY_MUTE
    {114, 0xAE},  // KEY_VOLUMEDOWN
    {115, 0xB0},  // KEY_VOLUMEUP
    {116, 0xDE},  // KEY_POWER
    {117, 0x8D},  // KEY_KPEQUAL
    {119, 0xC5},  // KEY_PAUSE
    // KEY_KPCOMMA is the Brazilian keypad's dot key, which reaches the game on
    // Windows as ABNT_C2; the catalogue's keypad comma (0xB3) is of a
    // keyboard not made for PCs.
    {121, 0x7E},
    {124, 0x7D},  // KEY_YEN
    {125, 0xDB},  // KEY_LEFTMETA: Left Windows
    {126, 0xDC},  // KEY_RIGHTMETA: Right Windows
    {127, 0xDD},  // KEY_COMPOSE: Apps
    {128, 0xE8},  // KEY_STOP: Web Stop
    {140, 0xA1},  // KEY_CALC
    {142, 0xDF},  // KEY_SLEEP
    {143, 0xE3},  // KEY_WAKEUP
    {155, 0xEC},  // KEY_MAIL
    {156, 0xE6},  // KEY_BOOKMARKS: Web Favorites
    {157, 0xEB},  // KEY_COMPUTER
    {158, 0xEA},  // KEY_BACK: Web Back
    {159, 0xE9},  // KEY_FORWARD: Web Forward
    {163, 0x99},  // KEY_NEXTSONG
    {164, 0xA2},  // KEY_PLAYPAUSE
    {165, 0x90},  // KEY_PREVIOUSSONG
    {166, 0xA4},  // KEY_STOPCD: Media Stop
    {172, 0xB2},  // KEY_HOMEPAGE: Web Home
    {173, 0xE7},  // KEY_REFRESH: Web Refresh
    {183, 0x64},  // KEY_F13
    {184, 0x65},  // KEY_F14
    {185, 0x66},  // KEY_F15
    {217, 0xE5},  // KEY_SEARCH: Web Search
    {226, 0xED},  // KEY_MEDIA: Media Select
});

constexpr bool sameAsScanCode(unsigned evdev)
{
    for (const auto &[first, last] : SameAsScanCode)
        if (evdev >= first && evdev <= last)
            return true;
    return false;
}

constexpr bool givesCatalogueKeys()
{
    for (const auto &[first, last] : SameAsScanCode)
        for (unsigned c = first; c <= last; ++c)
            if (!inCatalogue(static_cast<int>(c)))
                return false;
    for (std::size_t i = 0; i < EvdevKeys.size(); ++i)
        if (!inCatalogue(EvdevKeys[i].code) || sameAsScanCode(EvdevKeys[i].from) ||
            (i > 0 && EvdevKeys[i - 1].from >= EvdevKeys[i].from))
            return false;
    for (const KeyFrom &k : WindowsOddities)
        if (!inCatalogue(k.code))
            return false;
    return true;
}
static_assert(givesCatalogueKeys(), "every key the keyboard tables give is a catalogue key, each evdev code once");

}  // namespace

std::int16_t keyFromWindows(unsigned scanCode, bool extended)
{
    if (scanCode == 0 || scanCode > 0x7F)
        return 0;  // a key made up without a scan code
    unsigned code = scanCode | (extended ? 0x80u : 0u);
    for (const KeyFrom &k : WindowsOddities)
        if (k.from == code) {
            code = static_cast<unsigned>(k.code);
            break;
        }
    return inCatalogue(static_cast<int>(code)) ? static_cast<std::int16_t>(code) : std::int16_t{0};
}

std::int16_t keyFromEvdev(unsigned evdevCode)
{
    if (sameAsScanCode(evdevCode))
        return static_cast<std::int16_t>(evdevCode);
    for (const KeyFrom &k : EvdevKeys)
        if (k.from == evdevCode)
            return k.code;
    return 0;
}

}  // namespace trelvane
