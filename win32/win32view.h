#pragma once
// The window on Windows: the platform's own controls made from WindowLayout,
// the labels, shapes, pictures and sample messages painted by the window
// beneath them, and every event passed on to WindowLogic.
//
// One class, its parts in files by job: the window and its message loop
// (win32view.cpp), making and placing the controls (controls.cpp), the keys
// of a key list and of the dialog (keys.cpp), painting (painting.cpp), and
// what tips and screen readers are told (descriptions.cpp).

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <bitset>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/accessible.h"
#include "win32/handles.h"
#include "win32/hooks.h"
#include "win32/pictures.h"
#include "window/layouttable.h"
#include "window/pixels.h"
#include "window/windowlogic.h"
#include "window/windowview.h"

namespace trelvane {

class Win32View : public WindowView, private AccessibleSource {
public:
    // Makes the window, hidden, with every control of the layout at its
    // starting state.
    explicit Win32View(HINSTANCE instance);
    ~Win32View() override;
    Win32View(const Win32View &) = delete;
    Win32View &operator=(const Win32View &) = delete;

    // The logic that the player's events go to; set before the window is shown.
    void drive(WindowLogic &logic) { logic_ = &logic; }
    // Runs the window until it is closed; the program's exit status.
    int run();

    HWND handle() const { return window_; }

    void setValue(int row, int value) override;
    void setShown(int row, bool shown) override;
    void moveMessage(int row, int leftTwips) override;
    void setDescription(int row, std::string_view text, bool marked) override;
    void setKeyListPrompt(int row, std::string_view prompt) override;
    void showWindow() override;
    void startTimer(int intervalMs) override;
    bool askYesNo(std::string_view title, std::string_view question) override;
    void showError(std::string_view message) override;
    LoadChoice askAfterLoadFailure(std::string_view message, bool factoryOffered) override;
    void close(int status) override;

private:
    static constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    // Control IDs stay clear of IDOK and IDCANCEL, which IsDialogMessage sends for Enter and Escape.
    static constexpr int FirstControlId = 100;

    struct Row {
        HWND control = nullptr;  // control windows only
        HWND caption = nullptr;  // the name screen readers give the control
        RECT rect{};  // pixels in the client area
        bool shown = true;  // pictures
        int leftTwips = 0;  // sample messages
        std::wstring description;
        std::wstring prompt;  // a key list waiting for a key shows it for the key
        bool marked = false;
        bool described = false;
        bool hasTip = false;
        bool nameCut = false;  // key lists: the box shows less than the whole name
    };

    // The window and its message loop.
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The sliders and key lists, with the view each belongs to.
    static inline ProcedureHooks<Win32View *> hookedControls_;
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void reveal();
    void command(int id, int code, HWND from);
    void sliderMoved(HWND slider);
    int rowOf(HWND control) const;
    // The caption under a point whose click is a click on a check box; -1 for none.
    int captionAt(POINT p) const;

    // Keys: a key for a key list, or a click that ends its wait; true when the key was the logic's.
    bool captureKey(const MSG &message);
    bool takeKey(const MSG &message);

    // Making the controls from the table, at the window's DPI.
    int px(int twips) const { return twipsToPixels(twips, dpi_); }
    int scaled(int pixels) const { return scaledPixels(pixels, dpi_); }
    RECT pixels(int left, int top, int width, int height) const;
    void makeFonts();
    void makeControls();
    HWND makeControl(int row);
    void measure();
    void placeControls();
    void fitKeyListBox(int row) const;
    // A key list's box holds its selected key in this height; the border makes up the rest.
    int keyBoxItemHeight(int row) const { return rows_[row].rect.bottom - rows_[row].rect.top - scaled(6); }
    void measureItem(MEASUREITEMSTRUCT &item) const;
    void placeWindow();
    // Every control to its place and font at the new DPI, the window to `suggested`.
    void changeDpi(int dpi, const RECT &suggested);
    // Where Windows would put the window: its top left kept, its client area at the new DPI.
    void changeDpiInPlace(int dpi);
    static const std::vector<std::wstring> &keyNames();
    void fillKeyList(HWND list) const;
    void widenDropDown(HWND list) const;

    // Painting.
    RECT messageRect(int row) const;
    RECT messageClip() const;
    void paintWindow();
    void paint(HDC dc, const RECT &area);
    void paintRow(HDC dc, int row);
    void drawKeyItem(const DRAWITEMSTRUCT &item);
    void tick();

    // What tips and screen readers are told.
    void makeTips();
    void addTip(int row);
    void placeTips();
    void giveTipText(NMTTDISPINFOW &info);
    std::optional<AccessibleFacts> accessibleFacts(HWND control) const override;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tips_ = nullptr;
    std::wstring tipText_;  // the tip on show: the system reads it after the notification
    WindowLogic *logic_ = nullptr;
    int dpi_ = LayoutDpi;
    int keyItemHeight_ = 15;  // an entry of a key list's drop-down
    int status_ = 0;
    bool showPending_ = false;
    bool firstFramePainted_ = false;
    bool ticking_ = false;
    Region tickArea_;  // what the messages' moves in this tick changed
    bool quiet_ = false;  // a value set by the logic, not by the player
    int pressedRow_ = -1;  // a caption under a held mouse button
    HWND lastFocus_ = nullptr;  // given back when the window is active again
    std::bitset<256> keptKeys_;  // by virtual key: pressed for the logic, so their release is kept too
    std::array<FontInMemory, 2> fontFiles_;
    Font font_;
    Font boldFont_;
    Brush stripBrush_;
    std::array<Row, WindowLayout.size()> rows_{};
    PreviewPictures pictures_;
};

// Makes the window over the settings in `gameFolder`, loads them and runs it;
// the program's exit status.
int runConfigWindow(HINSTANCE instance, const std::filesystem::path &gameFolder);

}  // namespace trelvane
