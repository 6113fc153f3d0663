#include "win32/win32view.h"

#include <commctrl.h>
#include <windowsx.h>

#include "win32/prompts.h"
#include "win32/resources.h"
#include "win32/system.h"
#include "window/look.h"

namespace trelvane {

namespace {

const wchar_t *const ClassName = L"TrelvaneConfig";
constexpr UINT_PTR TransitionTimer = 1;
// Started by the first paint: a timer comes only once nothing is left to paint, so the work it
// starts stays out of the first frame, the controls' own first paints included.
constexpr UINT_PTR AfterFirstFrameTimer = 2;
// Wine never sends WM_DPICHANGED, nor carries its rectangle from one process to another:
// the tests send this, with the new DPI, and the window takes it as the system's message.
const wchar_t *const TestDpiChangeName = L"TrelvaneConfig.TestDpiChange";

}  // namespace

Win32View::Win32View(HINSTANCE instance)
    : instance_(instance), stripBrush_(CreateSolidBrush(colourRef(StripColour))), pictures_(instance)
{
    static const ATOM windowClass = [instance] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = &Win32View::windowProc;
        c.hInstance = instance;
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = ClassName;
        c.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRELVANE), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        c.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRELVANE), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
        return RegisterClassExW(&c);
    }();
    static_cast<void>(windowClass);

    window_ = CreateWindowExW(0, ClassName, wide(WindowTitle).c_str(), WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100,
                              100, nullptr, nullptr, instance, this);
    if (!window_)
        return;
    dpi_ = dpiOf(window_);
    makeFonts();
    measure();
    makeControls();
    placeWindow();
}

Win32View::~Win32View()
{
    if (window_)
        DestroyWindow(window_);
}

int Win32View::run()
{
    reveal();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (tips_ && message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
            SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
        // A key list waiting for a key takes every key, the dialog keys included.
        if (captureKey(message))
            continue;
        // Tab, the access keys and the arrow keys as in a dialog.
        if (window_ && (takeKey(message) || IsDialogMessageW(window_, &message)))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return status_;
}

// Shown on screen once the settings are in, as on Linux, where a window appears when
// the event loop first runs; a box asked before then shows it at once beneath the box.
void Win32View::showWindow() { showPending_ = true; }

void Win32View::reveal()
{
    if (!showPending_)
        return;
    showPending_ = false;
    ShowWindow(window_, SW_SHOW);
    // The focus starts on the first control in focus order.
    if (HWND first = rows_[FocusOrder.front()].control) {
        SetFocus(first);
        lastFocus_ = first;
    }
}

void Win32View::startTimer(int intervalMs)
{
    SetTimer(window_, TransitionTimer, static_cast<UINT>(intervalMs), nullptr);
}

bool Win32View::askYesNo(std::string_view title, std::string_view question)
{
    reveal();
    return trelvane::askYesNo(window_, title, question);
}

void Win32View::showError(std::string_view message)
{
    reveal();
    trelvane::showError(window_, message);
}

LoadChoice Win32View::askAfterLoadFailure(std::string_view message, bool factoryOffered)
{
    reveal();
    return trelvane::askAfterLoadFailure(window_, instance_, message, factoryOffered);
}

void Win32View::close(int status)
{
    status_ = status;
    if (window_)
        DestroyWindow(window_);
}

void Win32View::setValue(int row, int value)
{
    HWND control = rows_[row].control;
    quiet_ = true;
    switch (WindowLayout[row].kind) {
    case ControlKind::CheckBox:
        SendMessageW(control, BM_SETCHECK,
                     value == 0   ? BST_UNCHECKED
                     : value == 2 ? BST_INDETERMINATE
                                  : BST_CHECKED,
                     0);
        break;
    case ControlKind::Slider: SendMessageW(control, TBM_SETPOS, TRUE, value); break;
    case ControlKind::ComboBox: SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0); break;
    default: break;
    }
    quiet_ = false;
}

int Win32View::rowOf(HWND control) const
{
    if (!control)
        return -1;  // rows without a control window have none either
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (rows_[row].control == control)
            return row;
    return -1;
}

int Win32View::captionAt(POINT p) const
{
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (WindowLogic::boxOfCaption(row) >= 0 && PtInRect(&rows_[row].rect, p))
            return row;
    return -1;
}

void Win32View::command(int id, int code, HWND from)
{
    const int row = rowOf(from);
    if (row < 0) {
        // Enter on a push button that is not the default one comes as IDOK.
        if (id == IDOK && code == BN_CLICKED)
            if (const int focused = rowOf(GetFocus());
                focused >= 0 && WindowLayout[focused].kind == ControlKind::PushButton)
                logic_->clicked(focused);
        return;
    }
    const ControlDef &def = WindowLayout[row];
    if (def.kind == ControlKind::PushButton) {
        // As in a dialog, the focused button is the one Enter presses, and shows it.
        if (code == BN_SETFOCUS || code == BN_KILLFOCUS)
            SendMessageW(from, BM_SETSTYLE, code == BN_SETFOCUS ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        else if (code == BN_CLICKED)
            logic_->clicked(row);
    } else if (def.kind == ControlKind::CheckBox && code == BN_CLICKED && !quiet_) {
        logic_->clicked(row);
    } else if (def.kind == ControlKind::ComboBox && code == CBN_DROPDOWN) {
        widenDropDown(from);
    } else if (def.kind == ControlKind::ComboBox && code == CBN_KILLFOCUS) {
        logic_->keyListLeft();
    } else if (def.kind == ControlKind::ComboBox && code == CBN_SELCHANGE && !quiet_) {
        logic_->changed(row, static_cast<int>(SendMessageW(from, CB_GETCURSEL, 0, 0)));
    }
}

void Win32View::sliderMoved(HWND slider)
{
    const int row = rowOf(slider);
    if (row < 0 || quiet_)
        return;
    const int value = static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0));
    if (value != logic_->value(row))
        logic_->changed(row, value);
}

LRESULT CALLBACK Win32View::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *view = static_cast<Win32View *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        view->window_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(view));
    }
    auto *view = reinterpret_cast<Win32View *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!view)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = view->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        view->window_ = nullptr;
    }
    return result;
}

LRESULT Win32View::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    static const UINT testDpiChange = RegisterWindowMessageW(TestDpiChangeName);
    if (message == testDpiChange && wParam > 0) {
        changeDpiInPlace(static_cast<int>(wParam));
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        paintWindow();
        if (!firstFramePainted_) {
            firstFramePainted_ = true;
            SetTimer(window_, AfterFirstFrameTimer, USER_TIMER_MINIMUM, nullptr);
        }
        return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_TIMER:
        if (wParam == AfterFirstFrameTimer) {
            KillTimer(window_, AfterFirstFrameTimer);
            makeTips();
        } else if (wParam == TransitionTimer && logic_) {
            tick();
        }
        return 0;
    case WM_COMMAND:
        if (logic_)
            command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HSCROLL:
        if (logic_ && lParam)
            sliderMoved(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_DRAWITEM: drawKeyItem(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam)); return TRUE;
    case WM_MEASUREITEM: measureItem(*reinterpret_cast<MEASUREITEMSTRUCT *>(lParam)); return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR *>(lParam)->code == TTN_GETDISPINFOW)
            giveTipText(*reinterpret_cast<NMTTDISPINFOW *>(lParam));
        return 0;
    case WM_LBUTTONDOWN: pressedRow_ = captionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: {
        const int row = captionAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (row >= 0 && row == pressedRow_ && logic_) {
            // The caption acts for its box, as a click on the box would.
            SetFocus(rows_[WindowLogic::boxOfCaption(row)].control);
            logic_->clicked(row);
        }
        pressedRow_ = -1;
        return 0;
    }
    case WM_MOUSEWHEEL: return 0;  // the window itself scrolls nothing
    case WM_ACTIVATE:
        // A window that is not a dialog forgets its focused control when another window comes up.
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (HWND focused = GetFocus(); focused && IsChild(window_, focused))
                lastFocus_ = focused;
        } else if (lastFocus_) {
            SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_DPICHANGED: changeDpi(HIWORD(wParam), *reinterpret_cast<const RECT *>(lParam)); return 0;
    case WM_DESTROY:
        KillTimer(window_, TransitionTimer);
        PostQuitMessage(status_);
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

int runConfigWindow(HINSTANCE instance, const std::filesystem::path &gameFolder)
{
    // Pictures are decoded by OLE; the task dialog needs the version 6 controls of the manifest.
    const ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    Win32View view(instance);
    if (!view.handle())
        return 1;
    WindowLogic logic(gameFolder, view);
    view.drive(logic);
    return logic.load() ? view.run() : 1;
}

}  // namespace trelvane
