// The window's controls made from the layout table, and placed again at a new DPI.
#include "win32/win32view.h"

#include <commctrl.h>

#include <algorithm>

#include "keys/keycatalogue.h"
#include "settings/settingsfields.h"
#include "win32/resources.h"
#include "win32/system.h"
#include "window/look.h"
#include "window/placement.h"
#include "window/settingfacts.h"

namespace trelvane {

namespace {

// The window's size with its frame, for a client area of the given size.
RECT outerRect(DWORD style, int clientWidth, int clientHeight, int dpi)
{
    using AdjustFn = BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = systemFunction<AdjustFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, clientWidth, clientHeight};
    if (adjustForDpi)
        adjustForDpi(&r, style, FALSE, 0, static_cast<UINT>(dpi));
    else
        AdjustWindowRectEx(&r, style, FALSE, 0);
    return r;
}

}  // namespace

RECT Win32View::pixels(int left, int top, int width, int height) const
{
    return {px(left), px(top), px(left + width), px(top + height)};
}

void Win32View::makeFonts()
{
    if (!fontFiles_[0]) {
        const wchar_t *names[2] = {FONT_REGULAR, FONT_BOLD};
        for (std::size_t i = 0; i < fontFiles_.size(); ++i) {
            const auto bytes = resourceBytes(instance_, names[i], MAKEINTRESOURCEW(10));  // RT_RCDATA
            if (!bytes.empty())
                fontFiles_[i] = FontInMemory(const_cast<std::byte *>(bytes.data()), static_cast<DWORD>(bytes.size()));
        }
    }
    const std::wstring family = wide(FontFamily);
    for (Font *f : {&font_, &boldFont_})
        f->reset(CreateFontW(-scaled(FontPixels), 0, 0, 0, f == &font_ ? FW_NORMAL : FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                             family.c_str()));
}

void Win32View::makeControls()
{
    // Made in focus order, which is the order Tab follows among child windows.
    for (const int row : FocusOrder) {
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
        hookedControls_.hook(w, &Win32View::controlProc, this);
        break;
    }
    case ControlKind::ComboBox:
        // Drawn by the window, so that a key bound twice can be marked.
        w = CreateWindowExW(0, L"COMBOBOX", L"",
                            child | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, x, y, width,
                            height + 16 * keyItemHeight_, window_, id, instance_, nullptr);
        fillKeyList(w);
        hookedControls_.hook(w, &Win32View::controlProc, this);
        break;
    default: break;
    }
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
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
    const WindowDC dc(window_);
    const Selection font(dc.get(), font_.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    keyItemHeight_ = metrics.tmHeight + scaled(4);
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row) {
        const ControlDef &def = WindowLayout[row];
        RECT &r = rows_[row].rect;
        r = pixels(def.left, def.top, def.width, def.height);
        // Sized to their text, as the sample messages are: each move repaints exactly what it covered.
        if (def.kind == ControlKind::Label && (def.look == Look::FitText || def.role == Role::Message)) {
            const std::wstring text = wide(def.text);
            SIZE size{};
            const Selection labelFont(dc.get(), def.role == Role::Message ? boldFont_.get() : font_.get());
            GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
            r.right = r.left + size.cx;
            r.bottom = r.top + size.cy;
        }
    }
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

void Win32View::measureItem(MEASUREITEMSTRUCT &item) const
{
    const int row = static_cast<int>(item.CtlID) - FirstControlId;
    item.itemHeight = static_cast<UINT>(
        item.itemID == static_cast<UINT>(-1) && row >= 0 && row < static_cast<int>(rows_.size()) ? keyBoxItemHeight(row)
                                                                                                 : keyItemHeight_);
}

// After a change of DPI: every control to its new place and font.
void Win32View::placeControls()
{
    measure();
    for (int row = 0; row < static_cast<int>(WindowLayout.size()); ++row) {
        const Row &r = rows_[row];
        if (r.caption)
            MoveWindow(r.caption, r.rect.left, r.rect.top, 0, 0, FALSE);
        if (!r.control)
            continue;
        SendMessageW(r.control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
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
    placeTips();
}

void Win32View::placeWindow()
{
    const RECT outer = outerRect(WindowStyle, px(WindowWidthTwips), px(WindowHeightTwips), dpi_);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT &work = monitor.rcWork;
    const ScreenPoint at =
        trelvane::placeWindow(width, height,
                              {static_cast<int>(work.left), static_cast<int>(work.top),
                               static_cast<int>(work.right - work.left), static_cast<int>(work.bottom - work.top)});
    SetWindowPos(window_, nullptr, at.x, at.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32View::changeDpi(int dpi, const RECT &suggested)
{
    dpi_ = dpi;
    makeFonts();
    placeControls();
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The controls were moved without a repaint each: the whole window is painted once, at its new size.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Win32View::changeDpiInPlace(int dpi)
{
    // The frame as it is: the system, not this message, would scale that.
    RECT at{}, client{};
    GetWindowRect(window_, &at);
    GetClientRect(window_, &client);
    changeDpi(dpi, {at.left, at.top, at.right + twipsToPixels(WindowWidthTwips, dpi) - client.right,
                    at.bottom + twipsToPixels(WindowHeightTwips, dpi) - client.bottom});
}

// Wide enough for the longest key name; measured when first asked for, not at start-up.
void Win32View::widenDropDown(HWND list) const
{
    int longest = 0;
    {
        const WindowDC dc(list);
        const Selection font(dc.get(), font_.get());
        for (const std::wstring &name : keyNames()) {
            SIZE size{};
            GetTextExtentPoint32W(dc.get(), name.c_str(), static_cast<int>(name.size()), &size);
            longest = std::max(longest, static_cast<int>(size.cx));
        }
    }
    RECT box{};
    GetWindowRect(list, &box);
    const int wanted = longest + GetSystemMetrics(SM_CXVSCROLL) + scaled(12);
    SendMessageW(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max<int>(wanted, box.right - box.left)), 0);
}

}  // namespace trelvane
