// The window's place: centred, and never with its title bar off the screen's free area.
#include <gtest/gtest.h>

#include "window/placement.h"

namespace trelvane {
namespace {

TEST(PlacementTest, CentredInsideTheAreaOrAtItsTopLeft)
{
    const struct {
        int width, height;
        ScreenRect area;
        ScreenPoint expected;
    } cases[] = {
        {668, 530, {0, 0, 1280, 1024}, {306, 247}},  // 100 %
        {1002, 795, {0, 27, 1280, 997}, {139, 128}},  // 150 %, below a top panel
        {1336, 1060, {0, 0, 1280, 1024}, {0, 0}},  // 200 %: larger both ways
        {1336, 900, {-1280, 0, 1280, 1024}, {-1280, 62}},  // wider only, on a screen left of the first
        {667, 529, {0, 0, 1280, 1024}, {306, 247}},  // an odd pixel left over each way goes right and below
    };
    for (const auto &c : cases)
        EXPECT_EQ(placeWindow(c.width, c.height, c.area), c.expected) << c.width << "x" << c.height;
}

}  // namespace
}  // namespace trelvane
