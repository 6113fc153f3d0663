#include "settings/settingsfields.h"

#include <cstddef>
#include <type_traits>

namespace trelvane {

namespace {

constexpr bool rowsInEnumOrder()
{
    for (std::size_t i = 0; i < SettingsFields.size(); ++i) {
        if (static_cast<std::size_t>(SettingsFields[i].field) != i)
            return false;
    }
    return true;
}
// fieldInfo() indexes the table by the enum value.
static_assert(rowsInEnumOrder(), "settings fields must be listed in file order");

// A caption is the label beside the control, with its colon; a volume has no
// label and is named after the toggle before it. Key codes take any 16-bit value.
constexpr bool captionsAndRangesFollowTheirKinds()
{
    for (std::size_t i = 0; i < SettingsFields.size(); ++i) {
        const FieldInfo &f = SettingsFields[i];
        if (f.kind == FieldKind::Volume) {
            const std::string_view toggle = i > 0 ? SettingsFields[i - 1].caption : std::string_view();
            if (i == 0 || SettingsFields[i - 1].kind != FieldKind::Toggle || !f.caption.starts_with(toggle) ||
                f.caption.substr(toggle.size()) != " volume" || f.min != 0 || f.max != 100)
                return false;
        } else if (f.caption.empty() || f.caption.back() != ':') {
            return false;
        }
        if (f.min > f.max || (f.kind == FieldKind::Toggle && f.min != 0) ||
            (f.kind == FieldKind::KeyCode && (f.min != Int16Min || f.max != Int16Max)))
            return false;
    }
    return true;
}
static_assert(captionsAndRangesFollowTheirKinds(), "a caption or range does not fit its field's kind");

// How each field is read from and written to the record. A getter and a setter
// per field, since a pointer to a member cannot reach one slot of Keys.
struct FieldAccess {
    std::int32_t (*get)(const GameSettings &);
    void (*set)(GameSettings &, std::int32_t);  // the value already fits the member
};

template <auto Member> constexpr FieldAccess member()
{
    using Value = std::remove_cvref_t<decltype(GameSettings{}.*Member)>;
    return {[](const GameSettings &s) -> std::int32_t { return s.*Member; },
            [](GameSettings &s, std::int32_t v) { s.*Member = static_cast<Value>(v); }};
}

template <std::size_t Slot> constexpr FieldAccess key()
{
    return {[](const GameSettings &s) -> std::int32_t { return s.Keys[Slot]; },
            [](GameSettings &s, std::int32_t v) { s.Keys[Slot] = static_cast<std::int16_t>(v); }};
}

// Indexed by Field.
constexpr std::array<FieldAccess, FieldCount> Access{{
    member<&GameSettings::SphereDetail>(),
    member<&GameSettings::OdoDetail>(),
    member<&GameSettings::FPS>(),
    member<&GameSettings::Score>(),
    member<&GameSettings::Level>(),
    member<&GameSettings::Mask>(),
    member<&GameSettings::Mirror>(),
    member<&GameSettings::Transparency>(),
    member<&GameSettings::MsgTrans>(),
    member<&GameSettings::Sound>(),
    member<&GameSettings::SoundVolume>(),
    member<&GameSettings::Music>(),
    member<&GameSettings::MusicVolume>(),
    member<&GameSettings::Particles>(),
    key<0>(),
    key<1>(),
    key<2>(),
    key<3>(),
    key<4>(),
}};

// The record declares its values in file order, so field i must reach the i-th
// value and no other, and hold it in the width its kind says (16 bits for a
// check box or a key, 32 for a slider).
constexpr bool accessFollowsTheRecord()
{
    constexpr GameSettings Numbered{1000, 1001, 1002, 1003, 1004,
                                    1005, 1006, 1007, 1008, 1009,
                                    1010, 1011, 1012, 1013, {1014, 1015, 1016, 1017, 1018}};
    GameSettings s;
    for (std::size_t i = 0; i < Access.size(); ++i) {
        const auto value = static_cast<std::int32_t>(1000 + i);
        if (Access[i].get(Numbered) != value)
            return false;
        Access[i].set(s, value);
        GameSettings wide;
        constexpr std::int32_t Beyond16Bits = 0x12345;
        Access[i].set(wide, Beyond16Bits);
        const bool narrow = SettingsFields[i].kind == FieldKind::Toggle || SettingsFields[i].kind == FieldKind::KeyCode;
        if (Access[i].get(wide) != (narrow ? static_cast<std::int16_t>(Beyond16Bits) : Beyond16Bits))
            return false;
    }
    return s == Numbered;
}
static_assert(accessFollowsTheRecord(), "a field's getter or setter misses its member of GameSettings");

}  // namespace

const FieldInfo &fieldInfo(Field f) { return SettingsFields[static_cast<std::size_t>(f)]; }

std::int32_t fieldValue(const GameSettings &s, Field f) { return Access[static_cast<std::size_t>(f)].get(s); }

void setFieldValue(GameSettings &s, Field f, std::int32_t v) { Access[static_cast<std::size_t>(f)].set(s, v); }

}  // namespace trelvane
