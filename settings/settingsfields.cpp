#include "settings/settingsfields.h"

#include <cstddef>

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

}  // namespace

const FieldInfo &fieldInfo(Field f) { return SettingsFields[static_cast<std::size_t>(f)]; }

std::int32_t fieldValue(const GameSettings &s, Field f)
{
    switch (f) {
    case Field::SphereDetail: return s.SphereDetail;
    case Field::OdoDetail: return s.OdoDetail;
    case Field::FPS: return s.FPS;
    case Field::Score: return s.Score;
    case Field::Level: return s.Level;
    case Field::Mask: return s.Mask;
    case Field::Mirror: return s.Mirror;
    case Field::Transparency: return s.Transparency;
    case Field::MsgTrans: return s.MsgTrans;
    case Field::Sound: return s.Sound;
    case Field::SoundVolume: return s.SoundVolume;
    case Field::Music: return s.Music;
    case Field::MusicVolume: return s.MusicVolume;
    case Field::Particles: return s.Particles;
    case Field::Key0: return s.Keys[0];
    case Field::Key1: return s.Keys[1];
    case Field::Key2: return s.Keys[2];
    case Field::Key3: return s.Keys[3];
    case Field::Key4: return s.Keys[4];
    }
    return 0;
}

void setFieldValue(GameSettings &s, Field f, std::int32_t v)
{
    const auto i16 = static_cast<std::int16_t>(v);
    switch (f) {
    case Field::SphereDetail: s.SphereDetail = v; break;
    case Field::OdoDetail: s.OdoDetail = v; break;
    case Field::FPS: s.FPS = i16; break;
    case Field::Score: s.Score = i16; break;
    case Field::Level: s.Level = i16; break;
    case Field::Mask: s.Mask = i16; break;
    case Field::Mirror: s.Mirror = i16; break;
    case Field::Transparency: s.Transparency = i16; break;
    case Field::MsgTrans: s.MsgTrans = v; break;
    case Field::Sound: s.Sound = i16; break;
    case Field::SoundVolume: s.SoundVolume = v; break;
    case Field::Music: s.Music = i16; break;
    case Field::MusicVolume: s.MusicVolume = v; break;
    case Field::Particles: s.Particles = i16; break;
    case Field::Key0: s.Keys[0] = i16; break;
    case Field::Key1: s.Keys[1] = i16; break;
    case Field::Key2: s.Keys[2] = i16; break;
    case Field::Key3: s.Keys[3] = i16; break;
    case Field::Key4: s.Keys[4] = i16; break;
    }
}

}  // namespace trelvane
