#pragma once
// The layout's twips as Qt's pixels, at the layout's own density: Qt's
// high-DPI scaling handles denser screens.

#include <QPoint>
#include <QRect>
#include <QSize>

#include "window/pixels.h"

namespace trelvane {

constexpr int toPixels(int twips) { return twipsToPixels(twips); }

inline QPoint toPixels(int leftTwips, int topTwips) { return {toPixels(leftTwips), toPixels(topTwips)}; }

inline QRect toPixels(int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    return {toPixels(leftTwips), toPixels(topTwips), toPixels(widthTwips), toPixels(heightTwips)};
}

}  // namespace trelvane
