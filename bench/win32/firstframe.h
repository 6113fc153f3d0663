#pragma once
// Start-up and idle cost measured inside a Win32 program, so that Wine's own
// start of a process does not hide the program's work:
//   - the milliseconds from entry to the first frame, taken when the last
//     pending paint of the first shown window has been handled;
//   - with an idle time given, the CPU milliseconds per second spent while
//     the window sits open, from a second after that: work the program does
//     just after its first frame is start-up, not rest.
// The window gets no mouse input: Xvfb keeps its pointer in the middle of the
// screen, over the window, and a tip shown there would be no rest.
// Both are printed on stdout, and the window is then closed.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdio>

namespace trelvane::bench {

class FirstFrame {
public:
    // Starts the clock; call first thing at entry.
    explicit FirstFrame(int idleSeconds) : idleSeconds_(idleSeconds)
    {
        QueryPerformanceCounter(&start_);
        self_ = this;
        hook_ = SetWindowsHookExW(WH_GETMESSAGE, &FirstFrame::onMessage, nullptr, GetCurrentThreadId());
        mouseHook_ = SetWindowsHookExW(WH_MOUSE, &FirstFrame::noMouse, nullptr, GetCurrentThreadId());
    }
    ~FirstFrame()
    {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        UnhookWindowsHookEx(mouseHook_);
    }

private:
    // A paint is seen as it is taken from the queue; the marker posted then is
    // taken once that paint has been handled, before any other paint.
    static LRESULT CALLBACK onMessage(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto *m = reinterpret_cast<const MSG *>(lParam);
        if (code == HC_ACTION && wParam == PM_REMOVE && !self_->window_) {
            if (m->message == WM_PAINT) {
                self_->lastPainted_ = GetAncestor(m->hwnd, GA_ROOT);
                PostThreadMessageW(GetCurrentThreadId(), WM_NULL, 0, Marker);
            } else if (m->message == WM_NULL && !m->hwnd && m->lParam == Marker && self_->lastPainted_ &&
                       IsWindowVisible(self_->lastPainted_) && !(HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT)) {
                self_->painted(self_->lastPainted_);  // nothing of the thread waits to be painted
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK noMouse(int code, WPARAM wParam, LPARAM lParam)
    {
        return code == HC_ACTION ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);  // dropped
    }

    void painted(HWND window)
    {
        window_ = window;
        // Under Wine each message through the hook costs the process three calls to the server.
        UnhookWindowsHookEx(hook_);
        hook_ = nullptr;
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        std::printf("first-frame-ms %.3f\n", 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) /
                                                 static_cast<double>(frequency.QuadPart));
        if (idleSeconds_ == 0) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            return;
        }
        SetTimer(nullptr, 0, 1000, &FirstFrame::settled);
    }

    static void CALLBACK settled(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        self_->cpuBefore_ = cpuMs();
        SetTimer(nullptr, 0, static_cast<UINT>(self_->idleSeconds_) * 1000, &FirstFrame::idleOver);
    }

    static void CALLBACK idleOver(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(nullptr, id);
        std::printf("idle-cpu-ms-per-s %.3f\n", (cpuMs() - self_->cpuBefore_) / self_->idleSeconds_);
        std::fflush(stdout);
        PostMessageW(self_->window_, WM_CLOSE, 0, 0);
    }

    static double cpuMs()
    {
        FILETIME created, exited, kernel, user;
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        auto ms = [](const FILETIME &t) {
            return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) /
                   10000.0;
        };
        return ms(kernel) + ms(user);
    }

    static inline FirstFrame *self_ = nullptr;
    int idleSeconds_;
    LARGE_INTEGER start_{};
    HHOOK hook_ = nullptr;
    HHOOK mouseHook_ = nullptr;
    static constexpr LPARAM Marker = 0x7472;
    HWND lastPainted_ = nullptr;
    HWND window_ = nullptr;
    double cpuBefore_ = 0;
};

}  // namespace trelvane::bench
