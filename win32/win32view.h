#pragma once
// The window on Windows: the platform's own controls made from WindowLayout,
// the labels, shapes, pictures and sample messages painted by the window
// beneath them, and every event passed on to WindowLogic.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <array>
#include <bitset>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "win32/accessible.h"
#include "window/layouttable.h"
#include "window/windowlogic.h"
#include "window/windowview.h"

struct IPicture;

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
    std::optional<AccessibleFacts> accessibleFacts(HWND control) const override;

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

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR view);
    static HRESULT CALLBACK taskDialogEvent(HWND dialog, UINT event, WPARAM, LPARAM, LONG_PTR);
    static LRESULT CALLBACK escapeIsClose(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    // A key for a key list, or a click that ends its wait; true when the key was the logic's.
    bool captureKey(const MSG &message);
    bool takeKey(const MSG &message);
    void reveal();
    void makeTips();
    void addTip(int row);

    int px(int twips) const { return MulDiv(twips, dpi_, 1440); }
    RECT pixels(int left, int top, int width, int height) const;
    void makeFonts();
    void makeControls();
    HWND makeControl(int row);
    void measure();
    void placeControls();
    void fitKeyListBox(int row) const;
    // A key list's box holds its selected key in this height; the border makes up the rest.
    int keyBoxItemHeight(int row) const { return rows_[row].rect.bottom - rows_[row].rect.top - MulDiv(6, dpi_, 96); }
    void placeWindow();
    static const std::vector<std::wstring> &keyNames();
    void fillKeyList(HWND list) const;
    void widenDropDown(HWND list) const;
    RECT messageRect(int row) const;
    RECT messageClip() const;

    void paint(HDC dc, const RECT &area);
    void paintRow(HDC dc, int row);
    void drawPicture(HDC dc, const ControlDef &def, const RECT &r);
    void drawKeyItem(const DRAWITEMSTRUCT &item);

    void command(int id, int code, HWND from);
    void sliderMoved(HWND slider);
    int rowAt(POINT p) const;
    int rowOf(HWND control) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tips_ = nullptr;
    std::wstring tipText_;  // the tip on show: the system reads it after the notification
    WindowLogic *logic_ = nullptr;
    int dpi_ = 96;
    int keyItemHeight_ = 15;  // an entry of a key list's drop-down
    int status_ = 0;
    bool showPending_ = false;
    bool firstFramePainted_ = false;
    bool ticking_ = false;
    HRGN tickArea_ = nullptr;  // what the messages' moves in this tick changed
    bool quiet_ = false;  // a value set by the logic, not by the player
    int pressedRow_ = -1;  // a caption under a held mouse button
    HWND lastFocus_ = nullptr;  // given back when the window is active again
    std::bitset<256> keptKeys_;  // by virtual key: pressed for the logic, so their release is kept too
    HFONT font_ = nullptr;
    HFONT boldFont_ = nullptr;
    HANDLE fontResources_[2] = {};
    std::array<Row, WindowLayout.size()> rows_{};
    std::map<std::string_view, IPicture *> pictures_;  // decoded on first sight, by file name
    bool sharpPictures_ = false;  // which set pictures_ holds
};

// Makes the window over the settings in `gameFolder`, loads them and runs it;
// the program's exit status.
int runConfigWindow(HINSTANCE instance, const std::filesystem::path &gameFolder);

}  // namespace trelvane
