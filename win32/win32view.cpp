#include "win32/win32view.h"

#include <commctrl.h>
#include <olectl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "keys/keyboardcodes.h"
#include "keys/keycatalogue.h"
#include "settings/settingsfields.h"
#include "win32/resources.h"
#include "window/settingfacts.h"

namespace trelvane {

namespace {

const wchar_t *const ClassName = L"TrelvaneConfig";
const wchar_t *const Title = L"Trelvane Configuration Utility";
constexpr DWORD WindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr UINT_PTR TransitionTimer = 1;
// Posted by the first paint: work the first frame can do without waits until that frame is shown.
constexpr UINT AfterFirstFrame = WM_APP + 1;
// Control IDs stay clear of IDOK and IDCANCEL, which IsDialogMessage sends for Enter and Escape.
constexpr int FirstControlId = 100;
constexpr int UseFactorySettingsId = 100;
constexpr COLORREF MessageColour = RGB(255, 255, 0);
constexpr COLORREF MarkedColour = RGB(192, 0, 0);
constexpr int FontPixels = 11;  // at 96 dpi
// Wine never sends WM_DPICHANGED, nor carries its rectangle from one process to another:
// the tests send this, with the new DPI, and the window takes it as the system's message.
const wchar_t *const TestDpiChangeName = L"TrelvaneConfig.TestDpiChange";

std::wstring wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

// Functions of newer Windows, looked up so that the program also starts where they are missing.
template <typename F> F systemFunction(const wchar_t *module, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(module), name)));
}

int dpiOf(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
    static const auto getDpiForWindow = systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow)
        return static_cast<int>(getDpiForWindow(window));
    HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return dpi;
}

RECT outerRect(int clientWidth, int clientHeight, int dpi)
{
    using AdjustFn = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = systemFunction<AdjustFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, clientWidth, clientHeight};
    if (adjustForDpi)
        adjustForDpi(&r, WindowStyle, FALSE, 0, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&r, WindowStyle, FALSE, 0);
    return r;
}

std::span<const std::byte> resourceBytes(HINSTANCE instance, const wchar_t *name, const wchar_t *type)
{
    HRSRC found = FindResourceW(instance, name, type);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    if (!loaded)
        return {};
    return {static_cast<const std::byte *>(LockResource(loaded)), SizeofResource(instance, found)};
}

IPicture *decodeJpeg(std::span<const std::byte> bytes)
{
    if (bytes.empty())
        return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory)
        return nullptr;
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture *picture = nullptr;
    if (FAILED(OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void **>(&picture))))
        picture = nullptr;
    stream->Release();
    return picture;
}

bool sameRect(const RECT &a, const RECT &b) { return EqualRect(&a, &b) != FALSE; }

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

Win32View::Win32View(HINSTANCE instance) : instance_(instance)
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

    window_ = CreateWindowExW(0, ClassName, Title, WindowStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                              nullptr, instance, this);
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
    for (auto &[name, picture] : pictures_)
        picture->Release();
    DeleteObject(font_);
    DeleteObject(boldFont_);
    for (HANDLE f : fontResources_)
        if (f)
            RemoveFontMemResourceEx(f);
}

int Win32View::run()
{
    reveal();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
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

RECT Win32View::pixels(int left, int top, int width, int height) const
{
    return {px(left), px(top), px(left + width), px(top + height)};
}

void Win32View::makeFonts()
{
    if (!fontResources_[0]) {
        // The captions were laid out for this font; the machine's own could clip them.
        const wchar_t *names[2] = {FONT_REGULAR, FONT_BOLD};
        for (int i = 0; i < 2; ++i) {
            const auto bytes = resourceBytes(instance_, names[i], MAKEINTRESOURCEW(10));  // RT_RCDATA
            DWORD count = 0;
            if (!bytes.empty())
                fontResources_[i] = AddFontMemResourceEx(const_cast<std::byte *>(bytes.data()),
                                                         static_cast<DWORD>(bytes.size()), nullptr, &count);
        }
    }
    DeleteObject(font_);
    DeleteObject(boldFont_);
    const int height = -MulDiv(FontPixels, dpi_, 96);
    for (HFONT *f : {&font_, &boldFont_})
        *f = CreateFontW(height, 0, 0, 0, f == &font_ ? FW_NORMAL : FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Trelvane Sans");
}

void Win32View::makeControls()
{
    // Made in focus order, which is the order Tab follows among child windows.
    std::vector<int> windowed;
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row)
        if (WindowLayout[row].isWindowed())
            windowed.push_back(row);
    std::sort(windowed.begin(), windowed.end(), [](int a, int b) { return WindowLayout[a].tab < WindowLayout[b].tab; });
    for (int row : windowed) {
        // A caption just before its control is what screen readers name it by. It is
        // hidden, so that readers do not meet it as an object of its own: the window
        // paints the caption the player sees, beneath every control window.
        if (const std::string name = WindowLogic::accessibleName(row); !name.empty())
            rows_[row].caption =
                CreateWindowExW(0, L"STATIC", wide(name).c_str(), WS_CHILD | SS_NOPREFIX, rows_[row].rect.left,
                                rows_[row].rect.top, 0, 0, window_, nullptr, instance_, nullptr);
        rows_[row].control = makeControl(row);
    }
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row) {
        const ControlDef &def = WindowLayout[row];
        rows_[row].shown = def.kind != ControlKind::Picture || def.role == Role::ShownAtStart;
        rows_[row].leftTwips = def.left;
    }
}

HWND Win32View::makeControl(int row)
{
    const ControlDef &def = WindowLayout[row];
    const RECT &r = rows_[row].rect;
    const int x = r.left, y = r.top, width = r.right - r.left, height = r.bottom - r.top;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(FirstControlId + row));
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    HWND w = nullptr;
    switch (def.kind) {
    case ControlKind::CheckBox:
        // The logic chooses each next state, so the box never changes itself.
        w = CreateWindowExW(0, L"BUTTON", L"", child | BS_3STATE, x, y, width, height, window_, id, instance_, nullptr);
        break;
    case ControlKind::PushButton:
        w = CreateWindowExW(0, L"BUTTON", wide(def.text).c_str(), child | BS_PUSHBUTTON | BS_NOTIFY, x, y, width,
                            height, window_, id, instance_, nullptr);
        break;
    case ControlKind::Slider: {
        w = CreateWindowExW(0, TRACKBAR_CLASSW, L"", child | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, x, y, width, height,
                            window_, id, instance_, nullptr);
        const FieldInfo &range = fieldInfo(*def.field);
        SendMessageW(w, TBM_SETRANGEMIN, FALSE, range.min);
        SendMessageW(w, TBM_SETRANGEMAX, FALSE, range.max);
        SendMessageW(w, TBM_SETLINESIZE, 0, factsOf(*def.field).smallChange);
        SendMessageW(w, TBM_SETPAGESIZE, 0, factsOf(*def.field).largeChange);
        SendMessageW(w, TBM_SETTICFREQ, 1, 0);
        SendMessageW(w, TBM_SETPOS, TRUE, range.min);
        SetWindowSubclass(w, &Win32View::controlProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
    }
    case ControlKind::ComboBox:
        // Drawn by the window, so that a key bound twice can be marked.
        w = CreateWindowExW(0, L"COMBOBOX", L"",
                            child | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, x, y, width,
                            height + 16 * keyItemHeight_, window_, id, instance_, nullptr);
        fillKeyList(w);
        SetWindowSubclass(w, &Win32View::controlProc, 0, reinterpret_cast<DWORD_PTR>(this));
        break;
    default: break;
    }
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (def.kind == ControlKind::ComboBox)
        fitKeyListBox(row);
    // A button names itself; a box or a slider has only the painted caption beside it.
    if (def.kind != ControlKind::PushButton)
        makeAccessible(w, *this);
    return w;
}

const std::vector<std::wstring> &Win32View::keyNames()
{
    static const std::vector<std::wstring> names = [] {
        std::vector<std::wstring> out;
        for (const KeyRow &key : KeyCatalogue)
            out.push_back(wide(key.name));
        return out;
    }();
    return names;
}

void Win32View::fillKeyList(HWND list) const
{
    std::size_t chars = 0;
    for (const std::wstring &name : keyNames())
        chars += name.size() + 1;
    SendMessageW(list, CB_INITSTORAGE, KeyCount, static_cast<LPARAM>(chars * sizeof(wchar_t)));
    for (const std::wstring &name : keyNames())
        SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // no binding until the settings are read
}

// Each row's place in pixels at the window's DPI; labels that fit their text are measured.
void Win32View::measure()
{
    HDC dc = GetDC(window_);
    HGDIOBJ old = SelectObject(dc, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    keyItemHeight_ = metrics.tmHeight + MulDiv(4, dpi_, 96);
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row) {
        const ControlDef &def = WindowLayout[row];
        RECT &r = rows_[row].rect;
        r = pixels(def.left, def.top, def.width, def.height);
        // Sized to their text, as the sample messages are: each move repaints exactly what it covered.
        if (def.kind == ControlKind::Label && (def.look == Look::FitText || def.role == Role::Message)) {
            const std::wstring text = wide(def.text);
            SIZE size{};
            SelectObject(dc, def.role == Role::Message ? boldFont_ : font_);
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
            r.right = r.left + size.cx;
            r.bottom = r.top + size.cy;
        }
    }
    SelectObject(dc, old);
    ReleaseDC(window_, dc);
}

// A list's window is its box and its drop-down together: the box's height follows its item height.
void Win32View::fitKeyListBox(int row) const
{
    const RECT &r = rows_[row].rect;
    const int height = r.bottom - r.top;
    RECT box{};
    GetWindowRect(rows_[row].control, &box);
    if (const int over = static_cast<int>(box.bottom - box.top) - height)
        SendMessageW(
            rows_[row].control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
            static_cast<LPARAM>(SendMessageW(rows_[row].control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) - over);
}

// After a change of DPI: every control to its new place and font.
void Win32View::placeControls()
{
    measure();
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row) {
        const Row &r = rows_[row];
        if (r.caption)
            MoveWindow(r.caption, r.rect.left, r.rect.top, 0, 0, FALSE);
        if (r.hasTip && !r.control) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = window_;
            tool.uId = static_cast<UINT_PTR>(row + 1);
            tool.rect = r.rect;
            SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        if (!r.control)
            continue;
        SendMessageW(r.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        const int width = r.rect.right - r.rect.left, height = r.rect.bottom - r.rect.top;
        if (WindowLayout[row].kind != ControlKind::ComboBox) {
            MoveWindow(r.control, r.rect.left, r.rect.top, width, height, FALSE);
            continue;
        }
        SendMessageW(r.control, CB_SETITEMHEIGHT, 0, keyItemHeight_);
        SendMessageW(r.control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), keyBoxItemHeight(row));
        MoveWindow(r.control, r.rect.left, r.rect.top, width, height + 16 * keyItemHeight_, FALSE);
        fitKeyListBox(row);
    }
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, px(4500));
}

void Win32View::placeWindow()
{
    const RECT outer = outerRect(px(WindowWidthTwips), px(WindowHeightTwips), dpi_);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    // Centred on the work area; a window larger than it keeps its title bar on it.
    const int x = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
    const int y = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Win32View::messageRect(int row) const
{
    RECT r = rows_[row].rect;
    OffsetRect(&r, px(rows_[row].leftTwips) - r.left, 0);
    return r;
}

RECT Win32View::messageClip() const
{
    const TwipsRect clip = WindowLogic::messageClip();
    return pixels(clip.left, clip.top, clip.width, clip.height);
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

void Win32View::setShown(int row, bool shown)
{
    if (rows_[row].shown == shown)
        return;
    rows_[row].shown = shown;
    InvalidateRect(window_, &rows_[row].rect, FALSE);
}

void Win32View::moveMessage(int row, int leftTwips)
{
    const RECT before = messageRect(row);
    rows_[row].leftTwips = leftTwips;
    const RECT after = messageRect(row);
    if (sameRect(before, after))
        return;  // a held message costs nothing
    // Only the strip's open part changes: the rest of the old and new places is covered.
    RECT changed{}, seen{};
    UnionRect(&changed, &before, &after);
    const RECT clip = messageClip();
    if (!IntersectRect(&seen, &changed, &clip))
        return;
    if (!ticking_) {
        InvalidateRect(window_, &seen, FALSE);
        return;
    }
    // Both messages of a tick go to the system in one call: under Wine each call is a round trip.
    HRGN area = CreateRectRgnIndirect(&seen);
    if (tickArea_) {
        CombineRgn(tickArea_, tickArea_, area, RGN_OR);
        DeleteObject(area);
    } else {
        tickArea_ = area;
    }
}

void Win32View::setDescription(int row, std::string_view text, bool marked)
{
    Row &r = rows_[row];
    r.description = wide(text);
    r.described = true;
    if (r.marked != marked) {
        r.marked = marked;
        if (r.control)
            InvalidateRect(r.control, nullptr, FALSE);
    }
    if (tips_) {
        addTip(row);
        SendMessageW(tips_, TTM_UPDATE, 0, 0);
    }
}

void Win32View::setKeyListPrompt(int row, std::string_view prompt)
{
    rows_[row].prompt = wide(prompt);
    InvalidateRect(rows_[row].control, nullptr, FALSE);
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

// No tip can show before the first frame, so the tips window and its tools are made after it.
void Win32View::makeTips()
{
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0,
                            0, window_, nullptr, instance_, nullptr);
    if (!tips_)
        return;
    SendMessageW(tips_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(tips_, TTM_SETMAXTIPWIDTH, 0, px(4500));
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (rows_[row].described)
            addTip(row);
}

void Win32View::addTip(int row)
{
    Row &r = rows_[row];
    if (r.hasTip)
        return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (r.control) {
        tool.uFlags |= TTF_IDISHWND;
        tool.uId = reinterpret_cast<UINT_PTR>(r.control);
    } else {
        tool.uId = static_cast<UINT_PTR>(row + 1);
        tool.rect = r.rect;
    }
    r.hasTip = SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
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
    int first = -1;
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row)
        if (rows_[row].control && (first < 0 || WindowLayout[row].tab < WindowLayout[first].tab))
            first = row;
    if (first >= 0) {
        SetFocus(rows_[first].control);
        lastFocus_ = rows_[first].control;
    }
}

void Win32View::startTimer(int intervalMs)
{
    SetTimer(window_, TransitionTimer, static_cast<UINT>(intervalMs), nullptr);
}

bool Win32View::askYesNo(std::string_view title, std::string_view question)
{
    reveal();
    return MessageBoxW(window_, wide(question).c_str(), wide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1) == IDYES;
}

void Win32View::showError(std::string_view message)
{
    reveal();
    MessageBoxW(window_, wide(message).c_str(), Title, MB_OK | MB_ICONERROR);
}

LoadChoice Win32View::askAfterLoadFailure(std::string_view message, bool factoryOffered)
{
    reveal();
    const std::wstring content = wide(message);
    TASKDIALOG_BUTTON factory{UseFactorySettingsId, L"&Use Factory Settings"};
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = window_;
    config.hInstance = instance_;
    // Escape and the close box answer Close, as Enter does.
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
    config.dwCommonButtons = TDCBF_CLOSE_BUTTON;
    config.pszWindowTitle = Title;
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszContent = content.c_str();
    config.cButtons = factoryOffered ? 1 : 0;
    config.pButtons = factoryOffered ? &factory : nullptr;
    config.nDefaultButton = IDCLOSE;
    config.pfCallback = &Win32View::taskDialogEvent;
    int pressed = 0;
    if (FAILED(TaskDialogIndirect(&config, &pressed, nullptr, nullptr)))
        MessageBoxW(window_, content.c_str(), Title, MB_OK | MB_ICONERROR);
    return pressed == UseFactorySettingsId ? LoadChoice::UseFactorySettings : LoadChoice::Close;
}

HRESULT CALLBACK Win32View::taskDialogEvent(HWND dialog, UINT event, WPARAM, LPARAM, LONG_PTR)
{
    // Escape and the close box send IDCANCEL, which Wine's task dialog takes for no button
    // at all when it has no Cancel: they press Close here, on every system alike.
    if (event == TDN_CREATED)
        SetWindowSubclass(dialog, &Win32View::escapeIsClose, 0, 0);
    return S_OK;
}

LRESULT CALLBACK Win32View::escapeIsClose(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && !lParam) {
        SendMessageW(dialog, TDM_CLICK_BUTTON, IDCLOSE, 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(dialog, &Win32View::escapeIsClose, 0);
    return DefSubclassProc(dialog, message, wParam, lParam);
}

void Win32View::close(int status)
{
    status_ = status;
    if (window_)
        DestroyWindow(window_);
}

// Asked afresh on every read, so that a reader hears the control as it is now.
std::optional<AccessibleFacts> Win32View::accessibleFacts(HWND control) const
{
    const int row = rowOf(control);
    if (row < 0)
        return std::nullopt;
    AccessibleFacts facts{wide(WindowLogic::accessibleName(row)), std::nullopt, rows_[row].description};
    switch (WindowLayout[row].kind) {
    case ControlKind::Slider:
        facts.value = std::to_wstring(SendMessageW(control, TBM_GETPOS, 0, 0));
        facts.role = ROLE_SYSTEM_SLIDER;
        break;
    case ControlKind::ComboBox: {
        const auto key = SendMessageW(control, CB_GETCURSEL, 0, 0);
        facts.value = key >= 0 && key < static_cast<LRESULT>(keyNames().size()) ? keyNames()[key] : std::wstring();
        facts.role = ROLE_SYSTEM_COMBOBOX;
        break;
    }
    case ControlKind::CheckBox: {
        const auto check = SendMessageW(control, BM_GETCHECK, 0, 0);
        facts.role = ROLE_SYSTEM_CHECKBUTTON;
        facts.state = check == BST_CHECKED ? STATE_SYSTEM_CHECKED : check == BST_INDETERMINATE ? STATE_SYSTEM_MIXED : 0;
        break;
    }
    default: return std::nullopt;
    }
    return facts;
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

// The caption under a point that names a check box; a click on it is a click on the box.
int Win32View::rowAt(POINT p) const
{
    for (const FieldInfo &info : SettingsFields) {
        const int row = WindowLogic::captionRow(info.field);
        if (info.kind == FieldKind::Toggle && row >= 0 && PtInRect(&rows_[row].rect, p))
            return row;
    }
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

// Wide enough for the longest key name; measured when first asked for, not at start-up.
void Win32View::widenDropDown(HWND list) const
{
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, font_);
    int longest = 0;
    for (const std::wstring &name : keyNames()) {
        SIZE size{};
        GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
        longest = std::max(longest, static_cast<int>(size.cx));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    RECT box{};
    GetWindowRect(list, &box);
    const int wanted = longest + GetSystemMetrics(SM_CXVSCROLL) + MulDiv(12, dpi_, 96);
    SendMessageW(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max<int>(wanted, box.right - box.left)), 0);
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

void Win32View::paint(HDC dc, const RECT &area)
{
    // Straight onto the window: the system shows a paint only once it is done.
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    // Bottom-most first, so that each row is drawn over those beneath it.
    for (int row = static_cast<int>(WindowLayout.size()) - 1; row >= 0; --row) {
        const RECT &r = WindowLayout[row].role == Role::Message ? messageRect(row) : rows_[row].rect;
        // Against the changed region itself, not its bounding box, which spans the strip between two messages.
        RECT overlap{};
        if (IntersectRect(&overlap, &r, &area) && RectVisible(dc, &r))
            paintRow(dc, row);
    }
}

void Win32View::paintRow(HDC dc, int row)
{
    const ControlDef &def = WindowLayout[row];
    const Row &r = rows_[row];
    switch (def.kind) {
    case ControlKind::Shape:
        FillRect(dc, &r.rect,
                 def.role == Role::Strip ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                                         : GetSysColorBrush(COLOR_SCROLLBAR));
        break;
    case ControlKind::Picture:
        if (r.shown)
            drawPicture(dc, def, r.rect);
        break;
    case ControlKind::Label: {
        const std::wstring text = wide(def.text);
        if (def.role == Role::Message) {
            // Seen only over the part of the strip that the slider and the box at its right leave open.
            const RECT clip = messageClip(), at = messageRect(row);
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
            SelectObject(dc, boldFont_);
            SetTextColor(dc, MessageColour);
            TextOutW(dc, at.left, at.top, text.c_str(), static_cast<int>(text.size()));
            RestoreDC(dc, saved);
            break;
        }
        SelectObject(dc, font_);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT box = r.rect;
        // From the top, as on Linux: centred, a large font's descenders would reach under the control below.
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_TOP | DT_NOPREFIX);
        break;
    }
    default: break;
    }
}

void Win32View::drawPicture(HDC dc, const ControlDef &def, const RECT &r)
{
    // The twice-size pictures from 144 dpi up; either set is scaled to the picture's place.
    const bool sharp = dpi_ >= 144;
    if (sharp != sharpPictures_) {
        for (auto &[name, picture] : pictures_)
            picture->Release();
        pictures_.clear();
        sharpPictures_ = sharp;
    }
    auto found = pictures_.find(def.text);
    if (found == pictures_.end()) {
        IPicture *decoded =
            decodeJpeg(resourceBytes(instance_, wide(def.text).c_str(), sharp ? RT_PREVIEW2X : RT_PREVIEW));
        if (!decoded)
            return;
        found = pictures_.emplace(def.text, decoded).first;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    found->second->get_Width(&width);
    found->second->get_Height(&height);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    found->second->Render(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, height, width, -height, nullptr);
}

void Win32View::drawKeyItem(const DRAWITEMSTRUCT &item)
{
    const int row = rowOf(item.hwndItem);
    const bool box = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    const bool marked = row >= 0 && rows_[row].marked && box;
    // A marked key keeps its colour in the box also while the list has the focus.
    const bool selected = (item.itemState & ODS_SELECTED) != 0 && !marked;
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID != static_cast<UINT>(-1)) {
        const auto n = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(n, 0)), L'\0');
        SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
        if (box && row >= 0 && !rows_[row].prompt.empty())
            text = rows_[row].prompt;  // waiting for a key
        SetBkMode(item.hDC, TRANSPARENT);
        SetTextColor(item.hDC, marked     ? MarkedColour
                               : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                          : GetSysColor(COLOR_WINDOWTEXT));
        HGDIOBJ old = SelectObject(item.hDC, font_);
        RECT text_box = r;
        text_box.left += MulDiv(2, dpi_, 96);
        if (box && row >= 0) {
            // A name the box cuts ends in an ellipsis, and its tip gives it whole.
            SIZE size{};
            GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &size);
            rows_[row].nameCut = size.cx > text_box.right - text_box.left;
        }
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &text_box,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (box ? DT_END_ELLIPSIS : 0));
        SelectObject(item.hDC, old);
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(item.hDC, &r);
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
        // Where Windows would put the window: its top left kept, its client area at the new
        // DPI, and its frame as it is (the system, not this message, would scale that).
        const int dpi = static_cast<int>(wParam);
        RECT at{}, client{};
        GetWindowRect(window_, &at);
        GetClientRect(window_, &client);
        const RECT suggested{at.left, at.top, at.right + MulDiv(WindowWidthTwips, dpi, 1440) - client.right,
                             at.bottom + MulDiv(WindowHeightTwips, dpi, 1440) - client.bottom};
        return handle(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    switch (message) {
    case WM_PAINT: {
        // The system clips the paint to what changed: two far-apart messages cost two small areas.
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        if (!IsRectEmpty(&ps.rcPaint))
            paint(dc, ps.rcPaint);
        EndPaint(window_, &ps);
        if (!firstFramePainted_) {
            firstFramePainted_ = true;
            PostMessageW(window_, AfterFirstFrame, 0, 0);
        }
        return 0;
    }
    case AfterFirstFrame: makeTips(); return 0;
    case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
    case WM_TIMER:
        if (wParam == TransitionTimer && logic_) {
            ticking_ = true;
            logic_->tick();
            ticking_ = false;
            if (tickArea_) {
                InvalidateRgn(window_, tickArea_, FALSE);
                DeleteObject(tickArea_);
                tickArea_ = nullptr;
            }
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
    case WM_MEASUREITEM: {
        auto *item = reinterpret_cast<MEASUREITEMSTRUCT *>(lParam);
        const int row = static_cast<int>(item->CtlID) - FirstControlId;
        item->itemHeight =
            static_cast<UINT>(item->itemID == static_cast<UINT>(-1) && row >= 0 && row < static_cast<int>(rows_.size())
                                  ? keyBoxItemHeight(row)
                                  : keyItemHeight_);
        return TRUE;
    }
    case WM_NOTIFY: {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        if (header->code == TTN_GETDISPINFOW) {
            auto *info = reinterpret_cast<NMTTDISPINFOW *>(lParam);
            const int row = (info->uFlags & TTF_IDISHWND) ? rowOf(reinterpret_cast<HWND>(header->idFrom))
                                                          : static_cast<int>(header->idFrom) - 1;
            if (row >= 0 && row < static_cast<int>(rows_.size())) {
                tipText_ = rows_[row].description;
                const LRESULT key = rows_[row].nameCut ? SendMessageW(rows_[row].control, CB_GETCURSEL, 0, 0) : -1;
                if (key >= 0 && key < static_cast<LRESULT>(keyNames().size()))
                    tipText_ = keyNames()[static_cast<std::size_t>(key)] + L"\r\n" + tipText_;
                info->lpszText = tipText_.data();
            }
        }
        return 0;
    }
    case WM_LBUTTONDOWN: pressedRow_ = rowAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}); return 0;
    case WM_LBUTTONUP: {
        const int row = rowAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if (row >= 0 && row == pressedRow_ && logic_) {
            // The caption acts for its box, as a click on the box would.
            SetFocus(rows_[WindowLogic::holderRow(*WindowLayout[row].field)].control);
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
    case WM_DPICHANGED: {
        dpi_ = HIWORD(wParam);
        makeFonts();
        placeControls();
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        // The controls were moved without a repaint each: the whole window is painted once, at its new size.
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(window_, TransitionTimer);
        PostQuitMessage(status_);
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32View::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    auto *view = reinterpret_cast<Win32View *>(data);
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP: {
        // The trackbar lowers its value under Up and Page Up; the window raises it, as on every other desktop.
        const int row = view->rowOf(hwnd);
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
    case WM_NCDESTROY: RemoveWindowSubclass(hwnd, &Win32View::controlProc, 0); break;
    default: break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

int runConfigWindow(HINSTANCE instance, const std::filesystem::path &gameFolder)
{
    // Pictures are decoded by OLE; the task dialog needs the version 6 controls of the manifest.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    int status = 1;
    {
        Win32View view(instance);
        if (view.handle()) {
            WindowLogic logic(gameFolder, view);
            view.drive(logic);
            status = logic.load() ? view.run() : 1;
        }
    }
    if (com)
        CoUninitialize();
    return status;
}

}  // namespace trelvane
