// Windows, display modes, OpenGL contexts and the message queue of the platform contract.
//
// Each operation stands for one Win32, GDI or WGL call and keeps its inputs, results and meaning. A backend
// delivers the window events the engine's window procedure expects (WM_ACTIVATE with the minimised flag in
// the high word, WM_SIZE, WM_CLOSE, WM_SYSCOMMAND) through the queue below, and calls the procedure
// registered with the window's class from dispatchMessage and sendMessage.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace plat {

using WindowProcFn = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The picture of the window's icon: width x height pixels, 4 bytes each (R, G, B, A), top row first.
struct IconImage {
    int width;
    int height;
    const std::uint8_t* rgba;
};

// WNDCLASSA, reduced to the members a backend can act on. The icon stands for the program's icon resource.
struct WindowClass {
    UINT style;
    WindowProcFn windowProc;
    HINSTANCE instance;
    const IconImage* icon;
    const char* className;
};

struct Rect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

struct Point {
    std::int32_t x;
    std::int32_t y;
};

// MSG, reduced to what the engine reads.
struct Message {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// PIXELFORMATDESCRIPTOR, member for member.
struct PixelFormatDescriptor {
    std::uint16_t size;
    std::uint16_t version;
    DWORD flags;
    std::uint8_t pixelType;
    std::uint8_t colorBits;
    std::uint8_t redBits, redShift, greenBits, greenShift, blueBits, blueShift;
    std::uint8_t alphaBits, alphaShift;
    std::uint8_t accumBits, accumRedBits, accumGreenBits, accumBlueBits, accumAlphaBits;
    std::uint8_t depthBits;
    std::uint8_t stencilBits;
    std::uint8_t auxBuffers;
    std::uint8_t layerType;
    std::uint8_t reserved;
    DWORD layerMask;
    DWORD visibleMask;
    DWORD damageMask;
};

// RegisterClassA / UnregisterClassA. False when the class cannot be registered or is unknown.
bool registerClass(const WindowClass& windowClass);
bool unregisterClass(const char* className, HINSTANCE instance);

// ChangeDisplaySettingsA with CDS_FULLSCREEN: DISP_CHANGE_SUCCESSFUL only when a WS_POPUP window of width x
// height created next will fill the screen with the engine's picture. On Windows that takes exactly this
// mode. The SDL backend takes a mode of this size at any depth, and where the display has none it keeps the
// desktop's mode and scales the picture to it, aspect kept, with black bars; the engine still sees a width x
// height window (viewport, pixel reads, size messages), and the call fails only where neither can be done.
// restoreDisplayMode is ChangeDisplaySettingsA(nullptr, 0).
std::int32_t changeDisplayMode(int width, int height, int bitsPerPixel);
void restoreDisplayMode();

// ShowCursor.
void showCursor(bool show);

// AdjustWindowRectEx without a menu: grows the client rectangle to the window rectangle for these styles.
bool adjustWindowRect(Rect* rect, DWORD style, DWORD exStyle);

// CreateWindowExA without parent or menu; DestroyWindow. A window created with WS_POPUP goes full screen in
// the mode set by changeDisplayMode; WS_VISIBLE shows it at once.
HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                  int width, int height, HINSTANCE instance);
bool destroyWindow(HWND window);

// ShowWindow, SetForegroundWindow, SetFocus.
void showWindow(HWND window, int showCommand);
void setForegroundWindow(HWND window);
void setFocus(HWND window);
// GetFocus: the program's window when it has the keyboard focus, otherwise null.
HWND getFocus();

// GetDC / ReleaseDC.
HDC getDC(HWND window);
bool releaseDC(HWND window, HDC dc);

// ChoosePixelFormat (0 when nothing fits) and SetPixelFormat.
int choosePixelFormat(HDC dc, const PixelFormatDescriptor& descriptor);
bool setPixelFormat(HDC dc, int format, const PixelFormatDescriptor& descriptor);

// wglCreateContext, wglMakeCurrent (both null: no context current), wglDeleteContext, wglGetProcAddress.
HGLRC createContext(HDC dc);
bool makeCurrent(HDC dc, HGLRC context);
bool deleteContext(HGLRC context);
void* getProcAddress(const char* name);

// SwapBuffers.
bool swapBuffers(HDC dc);

// PeekMessageA(any window, all messages, PM_REMOVE): false at once when the queue is empty.
bool peekMessage(Message* message);
// TranslateMessage and DispatchMessageA; dispatch runs the window procedure of the message's window.
void translateMessage(const Message& message);
LRESULT dispatchMessage(const Message& message);
// PostQuitMessage: queues WM_QUIT behind everything already queued.
void postQuitMessage(int exitCode);
// SendMessageA: runs the window procedure at once, inside the call.
LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// DefWindowProcA.
LRESULT defWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// GetCursorPos: the pointer in screen coordinates.
bool getCursorPos(Point* point);

}  // namespace plat
