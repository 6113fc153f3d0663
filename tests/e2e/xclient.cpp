#include "xclient.h"

#include <X11/Xlib.h>

namespace trelvane::desktop {

namespace {

int ignoreError(Display *, XErrorEvent *)
{
    return 0;  // a window that went away between being listed and asked about
}

Display *dpy(void *d) { return static_cast<Display *>(d); }

}  // namespace

XClient::XClient(const std::string &display)
{
    XSetErrorHandler(ignoreError);
    display_ = XOpenDisplay(display.c_str());
}

XClient::~XClient()
{
    if (display_)
        XCloseDisplay(dpy(display_));
}

bool XClient::size(WindowId window, int &width, int &height)
{
    XWindowAttributes a{};
    if (!display_ || !XGetWindowAttributes(dpy(display_), window, &a))
        return false;
    width = a.width;
    height = a.height;
    return true;
}

bool XClient::sendDeleteWindow(WindowId window)
{
    if (!display_)
        return false;
    Display *d = dpy(display_);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = window;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(d, window, False, NoEventMask, &ev) != 0;
    XSync(d, False);
    return sent;
}

}  // namespace trelvane::desktop
