#pragma once
// What the window carries with it so that it looks the same on every machine:
// its own font, whatever fonts are installed, and its icon at every size a
// desktop may ask for.

#include <QFont>
#include <QIcon>

class QWidget;

namespace trelvane {

// The font of every caption, button, check box and key list: the embedded
// one that window/look.h names, at its size. The first call registers the font.
QFont windowFont();

// Has tooltips and message boxes, which are windows of their own and so do
// not inherit the window's font, use windowFont() too.
void lendWindowFontToPopups();

// The emblem at 16 to 256 pixels; each size is decoded only when asked for.
QIcon windowIconSet();

// Sets windowIconSet() as the window's icon, the sizes above 64 pixels only
// once the window has painted its first frame.
void giveWindowIcon(QWidget &window);

}  // namespace trelvane
