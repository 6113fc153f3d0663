// The reference: a bare Win32 window of the utility's size and title.
//   bare_bench [idle seconds] [label]
// With "label", one text moves by a pixel every 25 ms across the window, as
// the sample messages do at speed 1.
#include <cstdlib>
#include <cwchar>

#include "firstframe.h"

namespace {

bool moving = false;
int labelLeft = 400;

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (moving)
            TextOutW(dc, labelLeft, 344, L"Message 1", 9);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER: {
        RECT was{labelLeft, 344, labelLeft + 62, 357};
        labelLeft = labelLeft > 160 ? labelLeft - 1 : 520;
        RECT now{labelLeft, 344, labelLeft + 62, 357}, both;
        UnionRect(&both, &was, &now);
        InvalidateRect(hwnd, &both, TRUE);
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
    moving = argc > 2 && std::wcscmp(argv[2], L"label") == 0;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW c{};
    c.cbSize = sizeof c;
    c.lpfnWndProc = windowProc;
    c.hInstance = instance;
    c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    c.lpszClassName = L"BareWindow";
    RegisterClassExW(&c);
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT r{0, 0, 668, 530};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    HWND w = CreateWindowExW(0, L"BareWindow", L"Trelvane Configuration Utility", style, CW_USEDEFAULT, CW_USEDEFAULT,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(w, SW_SHOW);
    if (moving)
        SetTimer(w, 1, 25, nullptr);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return 0;
}
