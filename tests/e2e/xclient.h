#pragma once
// The few Xlib calls the desktop tests make, behind a header free of Xlib's
// macros (None, Status, Bool...), which clash with GoogleTest's names.

#include <cstdint>
#include <string>
#include <vector>

namespace trelvane::desktop {

using WindowId = unsigned long;

class XClient {
public:
    explicit XClient(const std::string &display);
    XClient(const XClient &) = delete;
    XClient &operator=(const XClient &) = delete;
    ~XClient();

    bool connected() const { return display_ != nullptr; }
    // False if the window no longer exists.
    bool size(WindowId window, int &width, int &height);
    // What a window manager sends when the title bar's close box is clicked.
    bool sendDeleteWindow(WindowId window);
    // What the screen shows of a rectangle of the window, as 0xRRGGBB row by
    // row; empty if it cannot be read.
    std::vector<std::uint32_t> pixels(WindowId window, int x, int y, int width, int height);
    // The top-level windows on show, a tip's among them.
    std::vector<WindowId> shown();

private:
    void *display_ = nullptr;
};

}  // namespace trelvane::desktop
