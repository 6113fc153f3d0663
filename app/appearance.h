#pragma once
// What the window carries with it so that it looks the same on every machine:
// its icon at every size a desktop may ask for.

#include <QIcon>

namespace trelvane {

// The emblem at 16 to 256 pixels; each size is decoded only when asked for.
QIcon windowIconSet();

}  // namespace trelvane
