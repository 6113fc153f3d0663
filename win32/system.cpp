#include "win32/system.h"

#include "win32/handles.h"

namespace trelvane {

std::wstring wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

int dpiOf(HWND window)
{
    using GetDpiForWindowFn = UINT(WINAPI *)(HWND);
    static const auto getDpiForWindow = systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow)
        return static_cast<int>(getDpiForWindow(window));
    const WindowDC dc(window);
    return GetDeviceCaps(dc.get(), LOGPIXELSY);
}

std::span<const std::byte> resourceBytes(HINSTANCE instance, const wchar_t *name, const wchar_t *type)
{
    HRSRC found = FindResourceW(instance, name, type);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    if (!loaded)
        return {};
    return {static_cast<const std::byte *>(LockResource(loaded)), SizeofResource(instance, found)};
}

}  // namespace trelvane
