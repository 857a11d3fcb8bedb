// Windows, display modes, OpenGL contexts and the message queue on Windows: each operation is the Win32, GDI
// or WGL call it stands for. The engine's window procedure has no calling convention of its own, so every
// class the engine registers runs one procedure of ours, which hands each message to the engine's.
#include <cstddef>
#include <cstring>

#include "platform/native.h"
#include "platform/window.h"

namespace plat {

namespace {

// The icon resource of the program (platform/win32/brikatan.rc); a program without it gets the system's.
constexpr WORD PROGRAM_ICON_ID = 1;

// The engine's procedure of each class registered; the engine registers one, a test a few.
struct RegisteredClass {
    char name[64];
    WindowProcFn procedure;
};
RegisteredClass g_classes[8];

RegisteredClass* findClass(const char* name) {
    for (RegisteredClass& entry : g_classes) {
        if (entry.procedure && std::strcmp(entry.name, name) == 0) return &entry;
    }
    return nullptr;
}

RegisteredClass* freeClassEntry() {
    for (RegisteredClass& entry : g_classes) {
        if (!entry.procedure) return &entry;
    }
    return nullptr;
}

// Each window keeps its class's entry in its extra bytes from WM_NCCREATE on (CreateWindowExA passes it);
// the few messages before that go to the system's default procedure.
LRESULT CALLBACK classProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    const auto* entry = reinterpret_cast<const RegisteredClass*>(GetWindowLongPtrA(window, 0));
    if (!entry || !entry->procedure) return DefWindowProcA(window, message, wParam, lParam);
    return entry->procedure(window, message, wParam, lParam);
}

// The contract's descriptor is PIXELFORMATDESCRIPTOR member for member.
PIXELFORMATDESCRIPTOR toWin32(const PixelFormatDescriptor& descriptor) {
    static_assert(sizeof(PixelFormatDescriptor) == sizeof(PIXELFORMATDESCRIPTOR));
    static_assert(offsetof(PixelFormatDescriptor, depthBits) == offsetof(PIXELFORMATDESCRIPTOR, cDepthBits));
    static_assert(offsetof(PixelFormatDescriptor, damageMask) ==
                  offsetof(PIXELFORMATDESCRIPTOR, dwDamageMask));
    PIXELFORMATDESCRIPTOR win32{};
    std::memcpy(&win32, &descriptor, sizeof win32);
    return win32;
}

// The last message peeked, whole: dispatching it again gives the system its time and point too.
MSG g_lastMessage{};
// A WM_PAINT was handed out and not dispatched: the caller drains the queue without dispatching (a replay).
bool g_paintUndispatched = false;

MSG toWin32(const Message& message) {
    if (message.window == g_lastMessage.hwnd && message.message == g_lastMessage.message &&
        message.wParam == g_lastMessage.wParam && message.lParam == g_lastMessage.lParam) {
        return g_lastMessage;
    }
    MSG win32{};
    win32.hwnd = message.window;
    win32.message = message.message;
    win32.wParam = message.wParam;
    win32.lParam = message.lParam;
    return win32;
}

}  // namespace

bool registerClass(const WindowClass& windowClass) {
    if (!windowClass.className || !windowClass.windowProc) return false;
    const std::size_t nameLength = std::strlen(windowClass.className);
    RegisteredClass* entry = freeClassEntry();
    if (!entry || nameLength >= sizeof entry->name || findClass(windowClass.className)) return false;

    WNDCLASSA win32{};
    win32.style = windowClass.style;
    win32.lpfnWndProc = classProcedure;
    win32.cbWndExtra = sizeof(LONG_PTR);
    win32.hInstance = windowClass.instance;
    win32.hIcon = LoadIconA(windowClass.instance, MAKEINTRESOURCEA(PROGRAM_ICON_ID));
    if (!win32.hIcon) win32.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    win32.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    win32.lpszClassName = windowClass.className;
    if (!RegisterClassA(&win32)) return false;

    std::memcpy(entry->name, windowClass.className, nameLength + 1);
    entry->procedure = windowClass.windowProc;
    return true;
}

bool unregisterClass(const char* className, HINSTANCE instance) {
    if (!className || !UnregisterClassA(className, instance)) return false;
    if (RegisteredClass* entry = findClass(className)) *entry = RegisteredClass{};
    return true;
}

std::int32_t native::changeDisplayMode(int width, int height, int bitsPerPixel) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmBitsPerPel = static_cast<DWORD>(bitsPerPixel);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN);
}

void restoreDisplayMode() {
    ChangeDisplaySettingsA(nullptr, 0);
}

void showCursor(bool show) {
    ShowCursor(show ? TRUE : FALSE);
}

bool adjustWindowRect(Rect* rect, DWORD style, DWORD exStyle) {
    if (!rect) return false;
    RECT win32{rect->left, rect->top, rect->right, rect->bottom};
    if (!AdjustWindowRectEx(&win32, style, FALSE, exStyle)) return false;
    *rect = Rect{win32.left, win32.top, win32.right, win32.bottom};
    return true;
}

HWND native::createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                          int width, int height, HINSTANCE instance) {
    RegisteredClass* entry = className ? findClass(className) : nullptr;
    return CreateWindowExA(exStyle, className, title, style, x, y, width, height, nullptr, nullptr, instance,
                           entry);
}

bool destroyWindow(HWND window) {
    return DestroyWindow(window) != FALSE;
}

void showWindow(HWND window, int showCommand) {
    ShowWindow(window, showCommand);
}

void setForegroundWindow(HWND window) {
    SetForegroundWindow(window);
}

void setFocus(HWND window) {
    SetFocus(window);
}

HWND getFocus() {
    return GetFocus();
}

HDC getDC(HWND window) {
    return GetDC(window);
}

bool releaseDC(HWND window, HDC dc) {
    return ReleaseDC(window, dc) != 0;
}

int choosePixelFormat(HDC dc, const PixelFormatDescriptor& descriptor) {
    const PIXELFORMATDESCRIPTOR win32 = toWin32(descriptor);
    return ChoosePixelFormat(dc, &win32);
}

bool setPixelFormat(HDC dc, int format, const PixelFormatDescriptor& descriptor) {
    const PIXELFORMATDESCRIPTOR win32 = toWin32(descriptor);
    return SetPixelFormat(dc, format, &win32) != FALSE;
}

HGLRC createContext(HDC dc) {
    return wglCreateContext(dc);
}

bool makeCurrent(HDC dc, HGLRC context) {
    return wglMakeCurrent(dc, context) != FALSE;
}

bool deleteContext(HGLRC context) {
    return wglDeleteContext(context) != FALSE;
}

void* getProcAddress(const char* name) {
    return reinterpret_cast<void*>(wglGetProcAddress(name));
}

bool native::swapBuffers(HDC dc) {
    return SwapBuffers(dc) != FALSE;
}

bool native::peekMessage(Message* message) {
    if (!PeekMessageA(&g_lastMessage, nullptr, 0, 0, PM_REMOVE)) return false;
    // WM_PAINT comes back for as long as the window stays invalid; a caller that takes messages without
    // dispatching them (a replay) would see nothing else. Nothing is drawn in response: the next frame is. A
    // framed window that has drawn also keeps a paint of its frame pending, which only the default paint
    // handling ends; where WM_PAINT comes back undispatched, the frame is validated too.
    if (g_lastMessage.message == WM_PAINT && g_lastMessage.hwnd) {
        ValidateRect(g_lastMessage.hwnd, nullptr);
        if (g_paintUndispatched)
            RedrawWindow(g_lastMessage.hwnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOFRAME);
        g_paintUndispatched = true;
    }
    *message = Message{g_lastMessage.hwnd, g_lastMessage.message, g_lastMessage.wParam, g_lastMessage.lParam};
    return true;
}

void translateMessage(const Message& message) {
    const MSG win32 = toWin32(message);
    TranslateMessage(&win32);
}

LRESULT dispatchMessage(const Message& message) {
    if (message.message == WM_PAINT) g_paintUndispatched = false;
    const MSG win32 = toWin32(message);
    return DispatchMessageA(&win32);
}

void postQuitMessage(int exitCode) {
    PostQuitMessage(exitCode);
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window, message, wParam, lParam);
}

LRESULT defWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

bool native::getCursorPos(Point* point) {
    POINT win32{};
    if (!point || !GetCursorPos(&win32)) return false;
    *point = Point{win32.x, win32.y};
    return true;
}

}  // namespace plat
