#pragma once
// Keeps the wheel from changing a setting that the player has not chosen to
// edit: a control so guarded takes the wheel only while it has the focus, and
// neither takes the focus from the wheel. Otherwise the wheel goes on to the
// window, as if the control were not there.

class QWidget;

namespace trelvane {

void takeWheelOnlyWithFocus(QWidget &control);

}  // namespace trelvane
