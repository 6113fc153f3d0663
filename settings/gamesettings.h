#pragma once
// One settings file's 19 values, in file order.

#include <array>
#include <cstdint>

namespace trelvane {

inline constexpr int KeySlotCount = 5;  // Turn Left, Turn Right, Jump, Sharp Left, Sharp Right

struct GameSettings {
    std::int32_t SphereDetail = 0;
    std::int32_t OdoDetail = 6;
    std::int16_t FPS = 0;
    std::int16_t Score = 0;
    std::int16_t Level = 0;
    std::int16_t Mask = 0;
    std::int16_t Mirror = 0;
    std::int16_t Transparency = 0;
    std::int32_t MsgTrans = 1;
    std::int16_t Sound = 0;
    std::int32_t SoundVolume = 0;  // slider position 0..100; the file holds position / 100
    std::int16_t Music = 0;
    std::int32_t MusicVolume = 0;  // slider position 0..100; the file holds position / 100
    std::int16_t Particles = 0;
    std::array<std::int16_t, KeySlotCount> Keys{};  // key codes, slot order

    bool operator==(const GameSettings &) const = default;
};

}  // namespace trelvane
