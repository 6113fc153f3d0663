#pragma once
// Window coordinates are kept in twips (1/1440 inch); this is the one place
// where they become pixels. Qt's high-DPI scaling handles larger screens.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace trelvane {

inline constexpr int TwipsPerPixel = 15;

constexpr int toPixels(int twips)
{
    // Round to nearest; every coordinate in the layout is a whole pixel anyway.
    return (twips >= 0 ? twips + TwipsPerPixel / 2 : twips - TwipsPerPixel / 2) / TwipsPerPixel;
}

inline QPoint toPixels(int leftTwips, int topTwips) { return {toPixels(leftTwips), toPixels(topTwips)}; }

inline QRect toPixels(int leftTwips, int topTwips, int widthTwips, int heightTwips)
{
    return {toPixels(leftTwips), toPixels(topTwips), toPixels(widthTwips), toPixels(heightTwips)};
}

}  // namespace trelvane
