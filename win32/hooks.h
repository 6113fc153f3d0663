#pragma once

// Our own window procedure put in front of a control's or a dialog's, with the window's own
// kept to hand every message on to. Done directly rather than with SetWindowSubclass: under
// Wine every message through that chain asks the server for a window property three times,
// several hundred calls in the first frame and a few on every tick of the strip.

#include <windows.h>

#include <map>
#include <variant>

namespace trelvane {

// Data: what each hooked window is hooked with, if anything.
template <typename Data = std::monostate> class ProcedureHooks {
public:
    void hook(HWND control, WNDPROC procedure, Data data = {})
    {
        const auto original =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
        if (original)
            hooked_[control] = {original, data};
    }

    // What the control was hooked with; nullptr once it has gone.
    const Data *dataOf(HWND control) const
    {
        const auto found = hooked_.find(control);
        return found == hooked_.end() ? nullptr : &found->second.data;
    }

    // The control's own procedure, which is forgotten with the control's last message.
    LRESULT handOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
    {
        const auto found = hooked_.find(control);
        if (found == hooked_.end())
            return DefWindowProcW(control, message, wParam, lParam);
        const WNDPROC original = found->second.original;
        if (message == WM_NCDESTROY)
            hooked_.erase(found);
        return CallWindowProcW(original, control, message, wParam, lParam);
    }

private:
    struct Hooked {
        WNDPROC original;
        Data data;
    };
    std::map<HWND, Hooked> hooked_;
};

}  // namespace trelvane
