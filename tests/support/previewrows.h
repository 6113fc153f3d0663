#pragma once
// The controls with previews, by the names the window gives them; shared by the
// logic's and the Qt window's tests.

#include <string>
#include <vector>

// Every control with a preview and its picture group: the two detail sliders, then the seven check boxes.
struct Preview {
    const char *control;
    std::string group;
};
inline const std::vector<Preview> Previews = {{"sldSphereDetail", "imgSphereDetail"},
                                              {"sldOdoDetail", "imgOdoDetail"},
                                              {"chkFPS", "imgFPS"},
                                              {"chkScore", "imgScore"},
                                              {"chkLevel", "imgLevel"},
                                              {"chkMask", "imgMask"},
                                              {"chkMirror", "imgMirror"},
                                              {"chkTransparency", "imgTransparency"},
                                              {"chkParticles", "imgParticles"}};
