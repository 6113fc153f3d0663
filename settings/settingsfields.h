#pragma once
// The one table of the settings file's fields: line, caption, how the value is
// read and written, and the range its control accepts. The reader, the range
// check and the window's sliders are all derived from it.

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

#include "settings/gamesettings.h"

namespace trelvane {

enum class Field {
    SphereDetail,
    OdoDetail,
    FPS,
    Score,
    Level,
    Mask,
    Mirror,
    Transparency,
    MsgTrans,
    Sound,
    SoundVolume,
    Music,
    MusicVolume,
    Particles,
    Key0,
    Key1,
    Key2,
    Key3,
    Key4,
};
inline constexpr int FieldCount = 19;

enum class FieldKind {
    Slider,  // 32-bit integer slider position
    Toggle,  // 16-bit check-box state
    Volume,  // slider position 0..100, written as position / 100
    KeyCode,  // 16-bit key code; never range-checked (unknown codes show "ESCAPE")
};

struct FieldInfo {
    Field field;
    std::string_view caption;  // the label beside the control, for error messages
    FieldKind kind;
    std::int32_t min;  // range the control accepts (KeyCode: the 16-bit range)
    std::int32_t max;
};

inline constexpr std::int32_t Int16Min = std::numeric_limits<std::int16_t>::min();
inline constexpr std::int32_t Int16Max = std::numeric_limits<std::int16_t>::max();

// File order: line = index + 1.
inline constexpr std::array<FieldInfo, FieldCount> SettingsFields{{
    {Field::SphereDetail, "Sphere Detail:", FieldKind::Slider, 0, 8},
    {Field::OdoDetail, "Score Odometer Detail:", FieldKind::Slider, 6, 12},
    {Field::FPS, "Display FPS:", FieldKind::Toggle, 0, 1},
    {Field::Score, "Complex Score:", FieldKind::Toggle, 0, 1},
    {Field::Level, "Complex Level:", FieldKind::Toggle, 0, 1},
    {Field::Mask, "Masking:", FieldKind::Toggle, 0, 1},
    {Field::Mirror, "Mirror:", FieldKind::Toggle, 0, 1},
    {Field::Transparency, "Transparency:", FieldKind::Toggle, 0, 1},
    {Field::MsgTrans, "Message Transition Speed:", FieldKind::Slider, 1, 320},
    {Field::Sound, "Sound Effects:", FieldKind::Toggle, 0, 2},
    {Field::SoundVolume, "Sound Effects: volume", FieldKind::Volume, 0, 100},
    {Field::Music, "Background Music:", FieldKind::Toggle, 0, 2},
    {Field::MusicVolume, "Background Music: volume", FieldKind::Volume, 0, 100},
    {Field::Particles, "Particles:", FieldKind::Toggle, 0, 2},
    {Field::Key0, "Turn Left:", FieldKind::KeyCode, Int16Min, Int16Max},
    {Field::Key1, "Turn Right:", FieldKind::KeyCode, Int16Min, Int16Max},
    {Field::Key2, "Jump:", FieldKind::KeyCode, Int16Min, Int16Max},
    {Field::Key3, "Sharp Left:", FieldKind::KeyCode, Int16Min, Int16Max},
    {Field::Key4, "Sharp Right:", FieldKind::KeyCode, Int16Min, Int16Max},
}};

const FieldInfo &fieldInfo(Field f);

// Generic access, so loops over the table need not name each member.
std::int32_t fieldValue(const GameSettings &s, Field f);
void setFieldValue(GameSettings &s, Field f, std::int32_t v);  // caller keeps v in the field's type

}  // namespace trelvane
