// The floor: config.exe's window made the plainest way, and timed the same way.
//   floor_bench [idle seconds]   (at the values of the file run.sh writes)
// The same controls at the same places and values, each after the hidden
// caption that names it, the nine pictures on show decoded by OLE from the same
// resources, the captions in the same font, the strip with its two messages
// moving at speed 1, the same icon and manifest; and nothing else: no tips, no
// screen-reader objects, no subclassed controls, no window logic. A tick
// invalidates the old and new rectangles of each message that moved, and a
// paint draws every layout row its area touches.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <commctrl.h>
#include <olectl.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "firstframe.h"
#include "keys/keycatalogue.h"
#include "preview/messagetransition.h"
#include "settings/settingsfields.h"
#include "win32/resources.h"
#include "window/layouttable.h"

namespace {

using namespace trelvane;

// run.sh's trelvane.cfg, in file order; the volumes as slider positions, the keys as codes.
constexpr std::array<int, FieldCount> Values = {2, 8, 1, 1, 1, 0, 1, 0, 1, 1, 75, 1, 50, 1, 203, 205, 57, 30, 32};

HINSTANCE instance = nullptr;
int dpi = 96;
HFONT font = nullptr, boldFont = nullptr;
std::array<IPicture *, WindowLayout.size()> pictures{};  // the pictures on show, by row
MessageTransition strip;

int value(Field f) { return Values[static_cast<std::size_t>(f)]; }
int px(int twips) { return MulDiv(twips, dpi, 1440); }
std::wstring wide(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

RECT rectOf(const ControlDef &c)
{
    const int left = c.role == Role::Message ? strip.left(c.index) : c.left;
    return {px(left), px(c.top), px(left + c.width), px(c.top + c.height)};
}

bool onShow(const ControlDef &c)
{
    const FieldInfo &info = fieldInfo(*c.field);
    const int v = value(*c.field);
    return c.index == (info.kind == FieldKind::Toggle ? (v != 0 ? 1 : 0) : v - info.min);
}

IPicture *decode(const ControlDef &c)
{
    const std::wstring name = wide(c.text);
    HRSRC found = FindResourceW(instance, name.c_str(), dpi >= 144 ? RT_PREVIEW2X : RT_PREVIEW);
    const DWORD size = SizeofResource(instance, found);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), LockResource(LoadResource(instance, found)), size);
    GlobalUnlock(memory);
    IStream *stream = nullptr;
    CreateStreamOnHGlobal(memory, TRUE, &stream);
    IPicture *picture = nullptr;
    OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture, reinterpret_cast<void **>(&picture));
    stream->Release();
    return picture;
}

void registerFont(const wchar_t *name)
{
    HRSRC found = FindResourceW(instance, name, MAKEINTRESOURCEW(10));  // RT_RCDATA
    DWORD count = 0;
    AddFontMemResourceEx(LockResource(LoadResource(instance, found)), SizeofResource(instance, found), nullptr, &count);
}

HWND makeControl(HWND window, int row)
{
    const ControlDef &c = WindowLayout[static_cast<std::size_t>(row)];
    const RECT r = rectOf(c);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + row));
    constexpr DWORD child = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    if (c.field) {
        // The hidden caption screen readers name the control by: its setting's caption without the colon.
        std::wstring name = wide(fieldInfo(*c.field).caption);
        name.erase(std::remove(name.begin(), name.end(), L':'), name.end());
        CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | SS_NOPREFIX, r.left, r.top, 0, 0, window, nullptr,
                        instance, nullptr);
    }
    HWND w = nullptr;
    switch (c.kind) {
    case ControlKind::CheckBox: {
        w = CreateWindowExW(0, L"BUTTON", L"", child | BS_3STATE, r.left, r.top, width, height, window, id, instance,
                            nullptr);
        const int v = value(*c.field);
        SendMessageW(w, BM_SETCHECK, v == 0 ? BST_UNCHECKED : v == 2 ? BST_INDETERMINATE : BST_CHECKED, 0);
        break;
    }
    case ControlKind::PushButton:
        w = CreateWindowExW(0, L"BUTTON", wide(c.text).c_str(), child | BS_PUSHBUTTON, r.left, r.top, width, height,
                            window, id, instance, nullptr);
        break;
    case ControlKind::Slider: {
        w = CreateWindowExW(0, TRACKBAR_CLASSW, L"", child | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS, r.left, r.top,
                            width, height, window, id, instance, nullptr);
        const FieldInfo &range = fieldInfo(*c.field);
        SendMessageW(w, TBM_SETRANGEMIN, FALSE, range.min);
        SendMessageW(w, TBM_SETRANGEMAX, FALSE, range.max);
        SendMessageW(w, TBM_SETTICFREQ, 1, 0);
        SendMessageW(w, TBM_SETPOS, TRUE, value(*c.field));
        break;
    }
    case ControlKind::ComboBox:
        // About 16 keys show when the list drops down.
        w = CreateWindowExW(0, L"COMBOBOX", L"", child | WS_VSCROLL | CBS_DROPDOWNLIST, r.left, r.top, width,
                            height + 16 * px(255), window, id, instance, nullptr);
        for (const KeyRow &key : KeyCatalogue)
            SendMessageW(w, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(key.name).c_str()));
        SendMessageW(w, CB_SETCURSEL, static_cast<WPARAM>(GetIndex(static_cast<std::int16_t>(value(*c.field)))), 0);
        break;
    default: break;
    }
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (c.kind == ControlKind::ComboBox)  // the box at the layout's height: its text and a border of 3 pixels
        SendMessageW(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - MulDiv(6, dpi, 96));
    return w;
}

void paint(HDC dc)
{
    SetBkMode(dc, TRANSPARENT);
    // Bottom-most first, each row over those beneath it; the strip's right box thus covers a message entering.
    for (std::size_t row = WindowLayout.size(); row-- > 0;) {
        const ControlDef &c = WindowLayout[row];
        const RECT r = rectOf(c);
        if (!RectVisible(dc, &r))
            continue;
        if (c.kind == ControlKind::Shape) {
            FillRect(dc, &r,
                     c.role == Role::Strip ? static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))
                                           : GetSysColorBrush(COLOR_SCROLLBAR));
        } else if (c.kind == ControlKind::Picture && pictures[row]) {
            OLE_XSIZE_HIMETRIC width = 0;
            OLE_YSIZE_HIMETRIC height = 0;
            pictures[row]->get_Width(&width);
            pictures[row]->get_Height(&height);
            SetStretchBltMode(dc, HALFTONE);
            SetBrushOrgEx(dc, 0, 0, nullptr);
            pictures[row]->Render(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, height, width, -height,
                                  nullptr);
        } else if (c.kind == ControlKind::Label) {
            const bool message = c.role == Role::Message;
            SelectObject(dc, message ? boldFont : font);
            SetTextColor(dc, message ? RGB(255, 255, 0) : GetSysColor(COLOR_BTNTEXT));
            const std::wstring text = wide(c.text);
            TextOutW(dc, r.left, r.top, text.c_str(), static_cast<int>(text.size()));
        }
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        paint(dc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER: {
        std::array<RECT, 2> before{};
        for (const ControlDef &c : WindowLayout)
            if (c.role == Role::Message)
                before[static_cast<std::size_t>(c.index)] = rectOf(c);
        strip.tick(value(Field::MsgTrans));
        for (const ControlDef &c : WindowLayout) {
            if (c.role != Role::Message)
                continue;
            const RECT &was = before[static_cast<std::size_t>(c.index)], now = rectOf(c);
            if (!EqualRect(&was, &now)) {
                InvalidateRect(hwnd, &was, TRUE);
                InvalidateRect(hwnd, &now, TRUE);
            }
        }
        return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    trelvane::bench::FirstFrame measure(argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 0);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    instance = GetModuleHandleW(nullptr);

    HDC screen = GetDC(nullptr);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    registerFont(FONT_REGULAR);
    registerFont(FONT_BOLD);
    for (HFONT *f : {&font, &boldFont})
        *f = CreateFontW(-MulDiv(11, dpi, 96), 0, 0, 0, f == &font ? FW_NORMAL : FW_BOLD, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                         L"Trelvane Sans");

    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = windowProc;
    c.hInstance = instance;
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = L"TrelvaneFloor";
    c.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRELVANE), IMAGE_ICON,
                                            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    c.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TRELVANE), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    RegisterClassExW(&c);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT frame{0, 0, px(WindowWidthTwips), px(WindowHeightTwips)}, work{};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    HWND window = CreateWindowExW(0, L"TrelvaneFloor", L"Trelvane Configuration Utility", style,
                                  work.left + (work.right - work.left - width) / 2,
                                  work.top + (work.bottom - work.top - height) / 2, width, height, nullptr, nullptr,
                                  instance, nullptr);

    // In focus order, which Tab follows.
    std::vector<int> windowed;
    for (std::size_t row = 0; row < WindowLayout.size(); ++row)
        if (WindowLayout[row].isWindowed())
            windowed.push_back(static_cast<int>(row));
    std::sort(windowed.begin(), windowed.end(), [](int a, int b) { return WindowLayout[a].tab < WindowLayout[b].tab; });
    std::vector<HWND> made;
    for (int row : windowed)
        made.push_back(makeControl(window, row));
    for (std::size_t row = 0; row < WindowLayout.size(); ++row)
        if (WindowLayout[row].kind == ControlKind::Picture && onShow(WindowLayout[row]))
            pictures[row] = decode(WindowLayout[row]);

    SetTimer(window, 1, TransitionIntervalMs, nullptr);
    ShowWindow(window, SW_SHOW);
    SetFocus(made.front());
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &m))
            continue;
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    for (IPicture *p : pictures)
        if (p)
            p->Release();
    CoUninitialize();
    return 0;
}
