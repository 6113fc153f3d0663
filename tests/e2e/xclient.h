#pragma once
// The few Xlib calls the desktop tests make, behind a header free of Xlib's
// macros (None, Status, Bool...), which clash with GoogleTest's names.

#include <string>

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

private:
    void *display_ = nullptr;
};

}  // namespace trelvane::desktop
