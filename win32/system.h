#pragma once
// What every part of the view asks of Windows alike: text in its form, the
// functions of newer versions where there are any, a window's density, the
// program's own resources and a colour of the window logic.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "window/look.h"

namespace trelvane {

// UTF-8 as Windows takes text.
std::wstring wide(std::string_view utf8);

// A function of newer Windows, looked up so that the program also starts where it is missing.
template <typename F> F systemFunction(const wchar_t *module, const char *name)
{
    return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(module), name)));
}

// The dots per inch a window is shown at.
int dpiOf(HWND window);

// A resource of the executable, or none.
std::span<const std::byte> resourceBytes(HINSTANCE instance, const wchar_t *name, const wchar_t *type);

constexpr COLORREF colourRef(const Colour &c)
{
    return RGB(static_cast<BYTE>(c.red), static_cast<BYTE>(c.green), static_cast<BYTE>(c.blue));
}

}  // namespace trelvane
