#include "window/placement.h"

namespace trelvane {

namespace {

int placeAlong(int size, int start, int length)
{
    // Centred; a window that does not fit keeps its top and left edges, the title bar's, on the screen.
    return size >= length ? start : start + (length - size) / 2;
}

}  // namespace

ScreenPoint placeWindow(int frameWidth, int frameHeight, const ScreenRect &area)
{
    return {placeAlong(frameWidth, area.left, area.width), placeAlong(frameHeight, area.top, area.height)};
}

}  // namespace trelvane
