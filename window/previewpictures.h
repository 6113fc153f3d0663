#pragma once
// The preview pictures, each named once. The window shows them (the layout
// table names each row's picture, checked against this list in
// window/layouttable.cpp), assets/CMakeLists.txt embeds them (it reads the
// quoted names between the braces below), and tools/ draws them in this order.

#include <array>
#include <string_view>

namespace trelvane {

// File names under previews/, without ".jpg"; each is also drawn at twice the
// size as <name>@2x.jpg. Particles off has no picture of its own: the window
// shows transparency-off there.
// clang-format off
inline constexpr std::array<std::string_view, 29> PreviewPictures{
    "sphere-detail-0", "sphere-detail-1", "sphere-detail-2", "sphere-detail-3", "sphere-detail-4",
    "sphere-detail-5", "sphere-detail-6", "sphere-detail-7", "sphere-detail-8",
    "odometer-detail-0", "odometer-detail-1", "odometer-detail-2", "odometer-detail-3",
    "odometer-detail-4", "odometer-detail-5", "odometer-detail-6",
    "score-off", "score-on",
    "level-off", "level-on",
    "transparency-off", "transparency-on",
    "fps-off", "fps-on",
    "mask-off", "mask-on",
    "mirror-off", "mirror-on",
    "particles-on",
};
// clang-format on

}  // namespace trelvane
