// The window's place on a screen: centred, and never with its title bar off
// the free area, whatever the scale made of its size.
#include <gtest/gtest.h>

#include "window/placement.h"

namespace trelvane {
namespace {

struct Case {
    int width, height;
    ScreenRect area;
    ScreenPoint expected;
};

TEST(PlacementTest, CentredInsideTheAreaOrAtItsTopLeft)
{
    const Case cases[] = {
        {668, 530, {0, 0, 1280, 1024}, {306, 247}},  // 100 %, odd remainder dropped
        {1002, 795, {0, 27, 1280, 997}, {139, 128}},  // 150 %, below a top panel
        {1336, 1060, {0, 0, 1280, 1024}, {0, 0}},  // 200 %: larger both ways
        {1336, 900, {1920, 0, 1280, 1024}, {1920, 62}},  // wider only, on a second screen
        {600, 1060, {-1280, 40, 1280, 984}, {-940, 40}},  // taller only, left of the primary
        {1280, 1024, {0, 0, 1280, 1024}, {0, 0}},  // exactly the area
    };
    for (const Case &c : cases) {
        const ScreenPoint at = placeWindow(c.width, c.height, c.area);
        EXPECT_EQ(at, c.expected) << c.width << "x" << c.height << " got " << at.x << "," << at.y;
    }
}

}  // namespace
}  // namespace trelvane
