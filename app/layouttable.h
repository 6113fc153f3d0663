#pragma once
// Every control of the window, in stacking order (topmost first), with its
// place in twips, focus-order place and caption.

#include <array>
#include <string_view>

namespace trelvane {

enum class ControlKind { CheckBox, ComboBox, Slider, PushButton, Timer, Picture, Label, Shape };

enum class Look {
    Plain,
    FitText,        // label sized to its text at its stored top-left
    MessageText,    // yellow bold text on the preview strip
    BlackFill,      // the dark preview strip
    ScrollbarFill,  // the box that hides a message entering from the right
};

struct ControlDef {
    std::string_view name;  // control or control-array name
    int index;              // member of a control array, or -1
    ControlKind kind;
    int left, top, width, height;  // twips
    int tab;                // focus-order place; -1 for none
    std::string_view text;  // caption; for a picture, its image under :/previews/
    Look look = Look::Plain;

    // Control windows lie above every label, shape and picture.
    constexpr bool isWindowed() const
    {
        return kind == ControlKind::CheckBox || kind == ControlKind::ComboBox ||
               kind == ControlKind::Slider || kind == ControlKind::PushButton;
    }
    constexpr int right() const { return left + width; }
};

inline constexpr int WindowWidthTwips = 10020;
inline constexpr int WindowHeightTwips = 7950;
inline constexpr int TransitionIntervalMs = 25;

extern const std::array<ControlDef, 77> WindowLayout;

// The row of a control by name (and array index); nullptr if there is none.
const ControlDef *findControl(std::string_view name, int index = -1);

}  // namespace trelvane
