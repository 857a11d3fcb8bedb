// Windows, display modes, OpenGL contexts and the message queue on SDL2.
//
// An HWND points at a WindowRecord; the window's device context is the same record, and a rendering context
// is an SDL_GLContext. SDL's events become the window messages the engine's window procedure expects.
//
// Full screen takes a mode of the asked size at any depth the display offers; where there is none, the window
// covers the desktop in its own mode and the picture is scaled (sdl_scaled_screen.h).
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/native.h"
#include "platform/sdl2/sdl_backend.h"
#include "platform/sdl2/sdl_scaled_screen.h"
#include "platform/window.h"

namespace {

struct WindowRecord {
    SDL_Window* window;
    plat::WindowProcFn windowProc;
    // Full screen at the desktop's mode: the size of the off-screen picture the engine draws, and the context
    // that holds it once there is one. 0, 0 and null otherwise.
    int pictureWidth;
    int pictureHeight;
    SDL_GLContext pictureContext;
};

struct ClassRecord {
    std::string name;
    plat::WindowProcFn windowProc = nullptr;
    const plat::IconImage* icon = nullptr;
    bool registered = false;
};

// What changeDisplayMode found for the next full-screen window.
enum class Fullscreen { none, modeSwitch, scaled };
struct FullscreenChoice {
    Fullscreen kind = Fullscreen::none;
    SDL_DisplayMode mode{};  // modeSwitch: the mode to switch to
    int width = 0;           // the picture's size
    int height = 0;
};

// A window manager may hand a new window the focus a little after the request for it.
constexpr Uint64 FOCUS_WAIT_MS = 500;
constexpr int FOCUS_EVENT_WAIT_MS = 10;

ClassRecord g_class;  // the engine registers one class
WindowRecord* g_window = nullptr;
FullscreenChoice g_fullscreen;

// The thread's message queue: a fixed ring, so pumping messages never allocates.
constexpr int QUEUE_SIZE = 256;
plat::Message g_queue[QUEUE_SIZE];
int g_queueHead = 0;
int g_queueCount = 0;

void enqueue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_queueCount == QUEUE_SIZE) return;  // a full queue drops the newest, as a full Windows queue does
    g_queue[(g_queueHead + g_queueCount) % QUEUE_SIZE] = plat::Message{window, message, wParam, lParam};
    ++g_queueCount;
}

HWND mainHandle() {
    return reinterpret_cast<HWND>(g_window);
}

bool minimised() {
    return g_window && (SDL_GetWindowFlags(g_window->window) & SDL_WINDOW_MINIMIZED) != 0;
}

void translateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            enqueue(mainHandle(), WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            enqueue(mainHandle(), WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, minimised() ? 1 : 0), 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            enqueue(mainHandle(), WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimised() ? 1 : 0), 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            // A scaled window is its picture as far as the engine can tell.
            const bool scaled = g_window->pictureWidth > 0;
            const int width = scaled ? g_window->pictureWidth : event.data1;
            const int height = scaled ? g_window->pictureHeight : event.data2;
            enqueue(mainHandle(), WM_SIZE, 0,
                    MAKELPARAM(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height)));
            break;
        }
        case SDL_WINDOWEVENT_CLOSE:
            enqueue(mainHandle(), WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

void translateEvent(const SDL_Event& event) {
    sdl2::inputHandleEvent(event);
    if (!g_window) return;
    switch (event.type) {
        case SDL_WINDOWEVENT:
            translateWindowEvent(event.window);
            break;
        case SDL_QUIT:  // a termination request from outside (signal, session end)
            enqueue(mainHandle(), WM_CLOSE, 0, 0);
            break;
        case SDL_KEYDOWN:
            enqueue(mainHandle(), WM_KEYDOWN, static_cast<WPARAM>(event.key.keysym.sym), 0);
            break;
        default:
            break;
    }
}

void pumpSdlEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        translateEvent(event);
}

void setWindowIcon(SDL_Window* window, const plat::IconImage* icon) {
    if (!icon || !icon->rgba) return;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(icon->rgba), icon->width, icon->height,
                                           32, icon->width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// The GL attributes the engine's pixel format asks for. SDL fixes the visual when the window is created, so
// they are set then; choosePixelFormat and setPixelFormat only confirm the request.
void requestPixelFormat() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
}

bool bitsMatch(Uint32 format, int bitsPerPixel) {
    const int bits = static_cast<int>(SDL_BITSPERPIXEL(format));
    if (bitsPerPixel == 16) return bits == 15 || bits == 16;
    if (bitsPerPixel == 32) return bits == 24 || bits == 32;
    return bits == bitsPerPixel;
}

// A mode of this size, at the asked depth if the display has one there, else at any depth: today's desktops
// offer one depth, and the picture looks the same at a deeper one.
bool findDisplayMode(int width, int height, int bitsPerPixel, SDL_DisplayMode* found) {
    const int count = SDL_GetNumDisplayModes(0);
    bool any = false;
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w != width || mode.h != height) continue;
        if (bitsMatch(mode.format, bitsPerPixel)) {
            *found = mode;
            return true;
        }
        if (!any) *found = mode;
        any = true;
    }
    return any;
}

// SetFocus gives a shown window the focus before it returns, and the devices acquired right after the window
// is made rely on that; SDL learns of the focus only from the display server's events. A window manager that
// hands the focus over on its own, or not at all, is waited for a little while.
void awaitFocus(SDL_Window* window) {
    if ((SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) == 0) return;
    sdl2::syncWithDisplayServer(window);
    pumpSdlEvents();
    const Uint64 deadline = SDL_GetTicks64() + FOCUS_WAIT_MS;
    while (SDL_GetKeyboardFocus() != window && SDL_GetTicks64() < deadline) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, FOCUS_EVENT_WAIT_MS) == 1) translateEvent(event);
    }
}

}  // namespace

namespace sdl2 {

SDL_Window* mainWindow() {
    return g_window ? g_window->window : nullptr;
}

}  // namespace sdl2

namespace plat {

namespace {

// When no display answers, SDL falls back to drivers that draw into memory. A game that runs where nobody can
// see it is worse than one that says it has no window, so those count as no display at all.
bool drawsOnAScreen(const char* videoDriver) {
    return videoDriver && std::strcmp(videoDriver, "offscreen") != 0 &&
           std::strcmp(videoDriver, "dummy") != 0;
}

}  // namespace

bool registerClass(const WindowClass& windowClass) {
    if (!windowClass.className || !windowClass.windowProc || g_class.registered) return false;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    if (!drawsOnAScreen(SDL_GetCurrentVideoDriver())) {
        std::fputs("No display could be opened: the game has no screen to draw on.\n", stderr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    g_class.name = windowClass.className;
    g_class.windowProc = windowClass.windowProc;
    g_class.icon = windowClass.icon;
    g_class.registered = true;
    return true;
}

bool unregisterClass(const char* className, HINSTANCE) {
    if (!g_class.registered || !className || g_class.name != className || g_window) return false;
    g_class.registered = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return true;
}

std::int32_t native::changeDisplayMode(int width, int height, int bitsPerPixel) {
    FullscreenChoice choice;
    choice.width = width;
    choice.height = height;
    if (findDisplayMode(width, height, bitsPerPixel, &choice.mode)) {
        choice.kind = Fullscreen::modeSwitch;
    } else {
        requestPixelFormat();
        if (!sdl2::canScalePicture(width, height)) return DISP_CHANGE_BADMODE;
        choice.kind = Fullscreen::scaled;
    }
    g_fullscreen = choice;
    return DISP_CHANGE_SUCCESSFUL;
}

void restoreDisplayMode() {
    // SDL gives the desktop its own mode back when the full-screen window leaves full screen or goes away,
    // and whenever it is minimised.
    if (g_window && g_fullscreen.kind != Fullscreen::none) SDL_SetWindowFullscreen(g_window->window, 0);
    g_fullscreen.kind = Fullscreen::none;
}

void showCursor(bool show) {
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool adjustWindowRect(Rect* rect, DWORD, DWORD) {
    // SDL sizes windows by their client area; the frame is the window manager's.
    return rect != nullptr;
}

HWND native::createWindow(DWORD, const char* className, const char* title, DWORD style, int x, int y,
                          int width, int height, HINSTANCE) {
    if (!g_class.registered || !className || g_class.name != className || g_window) return nullptr;
    requestPixelFormat();
    const Fullscreen fullscreen = (style & WS_POPUP) != 0 ? g_fullscreen.kind : Fullscreen::none;
    Uint32 flags = SDL_WINDOW_OPENGL | ((style & WS_VISIBLE) ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN);
    if (fullscreen == Fullscreen::modeSwitch) flags |= SDL_WINDOW_FULLSCREEN;
    if (fullscreen == Fullscreen::scaled) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_Window* window = SDL_CreateWindow(title ? title : "", x, y, width, height, flags);
    if (!window) return nullptr;
    if (fullscreen == Fullscreen::modeSwitch) SDL_SetWindowDisplayMode(window, &g_fullscreen.mode);
    if (fullscreen == Fullscreen::scaled) sdl2::coverDisplayWithoutWindowManager(window);
    setWindowIcon(window, g_class.icon);

    g_window = new WindowRecord{window, g_class.windowProc, 0, 0, nullptr};
    if (fullscreen == Fullscreen::scaled) {
        g_window->pictureWidth = g_fullscreen.width;
        g_window->pictureHeight = g_fullscreen.height;
    }
    // SDL has no screen-saver request message; the window is asked once, now. A procedure that swallows the
    // request keeps the saver off for the window's life, one that passes it on lets defWindowProc allow it.
    SDL_DisableScreenSaver();
    g_window->windowProc(mainHandle(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    return mainHandle();
}

bool destroyWindow(HWND window) {
    if (!window || window != mainHandle()) return false;
    SDL_DestroyWindow(g_window->window);
    delete g_window;
    g_window = nullptr;
    return true;
}

void showWindow(HWND window, int) {
    if (window == mainHandle() && g_window) SDL_ShowWindow(g_window->window);
}

void setForegroundWindow(HWND window) {
    if (window == mainHandle() && g_window) SDL_RaiseWindow(g_window->window);
}

void setFocus(HWND window) {
    if (window != mainHandle() || !g_window) return;
    SDL_SetWindowInputFocus(g_window->window);
    awaitFocus(g_window->window);
}

HWND getFocus() {
    return g_window && SDL_GetKeyboardFocus() == g_window->window ? mainHandle() : nullptr;
}

HDC getDC(HWND window) {
    return window && window == mainHandle() ? reinterpret_cast<HDC>(window) : nullptr;
}

bool releaseDC(HWND window, HDC dc) {
    return window && reinterpret_cast<HWND>(dc) == window;
}

int choosePixelFormat(HDC dc, const PixelFormatDescriptor& descriptor) {
    const DWORD needed = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
    if (!dc || (descriptor.flags & needed) != needed || descriptor.pixelType != PFD_TYPE_RGBA) return 0;
    return 1;
}

bool setPixelFormat(HDC dc, int format, const PixelFormatDescriptor&) {
    return dc != nullptr && format == 1;
}

HGLRC createContext(HDC dc) {
    WindowRecord* record = reinterpret_cast<WindowRecord*>(dc);
    if (!record || record != g_window) return nullptr;
    const SDL_GLContext context = SDL_GL_CreateContext(record->window);
    if (!context) return nullptr;
    // Frames wait for the display's refresh where the driver allows it, as Windows drivers do by default;
    // where it is refused the loop runs free, as before.
    SDL_GL_SetSwapInterval(1);
    if (record->pictureWidth > 0 && !record->pictureContext) {
        if (!sdl2::createScaledScreen(record->pictureWidth, record->pictureHeight)) {
            SDL_GL_DeleteContext(context);
            return nullptr;
        }
        record->pictureContext = context;
    }
    return reinterpret_cast<HGLRC>(context);
}

bool makeCurrent(HDC dc, HGLRC context) {
    WindowRecord* record = reinterpret_cast<WindowRecord*>(dc);
    SDL_Window* window = record ? record->window : nullptr;
    return SDL_GL_MakeCurrent(window, reinterpret_cast<SDL_GLContext>(context)) == 0;
}

bool deleteContext(HGLRC context) {
    if (!context) return false;
    if (g_window && g_window->pictureContext == reinterpret_cast<SDL_GLContext>(context)) {
        sdl2::forgetScaledScreen();
        g_window->pictureContext = nullptr;
    }
    SDL_GL_DeleteContext(reinterpret_cast<SDL_GLContext>(context));
    return true;
}

void* getProcAddress(const char* name) {
    return SDL_GL_GetProcAddress(name);
}

bool native::swapBuffers(HDC dc) {
    WindowRecord* record = reinterpret_cast<WindowRecord*>(dc);
    if (!record || record != g_window) return false;
    if (record->pictureContext && SDL_GL_GetCurrentContext() == record->pictureContext) {
        sdl2::presentScaledScreen(record->window);
    } else {
        SDL_GL_SwapWindow(record->window);
    }
    return true;
}

bool native::peekMessage(Message* message) {
    pumpSdlEvents();
    if (g_queueCount == 0) return false;
    *message = g_queue[g_queueHead];
    g_queueHead = (g_queueHead + 1) % QUEUE_SIZE;
    --g_queueCount;
    return true;
}

void translateMessage(const Message&) {}

LRESULT dispatchMessage(const Message& message) {
    // Thread messages such as WM_QUIT have no window and reach no procedure.
    if (!message.window || message.window != mainHandle()) return 0;
    return g_window->windowProc(message.window, message.message, message.wParam, message.lParam);
}

void postQuitMessage(int exitCode) {
    enqueue(nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0);
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!window || window != mainHandle()) return 0;
    return g_window->windowProc(window, message, wParam, lParam);
}

LRESULT defWindowProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_SYSCOMMAND && (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)) {
        SDL_EnableScreenSaver();
    }
    return 0;
}

bool native::getCursorPos(Point* point) {
    if (!point) return false;
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    point->x = x;
    point->y = y;
    // The screen of a scaled window is its picture.
    if (g_window && g_window->pictureContext) {
        SDL_GetWindowPosition(g_window->window, &x, &y);
        *point = sdl2::toPicturePoint(g_window->window, Point{point->x - x, point->y - y});
    }
    return true;
}

}  // namespace plat
