#pragma once
// Holders for what the view borrows from Windows, each given back when its
// holder goes: a COM reference, a font, brush or region of the view's own, an
// object selected into a device context, a window's device context, a saved
// drawing state, a font registered from memory and the thread's COM apartment.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <objbase.h>
#include <windows.h>

#include <utility>

namespace trelvane {

// One reference to a COM object.
template <typename T> class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T *adopted) : p_(adopted) {}
    ~ComRef() { reset(); }
    ComRef(ComRef &&other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComRef &operator=(ComRef &&other) noexcept
    {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComRef(const ComRef &) = delete;
    ComRef &operator=(const ComRef &) = delete;

    T *operator->() const { return p_; }
    T *get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Where a function that makes an object puts its reference.
    T **out()
    {
        reset();
        return &p_;
    }
    void **put() { return reinterpret_cast<void **>(out()); }
    void reset()
    {
        if (T *held = std::exchange(p_, nullptr))
            held->Release();
    }

private:
    T *p_ = nullptr;
};

// A GDI object the view made itself (never a stock or system one).
template <typename H> class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H adopted) : h_(adopted) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject &&other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    GdiObject &operator=(GdiObject &&other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.h_, nullptr));
        return *this;
    }
    GdiObject(const GdiObject &) = delete;
    GdiObject &operator=(const GdiObject &) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H adopted = nullptr)
    {
        if (h_)
            DeleteObject(h_);
        h_ = adopted;
    }

private:
    H h_ = nullptr;
};

using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;

// A change made to a device context, undone with what was there before it.
template <typename Before, auto Undo> class DrawingChange {
public:
    DrawingChange(HDC dc, Before before) : dc_(dc), before_(before) {}
    ~DrawingChange() { Undo(dc_, before_); }
    DrawingChange(const DrawingChange &) = delete;
    DrawingChange &operator=(const DrawingChange &) = delete;

private:
    HDC dc_;
    Before before_;
};

// An object selected into a device context, the one before it put back.
struct Selection : DrawingChange<HGDIOBJ, &SelectObject> {
    Selection(HDC dc, HGDIOBJ object) : DrawingChange(dc, SelectObject(dc, object)) {}
};

// The clipping, colours and objects of a device context, put back as they were.
struct SavedDrawing : DrawingChange<int, &RestoreDC> {
    explicit SavedDrawing(HDC dc) : DrawingChange(dc, SaveDC(dc)) {}
};

// A window's device context, outside painting.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC &) = delete;
    WindowDC &operator=(const WindowDC &) = delete;

    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A font file registered for this program alone.
class FontInMemory {
public:
    FontInMemory() = default;
    FontInMemory(void *bytes, DWORD size)
    {
        DWORD fonts = 0;
        handle_ = AddFontMemResourceEx(bytes, size, nullptr, &fonts);
    }
    ~FontInMemory()
    {
        if (handle_)
            RemoveFontMemResourceEx(handle_);
    }
    FontInMemory(FontInMemory &&other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    FontInMemory &operator=(FontInMemory &&other) noexcept
    {
        std::swap(handle_, other.handle_);
        return *this;
    }
    FontInMemory(const FontInMemory &) = delete;
    FontInMemory &operator=(const FontInMemory &) = delete;

    explicit operator bool() const { return handle_ != nullptr; }

private:
    HANDLE handle_ = nullptr;
};

// COM on this thread, as a single-threaded apartment.
class ComApartment {
public:
    ComApartment() : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment()
    {
        if (entered_)
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    bool entered_;
};

}  // namespace trelvane
