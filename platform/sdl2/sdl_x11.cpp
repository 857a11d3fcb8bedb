// The little the backend asks of the X server directly, where SDL has no call for it. Under any other video
// driver these do nothing.
#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/sdl2/sdl_backend.h"

namespace {

// The X connection and window behind an SDL window, when SDL runs on X11.
bool x11Window(SDL_Window* window, Display** display, Window* xwindow) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return false;
    *display = info.info.x11.display;
    *xwindow = info.info.x11.window;
    return true;
}

// A window manager that follows the desktop rules announces itself on the root window.
bool hasWindowManager(Display* display) {
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          AnyPropertyType, &type, &format, &count, &left, &data);
    if (data) XFree(data);
    return status == Success && type != None && count > 0;
}

}  // namespace

namespace sdl2 {

void syncWithDisplayServer(SDL_Window* window) {
    Display* display = nullptr;
    Window xwindow = 0;
    if (x11Window(window, &display, &xwindow)) XSync(display, False);
}

void coverDisplayWithoutWindowManager(SDL_Window* window) {
    Display* display = nullptr;
    Window xwindow = 0;
    SDL_Rect bounds;
    if (!x11Window(window, &display, &xwindow) || hasWindowManager(display)) return;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
    XMoveResizeWindow(display, xwindow, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                      static_cast<unsigned>(bounds.h));
    XSync(display, False);
}

}  // namespace sdl2
