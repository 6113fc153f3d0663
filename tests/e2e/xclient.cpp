#include "xclient.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

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

std::vector<std::uint32_t> XClient::pixels(WindowId window, int x, int y, int width, int height)
{
    if (!display_)
        return {};
    Display *d = dpy(display_);
    // Read from the root, so that the children painted over the window are seen as the player sees them.
    const ::Window root = DefaultRootWindow(d);
    int rootX = 0, rootY = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(d, window, root, x, y, &rootX, &rootY, &child))
        return {};
    XImage *image = XGetImage(d, root, rootX, rootY, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return {};
    std::vector<std::uint32_t> out;
    out.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col)
            out.push_back(static_cast<std::uint32_t>(XGetPixel(image, col, row) & 0xffffff));
    XDestroyImage(image);
    return out;
}

std::vector<WindowId> XClient::shown()
{
    std::vector<WindowId> out;
    if (!display_)
        return out;
    Display *d = dpy(display_);
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count))
        return out;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable)
            out.push_back(children[i]);
    }
    if (children)
        XFree(children);
    return out;
}

}  // namespace trelvane::desktop
