#pragma once
// The one table of the settings file's fields: line, caption, how the value is
// read and written, and the range its control accepts. The reader, the range
// check and the window's sliders are all derived from it.

#include <array>
#include <cstdint>
#include <string_view>

#include "gamesettings.h"

namespace trelvane {

enum class Field {
    SphereDetail, OdoDetail, FPS, Score, Level, Mask, Mirror, Transparency,
    MsgTrans, Sound, SoundVolume, Music, MusicVolume, Particles,
    Key0, Key1, Key2, Key3, Key4,
};
inline constexpr int FieldCount = 19;

enum class FieldKind {
    Slider,  // 32-bit integer slider position
    Toggle,  // 16-bit check-box state
    Volume,  // slider position 0..100, written as position / 100
    KeyCode, // 16-bit key code; never range-checked (unknown codes show "ESCAPE")
};

struct FieldInfo {
    Field field;
    std::string_view caption;  // the label beside the control, for error messages
    FieldKind kind;
    std::int32_t min;          // range the control accepts (KeyCode: the 16-bit range)
    std::int32_t max;
};

extern const std::array<FieldInfo, FieldCount> SettingsFields;  // file order: line = index + 1

const FieldInfo &fieldInfo(Field f);

// Generic access, so loops over the table need not name each member.
std::int32_t fieldValue(const GameSettings &s, Field f);
void setFieldValue(GameSettings &s, Field f, std::int32_t v);  // caller keeps v in the field's type

}  // namespace trelvane
