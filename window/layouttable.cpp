#include "window/layouttable.h"

#include <algorithm>

#include "preview/messagetransition.h"
#include "window/previewpictures.h"
#include "window/settingfacts.h"

namespace trelvane {

namespace {

constexpr int count(Role role)
{
    int n = 0;
    for (const ControlDef &c : WindowLayout)
        n += c.role == role ? 1 : 0;
    return n;
}

// Every field has exactly one control window that holds its value, of the kind the value needs.
constexpr bool everyFieldHasItsControl()
{
    for (const FieldInfo &info : SettingsFields) {
        int holders = 0;
        for (const ControlDef &c : WindowLayout) {
            if (c.field != info.field || !c.isWindowed())
                continue;
            const ControlKind wanted = info.kind == FieldKind::Toggle    ? ControlKind::CheckBox
                                       : info.kind == FieldKind::KeyCode ? ControlKind::ComboBox
                                                                         : ControlKind::Slider;
            if (c.kind != wanted)
                return false;
            ++holders;
        }
        if (holders != 1)
            return false;
    }
    return true;
}

// A preview row holds one picture for each value of its setting, numbered from 0.
constexpr bool previewRowsMatchTheirRanges()
{
    for (const FieldInfo &info : SettingsFields) {
        int pictures = 0, highest = -1;
        for (const ControlDef &c : WindowLayout) {
            if (c.field == info.field && c.kind == ControlKind::Picture) {
                ++pictures;
                highest = c.index > highest ? c.index : highest;
            }
        }
        const int wanted = pictures == 0 ? 0 : info.kind == FieldKind::Toggle ? 2 : info.max - info.min + 1;
        if (pictures != wanted || highest != pictures - 1)
            return false;
    }
    return true;
}

// A caption beside a control is the field's own caption, the one error messages use.
constexpr bool captionsAreTheFieldsCaptions()
{
    for (const ControlDef &c : WindowLayout)
        if (c.kind == ControlKind::Label && c.field &&
            c.text != SettingsFields[static_cast<std::size_t>(*c.field)].caption)
            return false;
    return true;
}

// Every picture has its words for assistive tools, and every such text its picture.
constexpr bool everyPictureIsDescribed()
{
    std::size_t pictures = 0;
    for (const ControlDef &c : WindowLayout) {
        if (c.kind != ControlKind::Picture)
            continue;
        ++pictures;
        int texts = 0;
        for (const PictureText &t : PictureTexts)
            texts += t.field == c.field && t.index == c.index ? 1 : 0;
        if (texts != 1)
            return false;
    }
    return pictures == PictureTexts.size();
}

// A picture row shows a preview picture by its file name.
constexpr bool shows(const ControlDef &c, std::string_view picture)
{
    constexpr std::string_view Jpeg = ".jpg";
    return c.kind == ControlKind::Picture && c.text.size() == picture.size() + Jpeg.size() &&
           c.text.starts_with(picture) && c.text.ends_with(Jpeg);
}

// Every picture row shows one of the preview pictures, and each of them is shown.
constexpr bool picturesAreThePreviewPictures()
{
    const auto shownBy = [](const ControlDef &c) {
        return std::any_of(PreviewPictures.begin(), PreviewPictures.end(), [&](auto p) { return shows(c, p); });
    };
    const auto shown = [](std::string_view p) {
        return std::any_of(WindowLayout.begin(), WindowLayout.end(), [&](const auto &c) { return shows(c, p); });
    };
    return std::all_of(WindowLayout.begin(), WindowLayout.end(),
                       [&](const ControlDef &c) { return c.kind != ControlKind::Picture || shownBy(c); }) &&
           std::all_of(PreviewPictures.begin(), PreviewPictures.end(), shown);
}

constexpr const ControlDef &row(Role role, int index = -1)
{
    for (const ControlDef &c : WindowLayout)
        if (c.role == role && (index < 0 || c.index == index))
            return c;
    return WindowLayout.front();
}

// The strip's stops: a message waits out of sight under the box at the right,
// is read where the layout first puts it, and leaves out of sight under the speed slider.
constexpr bool stripStopsFollowTheLayout()
{
    using T = MessageTransition;
    const ControlDef &shown = row(Role::Message, 0), &waiting = row(Role::Message, 1);
    return T::DisplayLeft == shown.left && T::EntryLeft == waiting.left && T::EntryLeft >= row(Role::StripCover).left &&
           T::ExitLeft + shown.width <= row(Role::StripSpeed).right() && shown.width == waiting.width &&
           T::DisplayLeft >= row(Role::StripSpeed).right() &&
           T::DisplayLeft + shown.width <= row(Role::StripCover).left;
}

static_assert(everyFieldHasItsControl(), "each setting needs one control of its kind");
static_assert(captionsAreTheFieldsCaptions(), "a caption differs from its field's");
static_assert(picturesAreThePreviewPictures(), "a picture row names no preview picture, or a picture is not shown");
static_assert(everyPictureIsDescribed(), "a picture lacks its description, or a description its picture");
static_assert(stripStopsFollowTheLayout(), "the strip's stops no longer match the layout");
static_assert(previewRowsMatchTheirRanges(), "a preview row needs one picture per value");
static_assert(count(Role::ShownAtStart) == 1 && count(Role::StripSpeed) == 1 && count(Role::Strip) == 1 &&
                  count(Role::StripCover) == 1 && count(Role::Message) == 2 && count(Role::Ok) == 1 &&
                  count(Role::Cancel) == 1 && count(Role::Restore) == 1 && count(Role::ResetScores) == 1,
              "each role is played once, the message twice");

}  // namespace

const ControlDef &controlWith(Role role)
{
    for (const ControlDef &c : WindowLayout)
        if (c.role == role)
            return c;
    return WindowLayout.front();  // not reached: every role is in the table (checked above)
}

}  // namespace trelvane
