#include "window/windowlogic.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "keys/keycatalogue.h"
#include "scores/scorereset.h"
#include "settings/settingsfile.h"
#include "window/settingfacts.h"

namespace trelvane {

namespace {

// The rows that belong to one setting.
struct FieldRows {
    int holder = -1;  // the control that holds the value
    int caption = -1;  // the label beside it
    std::vector<int> pictures;  // by picture index; empty where there is no preview
};

int rowOf(const ControlDef &def) { return static_cast<int>(&def - WindowLayout.data()); }

const std::array<FieldRows, FieldCount> &fieldRows()
{
    static const std::array<FieldRows, FieldCount> rows = [] {
        std::array<FieldRows, FieldCount> out;
        for (const ControlDef &c : WindowLayout) {
            if (!c.field)
                continue;
            FieldRows &r = out[static_cast<std::size_t>(*c.field)];
            if (c.isWindowed())
                r.holder = rowOf(c);
            else if (c.kind == ControlKind::Label)
                r.caption = rowOf(c);
            else if (c.kind == ControlKind::Picture) {
                if (static_cast<int>(r.pictures.size()) <= c.index)
                    r.pictures.resize(c.index + 1, -1);
                r.pictures[c.index] = rowOf(c);
            }
        }
        return out;
    }();
    return rows;
}

const FieldRows &rowsOf(Field f) { return fieldRows()[static_cast<std::size_t>(f)]; }

// The sample messages' rows, by their index.
const std::array<int, 2> &messageRows()
{
    static const std::array<int, 2> rows = [] {
        std::array<int, 2> out{};
        for (const ControlDef &c : WindowLayout)
            if (c.role == Role::Message)
                out.at(c.index) = rowOf(c);
        return out;
    }();
    return rows;
}

// A setting is called by its caption, without the colon. A volume has no
// caption of its own: it is the volume of the toggle before it.
std::string nameOf(Field f)
{
    if (fieldInfo(f).kind == FieldKind::Volume)
        return nameOf(static_cast<Field>(static_cast<int>(f) - 1)) + " volume";
    std::string_view caption = fieldInfo(f).caption;
    caption.remove_suffix(1);
    return std::string(caption);
}

constexpr std::array<Field, 5> KeySlots = {Field::Key0, Field::Key1, Field::Key2, Field::Key3, Field::Key4};

constexpr int EscapeKey = codeOf("ESCAPE");
constexpr std::array<int, 2> EnterKeys = {codeOf("Return/Enter"), codeOf("Enter")};  // and the keypad's
static_assert(EscapeKey != 0 && EnterKeys[0] != 0 && EnterKeys[1] != 0);

}  // namespace

WindowLogic::WindowLogic(const std::filesystem::path &gameFolder, WindowView &view) : folder_(gameFolder), view_(view)
{
    // The state the window is made in: boxes clear, sliders at their minimum,
    // no key chosen, the sample messages at their first places.
    for (const FieldInfo &info : SettingsFields)
        values_[rowsOf(info.field).holder] = info.kind == FieldKind::KeyCode  ? -1
                                             : info.kind == FieldKind::Toggle ? 0
                                                                              : info.min;
    for (int i = 0; i < 2; ++i)
        values_[messageRows()[i]] = transition_.left(i);
}

int WindowLogic::holderRow(Field f) { return rowsOf(f).holder; }
int WindowLogic::captionRow(Field f) { return rowsOf(f).caption; }
int WindowLogic::value(int row) const { return values_.at(row); }

int WindowLogic::boxOfCaption(int row)
{
    // A caption beside a box speaks for it.
    const ControlDef &def = WindowLayout.at(row);
    return def.kind == ControlKind::Label && def.field && fieldInfo(*def.field).kind == FieldKind::Toggle
               ? holderRow(*def.field)
               : -1;
}

TwipsRect WindowLogic::messageClip()
{
    const ControlDef &strip = controlWith(Role::Strip);
    const int left = controlWith(Role::StripSpeed).right();
    return {left, strip.top, controlWith(Role::StripCover).left - left, strip.height};
}

std::string WindowLogic::accessibleName(int row)
{
    const ControlDef &def = WindowLayout.at(row);
    if (!def.field)
        return {};
    if (def.kind == ControlKind::Picture) {
        for (const PictureText &t : PictureTexts)
            if (t.field == def.field && t.index == def.index)
                return nameOf(*def.field) + " preview: " + std::string(t.shows);
    }
    return def.isWindowed() ? nameOf(*def.field) : std::string();
}

bool WindowLogic::load()
{
    for (const FieldInfo &info : SettingsFields) {
        describe(holderRow(info.field));
        describe(captionRow(info.field));
        for (const int picture : rowsOf(info.field).pictures)
            describe(picture);
    }
    view_.showWindow();
    GameSettings loaded;
    if (const auto error = loadSettingsFile(folder_, GameFile::Settings, ReadMode::StartUp, loaded)) {
        // A damaged file need not lock the player out: the factory settings are
        // offered when they would load, and nothing is written before OK.
        if (const auto factoryError = loadSettingsFile(folder_, GameFile::Factory, ReadMode::Factory, loaded)) {
            view_.askAfterLoadFailure(error->message() +
                                          "\nThe factory settings cannot be used either: " + factoryError->message() +
                                          "\n\nThe utility will now close; no file was changed.",
                                      false);
            return false;
        }
        if (view_.askAfterLoadFailure(error->message() + "\n\nNo file was changed. Close ends the utility. Use Factory "
                                                         "Settings fills the window from default.cfg; nothing is saved "
                                                         "until you press OK.",
                                      true) != LoadChoice::UseFactorySettings)
            return false;
    }
    apply(loaded);
    view_.startTimer(TransitionIntervalMs);
    return true;
}

void WindowLogic::apply(const GameSettings &s)
{
    // File order; each value is in its control, its handler run, before the next.
    for (const FieldInfo &info : SettingsFields) {
        const std::int32_t v = fieldValue(s, info.field);
        setControl(holderRow(info.field),
                   info.kind == FieldKind::KeyCode ? GetIndex(static_cast<std::int16_t>(v)) : static_cast<int>(v));
        // An unchanged value raised no handler: its picture is shown here.
        showPreview(info.field);
    }
}

GameSettings WindowLogic::settings() const
{
    GameSettings s;
    for (const FieldInfo &info : SettingsFields) {
        const int v = values_[holderRow(info.field)];
        setFieldValue(s, info.field, info.kind == FieldKind::KeyCode ? GetCode(static_cast<std::int16_t>(v)) : v);
    }
    return s;
}

void WindowLogic::setControl(int row, int v)
{
    if (values_[row] == v)
        return;
    values_[row] = v;
    view_.setValue(row, v);
    handleChange(row);
}

void WindowLogic::clicked(int row)
{
    endCapture();
    const ControlDef &def = WindowLayout.at(row);
    switch (def.kind) {
    case ControlKind::CheckBox:
        // A click goes between clear and checked; only a file can gray a box.
        setControl(row, values_[row] == 0 ? 1 : 0);
        break;
    case ControlKind::Label:
        if (const int box = boxOfCaption(row); box >= 0)
            clicked(box);
        break;
    case ControlKind::PushButton:
        switch (def.role) {
        case Role::Ok: ok(); break;
        case Role::Cancel: view_.close(0); break;
        case Role::Restore: restore(); break;
        case Role::ResetScores: resetScores(); break;
        default: break;
        }
        break;
    default: break;
    }
}

void WindowLogic::changed(int row, int value)
{
    endCapture();
    const ControlDef &def = WindowLayout.at(row);
    if (def.kind != ControlKind::Slider && def.kind != ControlKind::ComboBox)
        return;
    const FieldInfo &info = fieldInfo(*def.field);
    const int v = def.kind == ControlKind::Slider
                      ? std::clamp(value, static_cast<int>(info.min), static_cast<int>(info.max))
                      : std::clamp(value, -1, KeyCount - 1);
    if (v != value)
        view_.setValue(row, v);  // the control holds only what the setting can be
    if (values_[row] == v)
        return;
    values_[row] = v;
    handleChange(row);
}

void WindowLogic::handleChange(int row)
{
    const ControlDef &def = WindowLayout[row];
    switch (def.kind) {
    case ControlKind::CheckBox:
        showPreview(*def.field);
        describe(row);  // a box that is no longer grayed says so
        describe(captionRow(*def.field));
        break;
    case ControlKind::Slider: showPreview(*def.field); break;
    case ControlKind::ComboBox: describeKeys(); break;
    default: break;
    }
}

// The picture for the value shown, the others hidden: what every change of the value runs.
void WindowLogic::showPreview(Field f)
{
    const std::vector<int> &pictures = rowsOf(f).pictures;
    if (pictures.empty())
        return;
    const int v = values_[holderRow(f)];
    if (fieldInfo(f).kind == FieldKind::Toggle) {
        // Both flags are written every time, so a pair left in any state is mended.
        view_.setShown(pictures[0], v == 0);
        view_.setShown(pictures[1], v != 0);
        return;
    }
    const int index = v - fieldInfo(f).min;
    for (const int picture : pictures)
        view_.setShown(picture, false);
    if (index >= 0 && index < static_cast<int>(pictures.size()))
        view_.setShown(pictures[index], true);
}

void WindowLogic::describe(int row)
{
    if (row < 0)
        return;
    const ControlDef &def = WindowLayout[row];
    const Field f = *def.field;
    std::string text(factsOf(f).explains);
    bool marked = false;
    if (def.kind != ControlKind::Picture) {
        const int v = values_[holderRow(f)];
        if (fieldInfo(f).kind == FieldKind::Toggle && v == 2)
            text += ' ' + std::string(GrayedNote);
        if (fieldInfo(f).kind == FieldKind::KeyCode && v >= 0) {
            // The game would take one key for two moves.
            std::vector<std::string> others;
            for (const Field slot : KeySlots)
                if (slot != f && values_[holderRow(slot)] == v)
                    others.push_back(nameOf(slot));
            if (!others.empty()) {
                text += " Also bound to ";
                for (std::size_t i = 0; i < others.size(); ++i)
                    text += (i == 0 ? "" : i + 1 == others.size() ? " and " : ", ") + others[i];
                text += '.';
                marked = def.kind == ControlKind::ComboBox;
            }
        }
    }
    if (def.kind == ControlKind::ComboBox)
        text += ' ' + std::string(KeyListHint);
    if (row == capturing_)
        text = (refused_ ? std::string(KeyRefusedNote) + ' ' : std::string()) + "Press the key for " + nameOf(f) +
               "; Escape cancels.";
    if (text == said_[row] && marked == marked_[row])
        return;
    said_[row] = text;
    marked_[row] = marked;
    view_.setDescription(row, text, marked);
}

void WindowLogic::describeKeys()
{
    for (const Field slot : KeySlots) {
        describe(holderRow(slot));
        describe(captionRow(slot));
    }
}

bool WindowLogic::keyPressed(int row, int code, bool repeated)
{
    if (WindowLayout.at(row).kind != ControlKind::ComboBox)
        return false;
    if (row != capturing_) {
        endCapture();
        if (repeated || std::find(EnterKeys.begin(), EnterKeys.end(), code) == EnterKeys.end())
            return false;  // the list's own keys: arrows, type-ahead
        capturing_ = row;
        view_.setKeyListPrompt(row, KeyPrompt);
        describe(row);
        return true;
    }
    if (repeated)
        return true;  // a held Enter must not set itself
    if (code == EscapeKey) {
        endCapture();
        return true;
    }
    if (!inCatalogue(code)) {
        if (!refused_) {
            refused_ = true;
            view_.setKeyListPrompt(row, KeyRefusedPrompt);
            describe(row);
        }
        return true;
    }
    capturing_ = -1;
    refused_ = false;
    view_.setKeyListPrompt(row, {});
    // As if the player had picked the key from the list.
    setControl(row, GetIndex(static_cast<std::int16_t>(code)));
    describe(row);
    return true;
}

void WindowLogic::endCapture()
{
    if (capturing_ < 0)
        return;
    const int row = capturing_;
    capturing_ = -1;
    refused_ = false;
    view_.setKeyListPrompt(row, {});
    describe(row);
}

void WindowLogic::tick()
{
    transition_.tick(values_[holderRow(Field::MsgTrans)]);
    for (int i = 0; i < 2; ++i) {
        const int row = messageRows()[i];
        if (values_[row] == transition_.left(i))
            continue;  // held labels cost nothing
        values_[row] = transition_.left(i);
        view_.moveMessage(row, values_[row]);
    }
}

void WindowLogic::ok()
{
    if (const auto error = saveSettingsFile(folder_, settings())) {
        if (!error->contentSaved()) {
            // Keep the window and every change, so the player can fix the cause and retry.
            view_.showError(error->message() + (error->mayBeIncomplete ? " Press OK again to rewrite it." : "") +
                            "\n\nYour changes are still in the window.");
            return;
        }
        // Written in full: the player hears of the doubt, and leaves as after any save.
        view_.showError(error->message());
    }
    view_.close(0);
}

void WindowLogic::restore()
{
    // The whole file is read and checked before any control changes.
    GameSettings factory;
    if (const auto error = loadSettingsFile(folder_, GameFile::Factory, ReadMode::Factory, factory)) {
        view_.showError(error->message() + "\n\nThe settings in the window were not changed.");
        return;
    }
    apply(factory);
}

void WindowLogic::resetScores()
{
    if (!view_.askYesNo("Reset Confirmation", "Are you sure you wish to reset high scores?"))
        return;
    if (const auto error = resetHighScores(folder_)) {
        std::string text = error->message();
        if (error->mayBeIncomplete)
            text += " Press Reset High Scores again to rewrite it.";
        else if (!error->contentSaved() && !error->copiesElsewhere())
            text += "\n\nThe high scores were not changed.";
        view_.showError(text);
    }
}

}  // namespace trelvane
