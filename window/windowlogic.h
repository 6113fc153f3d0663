#pragma once
// Everything the window does, apart from any toolkit: load, the previews, the
// strip's motion, Restore, OK, Reset, the load-error choice and what screen
// readers are told. It drives a WindowView and is driven by the view's
// events. (Outline: the implementation follows.)

#include <filesystem>

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
    void clicked(int row);  // a check box (or its caption) or a push button
    void changed(int row, int value);  // a slider moved or a key chosen by the player
    void tick();  // tmrTransition_Timer

    int value(int row) const;  // what the view was last told, or the player set

    // Where the sample messages are seen.
    static TwipsRect messageClip();
};

}  // namespace trelvane
