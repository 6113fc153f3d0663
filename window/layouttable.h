#pragma once
// Every control of the window, in stacking order (topmost first), with its
// place in twips, focus-order place and caption, the setting it shows or
// captions, and what part it plays. The window is built from this table alone.

#include <array>
#include <optional>
#include <string_view>

#include "settings/settingsfields.h"

namespace trelvane {

enum class ControlKind { CheckBox, ComboBox, Slider, PushButton, Timer, Picture, Label, Shape };

enum class Look {
    Plain,
    FitText,  // label sized to its text at its stored top-left
};

// Parts a control plays beyond showing a setting.
enum class Role {
    None,
    ShownAtStart,  // the one preview picture on show when the window is created
    StripSpeed,  // the slider whose value moves the sample messages
    Strip,  // the dark strip the sample messages cross
    StripCover,  // the box that hides a message entering from the right
    Message,  // a sample message of the strip; the index says which
    Ok,
    Cancel,
    Restore,
    ResetScores,
};

struct ControlDef {
    std::string_view name;  // control or control-array name
    int index;  // member of a control array, or -1
    ControlKind kind;
    int left, top, width, height;  // twips
    int tab;  // focus-order place; -1 for none
    std::string_view text;  // caption; for a picture, its image under :/previews/
    Look look = Look::Plain;
    // The setting a control shows, a picture previews or a label captions.
    std::optional<Field> field = std::nullopt;
    Role role = Role::None;

    // Control windows lie above every label, shape and picture.
    constexpr bool isWindowed() const
    {
        return kind == ControlKind::CheckBox || kind == ControlKind::ComboBox || kind == ControlKind::Slider ||
               kind == ControlKind::PushButton;
    }
    constexpr int right() const { return left + width; }
};

inline constexpr int WindowWidthTwips = 10020;
inline constexpr int WindowHeightTwips = 7950;
inline constexpr int TransitionIntervalMs = 25;

// One row a control, so that the table reads as the window does.
inline constexpr auto WindowLayout = [] {
    using K = ControlKind;
    using L = Look;
    using F = Field;
    using R = Role;
    // clang-format off
    return std::to_array<ControlDef>({
    {"chkParticles", -1, K::CheckBox, 6480, 4320, 255, 495, 8, "", L::Plain, F::Particles},
    {"cmbKeys", 4, K::ComboBox, 8520, 4440, 1095, 315, 13, "", L::Plain, F::Key4},
    {"cmbKeys", 0, K::ComboBox, 8520, 3000, 1095, 315, 9, "", L::Plain, F::Key0},
    {"cmbKeys", 3, K::ComboBox, 8520, 4080, 1095, 315, 12, "", L::Plain, F::Key3},
    {"cmbKeys", 2, K::ComboBox, 8520, 3720, 1095, 315, 11, "", L::Plain, F::Key2},
    {"cmbKeys", 1, K::ComboBox, 8520, 3360, 1095, 315, 10, "", L::Plain, F::Key1},
    {"sldMusic", -1, K::Slider, 3000, 6480, 6615, 495, 18, "", L::Plain, F::MusicVolume},
    {"sldSound", -1, K::Slider, 3000, 5880, 6615, 495, 16, "", L::Plain, F::SoundVolume},
    {"sldMsgTrans", -1, K::Slider, 480, 5160, 1935, 630, 14, "", L::Plain, F::MsgTrans, R::StripSpeed},
    {"sldOdoDetail", -1, K::Slider, 2280, 1920, 1695, 495, 1, "", L::Plain, F::OdoDetail},
    {"sldSphereDetail", -1, K::Slider, 240, 1920, 1695, 495, 0, "", L::Plain, F::SphereDetail},
    {"cmdResetScores", -1, K::PushButton, 240, 7200, 2175, 495, 19, "Reset High &Scores", L::Plain, {}, R::ResetScores},
    {"chkMusic", -1, K::CheckBox, 2520, 6600, 255, 255, 17, "", L::Plain, F::Music},
    {"chkSound", -1, K::CheckBox, 2520, 6000, 255, 255, 15, "", L::Plain, F::Sound},
    {"cmdCancel", -1, K::PushButton, 7320, 7200, 2295, 495, 22, "&Cancel", L::Plain, {}, R::Cancel},
    {"cmdRestore", -1, K::PushButton, 4920, 7200, 2295, 495, 21, "&Restore Defaults", L::Plain, {}, R::Restore},
    {"cmdOK", -1, K::PushButton, 2520, 7200, 2295, 495, 20, "&OK", L::Plain, {}, R::Ok},
    {"tmrTransition", -1, K::Timer, 0, 0, 0, 0, -1, ""},
    {"chkTransparency", -1, K::CheckBox, 8880, 1920, 255, 495, 4, "", L::Plain, F::Transparency},
    {"chkMirror", -1, K::CheckBox, 4560, 4320, 255, 495, 7, "", L::Plain, F::Mirror},
    {"chkMask", -1, K::CheckBox, 2760, 4320, 255, 495, 6, "", L::Plain, F::Mask},
    {"chkLevel", -1, K::CheckBox, 6960, 1920, 255, 495, 3, "", L::Plain, F::Level},
    {"chkScore", -1, K::CheckBox, 5040, 1920, 255, 495, 2, "", L::Plain, F::Score},
    {"chkFPS", -1, K::CheckBox, 960, 4320, 255, 495, 5, "", L::Plain, F::FPS},
    {"imgParticles", 1, K::Picture, 5880, 3000, 1275, 1275, -1, "particles-on.jpg", L::Plain, F::Particles},
    {"imgParticles", 0, K::Picture, 5880, 3000, 1275, 1275, -1, "transparency-off.jpg", L::Plain, F::Particles, R::ShownAtStart},
    {"Label19", -1, K::Label, 5880, 2640, 645, 195, 43, "Particles:", L::FitText, F::Particles},
    {"Label18", -1, K::Label, 7560, 4440, 1215, 255, 42, "Sharp Right:", L::Plain, F::Key4},
    {"Label16", -1, K::Label, 7560, 3000, 855, 255, 41, "Turn Left:", L::Plain, F::Key0},
    {"Label17", -1, K::Label, 7320, 2640, 615, 195, 40, "Controls:", L::FitText},
    {"Label15", -1, K::Label, 7560, 3360, 1095, 255, 39, "Turn Right:", L::Plain, F::Key1},
    {"Label14", -1, K::Label, 7560, 3720, 975, 255, 38, "Jump:", L::Plain, F::Key2},
    {"Label13", -1, K::Label, 7560, 4080, 1095, 255, 37, "Sharp Left:", L::Plain, F::Key3},
    {"Label12", -1, K::Label, 960, 6000, 1050, 195, 36, "Sound Effects:", L::FitText, F::Sound},
    {"Label11", -1, K::Label, 960, 6600, 1380, 195, 35, "Background Music:", L::FitText, F::Music},
    {"Label10", -1, K::Label, 240, 5880, 450, 195, 34, "Audio:", L::FitText},
    {"Shape2", -1, K::Shape, 7800, 5040, 2175, 405, -1, "", L::Plain, {}, R::StripCover},
    {"lblMsg", 1, K::Label, 7800, 5160, 930, 195, 33, "Message 2", L::FitText, {}, R::Message},
    {"lblMsg", 0, K::Label, 4680, 5160, 930, 195, 32, "Message 1", L::FitText, {}, R::Message},
    {"Label9", -1, K::Label, 240, 4920, 2175, 315, 31, "Message Transition Speed:", L::Plain, F::MsgTrans},
    {"imgTransparency", 1, K::Picture, 8400, 600, 1275, 1275, -1, "transparency-on.jpg", L::Plain, F::Transparency},
    {"imgTransparency", 0, K::Picture, 8400, 600, 1275, 1275, -1, "transparency-off.jpg", L::Plain, F::Transparency},
    {"Label8", -1, K::Label, 8160, 240, 1020, 195, 30, "Transparency:", L::FitText, F::Transparency},
    {"imgMirror", 1, K::Picture, 4080, 3000, 1275, 1275, -1, "mirror-on.jpg", L::Plain, F::Mirror},
    {"imgMirror", 0, K::Picture, 4080, 3000, 1275, 1275, -1, "mirror-off.jpg", L::Plain, F::Mirror},
    {"Label7", -1, K::Label, 3840, 2640, 435, 195, 29, "Mirror:", L::FitText, F::Mirror},
    {"imgMask", 1, K::Picture, 2280, 3000, 1275, 1275, -1, "mask-on.jpg", L::Plain, F::Mask},
    {"imgMask", 0, K::Picture, 2280, 3000, 1275, 1275, -1, "mask-off.jpg", L::Plain, F::Mask},
    {"Label6", -1, K::Label, 2040, 2640, 645, 195, 28, "Masking:", L::FitText, F::Mask},
    {"imgLevel", 1, K::Picture, 6480, 600, 1275, 1275, -1, "level-on.jpg", L::Plain, F::Level},
    {"imgLevel", 0, K::Picture, 6480, 600, 1275, 1275, -1, "level-off.jpg", L::Plain, F::Level},
    {"Label5", -1, K::Label, 6240, 240, 1080, 195, 27, "Complex Level:", L::FitText, F::Level},
    {"imgScore", 1, K::Picture, 4560, 600, 1275, 1275, -1, "score-on.jpg", L::Plain, F::Score},
    {"Label4", -1, K::Label, 4320, 240, 1110, 195, 26, "Complex Score:", L::FitText, F::Score},
    {"imgScore", 0, K::Picture, 4560, 600, 1275, 1275, -1, "score-off.jpg", L::Plain, F::Score},
    {"imgFPS", 1, K::Picture, 480, 3000, 1275, 1275, -1, "fps-on.jpg", L::Plain, F::FPS},
    {"imgFPS", 0, K::Picture, 480, 3000, 1275, 1275, -1, "fps-off.jpg", L::Plain, F::FPS},
    {"Label3", -1, K::Label, 240, 2640, 900, 195, 25, "Display FPS:", L::FitText, F::FPS},
    {"imgOdoDetail", 6, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-6.jpg", L::Plain, F::OdoDetail},
    {"imgOdoDetail", 5, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-5.jpg", L::Plain, F::OdoDetail},
    {"imgOdoDetail", 4, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-4.jpg", L::Plain, F::OdoDetail},
    {"imgOdoDetail", 3, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-3.jpg", L::Plain, F::OdoDetail},
    {"imgOdoDetail", 2, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-2.jpg", L::Plain, F::OdoDetail},
    {"imgOdoDetail", 1, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-1.jpg", L::Plain, F::OdoDetail},
    {"imgOdoDetail", 0, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-0.jpg", L::Plain, F::OdoDetail},
    {"Label2", -1, K::Label, 2280, 240, 1650, 195, 24, "Score Odometer Detail:", L::FitText, F::OdoDetail},
    {"imgSphereDetail", 8, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-8.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 7, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-7.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 6, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-6.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 5, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-5.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 4, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-4.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 3, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-3.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 2, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-2.jpg", L::Plain, F::SphereDetail},
    {"imgSphereDetail", 1, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-1.jpg", L::Plain, F::SphereDetail},
    {"Label1", -1, K::Label, 240, 240, 1005, 195, 23, "Sphere Detail:", L::FitText, F::SphereDetail},
    {"imgSphereDetail", 0, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-0.jpg", L::Plain, F::SphereDetail},
    {"Shape1", -1, K::Shape, 2400, 5040, 5415, 405, -1, "", L::Plain, {}, R::Strip},
    });
    // clang-format on
}();

// The rows of the control windows in focus order: the order Tab follows, from
// the control that has the focus when the window opens.
inline constexpr auto FocusOrder = [] {
    constexpr auto windowed = [] {
        std::size_t n = 0;
        for (const ControlDef &c : WindowLayout)
            n += c.isWindowed() ? 1 : 0;
        return n;
    }();
    std::array<int, windowed> rows{};
    int previous = -1;  // each next place in the order
    for (int &slot : rows) {
        slot = -1;
        for (std::size_t row = 0; row < WindowLayout.size(); ++row) {
            const ControlDef &c = WindowLayout[row];
            if (c.isWindowed() && c.tab > previous &&
                (slot < 0 || c.tab < WindowLayout[static_cast<std::size_t>(slot)].tab))
                slot = static_cast<int>(row);
        }
        // Out of the table, and so no constant, where two controls share a place.
        previous = WindowLayout.at(static_cast<std::size_t>(slot)).tab;
    }
    return rows;
}();

// The one row that plays a role (not for Role::Message, which two rows play).
const ControlDef &controlWith(Role role);

}  // namespace trelvane
