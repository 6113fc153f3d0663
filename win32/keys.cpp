// The keys and the wheel before the dialog and the controls see them: a key
// list waiting for a key takes every key, and the dialog's keys, the sliders'
// keys and the wheel behave as in the Linux window.
#include "win32/win32view.h"

#include <commctrl.h>

#include "keys/keyboardcodes.h"
#include "win32/system.h"

namespace trelvane {

namespace {

// With an AltGr keyboard layout, Windows makes up a Left Control just before
// Right Alt, with the same time.
bool isAltGrsControl(const MSG &message)
{
    if (message.wParam != VK_CONTROL || (HIWORD(message.lParam) & KF_EXTENDED))
        return false;
    MSG next{};
    return PeekMessageW(&next, nullptr, WM_KEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE | PM_NOYIELD) &&
           (next.message == WM_KEYDOWN || next.message == WM_SYSKEYDOWN) && next.wParam == VK_MENU &&
           (HIWORD(next.lParam) & KF_EXTENDED) && next.time == message.time;
}

}  // namespace

// What IsDialogMessage would do otherwise and the Linux window does not: take a bare
// letter for an access key on any control that asks for no characters (trackbars, check
// boxes, buttons), and leave the arrow keys on such controls to a dialog's own handler,
// which this window has not. True when the message is used up here.
bool Win32View::takeKey(const MSG &message)
{
    const bool arrow = message.message == WM_KEYDOWN && (message.wParam == VK_LEFT || message.wParam == VK_RIGHT ||
                                                         message.wParam == VK_UP || message.wParam == VK_DOWN);
    if ((message.message != WM_CHAR && !arrow) || (message.hwnd != window_ && !IsChild(window_, message.hwnd)))
        return false;
    MSG asked = message;
    const LRESULT wants = SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&asked));
    if (message.message == WM_CHAR)
        return (wants & (DLGC_WANTCHARS | DLGC_WANTMESSAGE)) == 0;  // access keys come as WM_SYSCHAR, with Alt
    if (wants & DLGC_WANTARROWS)
        return false;
    // Along the Tab order, as on Linux: Left and Up go back.
    if (HWND next = GetNextDlgTabItem(window_, message.hwnd, message.wParam == VK_LEFT || message.wParam == VK_UP))
        SetFocus(next);
    return true;
}

bool Win32View::captureKey(const MSG &message)
{
    if (!logic_ || !window_)
        return false;
    const std::size_t key = message.wParam & 0xFF;
    bool release = false;
    switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN: logic_->keyListLeft(); return false;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // The release of a key the logic took is kept from the dialog too: a released Alt would open the window menu.
        if (keptKeys_[key]) {
            keptKeys_[key] = false;
            return true;
        }
        // Windows may keep Print Screen's press for itself and send its release alone.
        if (key != VK_SNAPSHOT || logic_->capturing() < 0)
            return false;
        release = true;
        break;
    default: return false;
    }
    const int row = rowOf(message.hwnd);
    if (row < 0 || WindowLayout[row].kind != ControlKind::ComboBox ||
        SendMessageW(message.hwnd, CB_GETDROPPEDSTATE, 0, 0))
        return false;  // an open list takes its own keys
    if (logic_->capturing() == row && isAltGrsControl(message)) {
        keptKeys_[key] = true;
        return true;
    }
    const WORD flags = HIWORD(message.lParam);
    const LRESULT before = SendMessageW(message.hwnd, CB_GETCURSEL, 0, 0);
    if (!logic_->keyPressed(row, keyFromWindows(LOBYTE(flags), (flags & KF_EXTENDED) != 0),
                            !release && (flags & KF_REPEAT) != 0))
        return false;
    keptKeys_[key] = !release;
    // Readers hear the new key, as after a pick from the list.
    if (SendMessageW(message.hwnd, CB_GETCURSEL, 0, 0) != before)
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, message.hwnd, OBJID_CLIENT, CHILDID_SELF);
    return true;
}

LRESULT CALLBACK Win32View::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win32View *const *view = hookedControls_.dataOf(hwnd);
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        // The trackbar lowers its value under Up and Page Up; the window raises it, as on every other desktop.
        const int row = view ? (*view)->rowOf(hwnd) : -1;
        if (row >= 0 && WindowLayout[row].kind == ControlKind::Slider) {
            switch (wParam) {
            case VK_UP: wParam = VK_DOWN; break;
            case VK_DOWN: wParam = VK_UP; break;
            case VK_PRIOR: wParam = VK_NEXT; break;
            case VK_NEXT: wParam = VK_PRIOR; break;
            default: break;
            }
        }
        break;
    }
    case WM_MOUSEWHEEL:
        // Only the control with the focus takes the wheel; otherwise it goes to the window.
        if (GetFocus() != hwnd)
            return SendMessageW(GetParent(hwnd), message, wParam, lParam);
        break;
    default: break;
    }
    return hookedControls_.handOn(hwnd, message, wParam, lParam);
}

void Win32View::setKeyListPrompt(int row, std::string_view prompt)
{
    rows_[row].prompt = wide(prompt);
    InvalidateRect(rows_[row].control, nullptr, FALSE);
}

}  // namespace trelvane
