#include "layouttable.h"

namespace trelvane {

namespace {
using K = ControlKind;
using L = Look;
}  // namespace

const std::array<ControlDef, 77> WindowLayout = {{
    {"chkParticles", -1, K::CheckBox, 6480, 4320, 255, 495, 8, ""},
    {"cmbKeys", 4, K::ComboBox, 8520, 4440, 1095, 315, 13, ""},
    {"cmbKeys", 0, K::ComboBox, 8520, 3000, 1095, 315, 9, ""},
    {"cmbKeys", 3, K::ComboBox, 8520, 4080, 1095, 315, 12, ""},
    {"cmbKeys", 2, K::ComboBox, 8520, 3720, 1095, 315, 11, ""},
    {"cmbKeys", 1, K::ComboBox, 8520, 3360, 1095, 315, 10, ""},
    {"sldMusic", -1, K::Slider, 3000, 6480, 6615, 495, 18, ""},
    {"sldSound", -1, K::Slider, 3000, 5880, 6615, 495, 16, ""},
    {"sldMsgTrans", -1, K::Slider, 480, 5160, 1935, 630, 14, ""},
    {"sldOdoDetail", -1, K::Slider, 2280, 1920, 1695, 495, 1, ""},
    {"sldSphereDetail", -1, K::Slider, 240, 1920, 1695, 495, 0, ""},
    {"cmdResetScores", -1, K::PushButton, 240, 7200, 2175, 495, 19, "Reset High &Scores"},
    {"chkMusic", -1, K::CheckBox, 2520, 6600, 255, 255, 17, ""},
    {"chkSound", -1, K::CheckBox, 2520, 6000, 255, 255, 15, ""},
    {"cmdCancel", -1, K::PushButton, 7320, 7200, 2295, 495, 22, "&Cancel"},
    {"cmdRestore", -1, K::PushButton, 4920, 7200, 2295, 495, 21, "&Restore Defaults"},
    {"cmdOK", -1, K::PushButton, 2520, 7200, 2295, 495, 20, "&OK"},
    {"tmrTransition", -1, K::Timer, 0, 0, 0, 0, -1, ""},
    {"chkTransparency", -1, K::CheckBox, 8880, 1920, 255, 495, 4, ""},
    {"chkMirror", -1, K::CheckBox, 4560, 4320, 255, 495, 7, ""},
    {"chkMask", -1, K::CheckBox, 2760, 4320, 255, 495, 6, ""},
    {"chkLevel", -1, K::CheckBox, 6960, 1920, 255, 495, 3, ""},
    {"chkScore", -1, K::CheckBox, 5040, 1920, 255, 495, 2, ""},
    {"chkFPS", -1, K::CheckBox, 960, 4320, 255, 495, 5, ""},
    {"imgParticles", 1, K::Picture, 5880, 3000, 1275, 1275, -1, "particles-on.jpg"},
    {"imgParticles", 0, K::Picture, 5880, 3000, 1275, 1275, -1, "transparency-off.jpg"},
    {"Label19", -1, K::Label, 5880, 2640, 645, 195, 43, "Particles:", L::FitText},
    {"Label18", -1, K::Label, 7560, 4440, 1215, 255, 42, "Sharp Right:"},
    {"Label16", -1, K::Label, 7560, 3000, 855, 255, 41, "Turn Left:"},
    {"Label17", -1, K::Label, 7320, 2640, 615, 195, 40, "Controls:", L::FitText},
    {"Label15", -1, K::Label, 7560, 3360, 1095, 255, 39, "Turn Right:"},
    {"Label14", -1, K::Label, 7560, 3720, 975, 255, 38, "Jump:"},
    {"Label13", -1, K::Label, 7560, 4080, 1095, 255, 37, "Sharp Left:"},
    {"Label12", -1, K::Label, 960, 6000, 1050, 195, 36, "Sound Effects:", L::FitText},
    {"Label11", -1, K::Label, 960, 6600, 1380, 195, 35, "Background Music:", L::FitText},
    {"Label10", -1, K::Label, 240, 5880, 450, 195, 34, "Audio:", L::FitText},
    {"Shape2", -1, K::Shape, 7800, 5040, 2175, 405, -1, "", L::ScrollbarFill},
    {"lblMsg", 1, K::Label, 7800, 5160, 930, 195, 33, "Message 2", L::MessageText},
    {"lblMsg", 0, K::Label, 4680, 5160, 930, 195, 32, "Message 1", L::MessageText},
    {"Label9", -1, K::Label, 240, 4920, 2175, 315, 31, "Message Transition Speed:"},
    {"imgTransparency", 1, K::Picture, 8400, 600, 1275, 1275, -1, "transparency-on.jpg"},
    {"imgTransparency", 0, K::Picture, 8400, 600, 1275, 1275, -1, "transparency-off.jpg"},
    {"Label8", -1, K::Label, 8160, 240, 1020, 195, 30, "Transparency:", L::FitText},
    {"imgMirror", 1, K::Picture, 4080, 3000, 1275, 1275, -1, "mirror-on.jpg"},
    {"imgMirror", 0, K::Picture, 4080, 3000, 1275, 1275, -1, "mirror-off.jpg"},
    {"Label7", -1, K::Label, 3840, 2640, 435, 195, 29, "Mirror:", L::FitText},
    {"imgMask", 1, K::Picture, 2280, 3000, 1275, 1275, -1, "mask-on.jpg"},
    {"imgMask", 0, K::Picture, 2280, 3000, 1275, 1275, -1, "mask-off.jpg"},
    {"Label6", -1, K::Label, 2040, 2640, 645, 195, 28, "Masking:", L::FitText},
    {"imgLevel", 1, K::Picture, 6480, 600, 1275, 1275, -1, "level-on.jpg"},
    {"imgLevel", 0, K::Picture, 6480, 600, 1275, 1275, -1, "level-off.jpg"},
    {"Label5", -1, K::Label, 6240, 240, 1080, 195, 27, "Complex Level:", L::FitText},
    {"imgScore", 1, K::Picture, 4560, 600, 1275, 1275, -1, "score-on.jpg"},
    {"Label4", -1, K::Label, 4320, 240, 1110, 195, 26, "Complex Score:", L::FitText},
    {"imgScore", 0, K::Picture, 4560, 600, 1275, 1275, -1, "score-off.jpg"},
    {"imgFPS", 1, K::Picture, 480, 3000, 1275, 1275, -1, "fps-on.jpg"},
    {"imgFPS", 0, K::Picture, 480, 3000, 1275, 1275, -1, "fps-off.jpg"},
    {"Label3", -1, K::Label, 240, 2640, 900, 195, 25, "Display FPS:", L::FitText},
    {"imgOdoDetail", 6, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-6.jpg"},
    {"imgOdoDetail", 5, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-5.jpg"},
    {"imgOdoDetail", 4, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-4.jpg"},
    {"imgOdoDetail", 3, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-3.jpg"},
    {"imgOdoDetail", 2, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-2.jpg"},
    {"imgOdoDetail", 1, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-1.jpg"},
    {"imgOdoDetail", 0, K::Picture, 2520, 600, 1275, 1275, -1, "odometer-detail-0.jpg"},
    {"Label2", -1, K::Label, 2280, 240, 1650, 195, 24, "Score Odometer Detail:", L::FitText},
    {"imgSphereDetail", 8, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-8.jpg"},
    {"imgSphereDetail", 7, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-7.jpg"},
    {"imgSphereDetail", 6, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-6.jpg"},
    {"imgSphereDetail", 5, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-5.jpg"},
    {"imgSphereDetail", 4, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-4.jpg"},
    {"imgSphereDetail", 3, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-3.jpg"},
    {"imgSphereDetail", 2, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-2.jpg"},
    {"imgSphereDetail", 1, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-1.jpg"},
    {"Label1", -1, K::Label, 240, 240, 1005, 195, 23, "Sphere Detail:", L::FitText},
    {"imgSphereDetail", 0, K::Picture, 480, 600, 1275, 1275, -1, "sphere-detail-0.jpg"},
    {"Shape1", -1, K::Shape, 2400, 5040, 5415, 405, -1, "", L::BlackFill},
}};

const ControlDef *findControl(std::string_view name, int index)
{
    for (const ControlDef &c : WindowLayout)
        if (c.name == name && c.index == index)
            return &c;
    return nullptr;
}

}  // namespace trelvane
