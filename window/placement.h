#pragma once
// Where the window opens: centred in the screen's free area (without task
// bars and panels), moved inside it where the window would stick out, so that
// its title bar and close box can be reached. In pixels of any one unit.

namespace trelvane {

struct ScreenPoint {
    int x, y;
    friend bool operator==(const ScreenPoint &, const ScreenPoint &) = default;
};

struct ScreenRect {
    int left, top, width, height;
};

// The top-left corner of a window whose frame (title bar and borders
// included) is frameWidth × frameHeight. Along an axis where the frame is
// larger than the area, the frame starts where the area starts.
ScreenPoint placeWindow(int frameWidth, int frameHeight, const ScreenRect &area);

}  // namespace trelvane
