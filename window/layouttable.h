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

extern const std::array<ControlDef, 77> WindowLayout;

// The one row that plays a role (not for Role::Message, which two rows play).
const ControlDef &controlWith(Role role);

}  // namespace trelvane
