#pragma once
// Everything the window does, apart from any toolkit: load, the previews, the
// strip's motion, Restore, OK, Reset, the load-error choice and what screen
// readers are told. It drives a WindowView and is driven by the view's events.
//
// Where a control of the original toolkit raises its click or change event
// when a program step gives it a different value, the logic runs that
// handler itself; views set values with their own notifications blocked.

#include <array>
#include <filesystem>
#include <string>

#include "files/gamefolder.h"
#include "preview/messagetransition.h"
#include "settings/gamesettings.h"
#include "settings/settingsfields.h"
#include "window/layouttable.h"
#include "window/windowview.h"

namespace trelvane {

// Twips from the window's top-left corner.
struct TwipsRect {
    int left, top, width, height;
};

class WindowLogic {
public:
    WindowLogic(const std::filesystem::path &gameFolder, WindowView &view);

    // Form_Load. The view has made every control from WindowLayout: key
    // lists filled from KeyCatalogue with nothing selected, every picture
    // hidden but the Role::ShownAtStart one. Shows the window, loads
    // trelvane.cfg (offering the factory settings when it is bad) and starts
    // the timer. False when the program is to end (status 1); all said already.
    bool load();

    // The player's events, by layout row.
    // A check box, its caption (which acts as the box) or a push button. A box
    // is not changed by the click itself: the logic sets its new value.
    void clicked(int row);
    // A slider moved or a key chosen by the player: the control holds `value` already.
    void changed(int row, int value);
    void tick();  // tmrTransition_Timer
    // A key pressed on a focused, closed key list, as the game's code for it
    // (0: no key of the catalogue); `repeated`: the keyboard's auto-repeat.
    // Enter makes the list wait for a key, and the next key is then the
    // list's. True when the logic took the key: the view lets it do nothing
    // else, and keeps its release too.
    bool keyPressed(int row, int code, bool repeated);
    // The focus left the key list, or the mouse was pressed: a list waiting
    // for a key stops waiting.
    void keyListLeft() { endCapture(); }
    // The key list waiting for a key, or -1.
    int capturing() const { return capturing_; }

    // What the view was last told, or the player set; for a sample message, its left in twips.
    int value(int row) const;

    // The settings as the controls hold them, in the file's form.
    GameSettings settings() const;
    const MessageTransition &transition() const { return transition_; }

    // Where the sample messages are seen: between the speed slider and the box at the right.
    static TwipsRect messageClip();
    // What assistive tools call a row's control or picture ("Sphere Detail",
    // "Sound Effects volume", "Mirror preview: on, ..."); empty where the
    // toolkit's own name (a button's caption) serves.
    static std::string accessibleName(int row);
    // The row of the control that holds a field's value, and of the caption beside it (-1: none).
    static int holderRow(Field f);
    static int captionRow(Field f);
    // The check box that a click on this row's caption acts for, as a click on the
    // box itself; -1 where a click on the row does nothing.
    static int boxOfCaption(int row);

private:
    void apply(const GameSettings &s);
    // A program step: the value and, when it differs, the control's own handler.
    void setControl(int row, int v);
    void handleChange(int row);
    void showPreview(Field f);
    void describe(int row);
    void describeKeys();
    void endCapture();
    void ok();
    void restore();
    void resetScores();

    GameFolder folder_;
    WindowView &view_;
    std::array<int, WindowLayout.size()> values_{};
    std::array<std::string, WindowLayout.size()> said_{};  // the description last given, to skip repeats
    std::array<bool, WindowLayout.size()> marked_{};
    MessageTransition transition_;
    int capturing_ = -1;  // the key list waiting for a key
    bool refused_ = false;  // it was given a key the game cannot use
};

}  // namespace trelvane
