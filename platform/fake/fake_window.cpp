#include <string>

#include "platform/fake/fake_platform.h"
#include "platform/native.h"
#include "platform/window.h"

namespace fake {

WindowState& window() {
    static WindowState state;
    return state;
}

HWND fakeWindowHandle() {
    static char handle;
    return reinterpret_cast<HWND>(&handle);
}

}  // namespace fake

namespace {

fake::WindowState& win() {
    return fake::window();
}

void record(const char* call) {
    if (fake::system().recordCalls) fake::calls().push_back(call);
}

void record(const std::string& call) {
    if (fake::system().recordCalls) fake::calls().push_back(call);
}

HDC fakeDC() {
    static char dc;
    return reinterpret_cast<HDC>(&dc);
}

HGLRC fakeContext() {
    static char context;
    return reinterpret_cast<HGLRC>(&context);
}

}  // namespace

namespace plat {

bool registerClass(const WindowClass& windowClass) {
    record(std::string("registerClass ") + (windowClass.className ? windowClass.className : ""));
    if (win().registerClassFails || win().classRegistered) return false;
    win().classRegistered = true;
    win().className = windowClass.className ? windowClass.className : "";
    win().windowProc = windowClass.windowProc;
    win().icon = windowClass.icon;
    return true;
}

bool unregisterClass(const char* className, HINSTANCE) {
    record(std::string("unregisterClass ") + (className ? className : ""));
    if (!win().classRegistered || !className || win().className != className) return false;
    win().classRegistered = false;
    return true;
}

std::int32_t native::changeDisplayMode(int width, int height, int bitsPerPixel) {
    record("changeDisplayMode " + std::to_string(width) + "x" + std::to_string(height) + "x" +
           std::to_string(bitsPerPixel));
    if (!win().displayModeAvailable) return DISP_CHANGE_BADMODE;
    win().fullscreenMode = true;
    return DISP_CHANGE_SUCCESSFUL;
}

void restoreDisplayMode() {
    record("restoreDisplayMode");
    win().fullscreenMode = false;
}

void showCursor(bool show) {
    record(show ? "showCursor 1" : "showCursor 0");
    win().cursorVisible = show;
}

bool adjustWindowRect(Rect* rect, DWORD, DWORD) {
    return rect != nullptr;
}

HWND native::createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int, int,
                          int width, int height, HINSTANCE) {
    record(std::string("createWindow ") + (title ? title : ""));
    if (win().createWindowFails || !win().classRegistered || !className || win().className != className) {
        return nullptr;
    }
    win().window = fake::fakeWindowHandle();
    win().windowStyle = style;
    win().windowExStyle = exStyle;
    win().windowWidth = width;
    win().windowHeight = height;
    win().windowVisible = (style & WS_VISIBLE) != 0;
    return win().window;
}

bool destroyWindow(HWND window) {
    record("destroyWindow");
    if (!window || window != win().window) return false;
    win().window = nullptr;
    return true;
}

void showWindow(HWND window, int) {
    record("showWindow");
    if (window && window == win().window) win().windowVisible = true;
}

void setForegroundWindow(HWND) {
    record("setForegroundWindow");
}

void setFocus(HWND) {
    record("setFocus");
}

// The fake's one window has the focus whenever it exists.
HWND getFocus() {
    return win().window;
}

HDC getDC(HWND window) {
    record("getDC");
    return win().getDCFails || !window ? nullptr : fakeDC();
}

bool releaseDC(HWND, HDC dc) {
    record("releaseDC");
    return dc == fakeDC();
}

int choosePixelFormat(HDC, const PixelFormatDescriptor&) {
    record("choosePixelFormat");
    return win().choosePixelFormatFails ? 0 : 1;
}

bool setPixelFormat(HDC, int, const PixelFormatDescriptor&) {
    record("setPixelFormat");
    return !win().setPixelFormatFails;
}

HGLRC createContext(HDC) {
    record("createContext");
    if (win().createContextFails) return nullptr;
    win().context = fakeContext();
    return win().context;
}

bool makeCurrent(HDC dc, HGLRC context) {
    record(context ? "makeCurrent" : "makeCurrent none");
    if (context && win().makeCurrentFails) return false;
    win().contextCurrent = dc != nullptr && context != nullptr;
    return true;
}

bool deleteContext(HGLRC context) {
    record("deleteContext");
    if (!context || context != win().context) return false;
    win().context = nullptr;
    return true;
}

void* getProcAddress(const char*) {
    return nullptr;
}

bool native::swapBuffers(HDC) {
    record("swapBuffers");
    ++win().swapCount;
    return true;
}

bool native::peekMessage(Message* message) {
    // No recording here: the queue is peeked many times per pass.
    if (win().queue.empty() && win().whenQueueEmpty) win().whenQueueEmpty();
    if (win().queue.empty()) return false;
    *message = win().queue.front();
    win().queue.pop_front();
    return true;
}

void translateMessage(const Message&) {}

LRESULT dispatchMessage(const Message& message) {
    if (fake::system().recordCalls) win().dispatched.push_back(message);
    if (!message.window || !win().windowProc) return 0;
    return win().windowProc(message.window, message.message, message.wParam, message.lParam);
}

void postQuitMessage(int exitCode) {
    record("postQuitMessage");
    win().queue.push_back(Message{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

LRESULT sendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    record("sendMessage " + std::to_string(message));
    if (!window || !win().windowProc) return 0;
    return win().windowProc(window, message, wParam, lParam);
}

LRESULT defWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    win().defaultProcessed.push_back(Message{window, message, wParam, lParam});
    return 0;
}

bool native::getCursorPos(Point* point) {
    if (!point) return false;
    *point = win().cursorPosition;
    return true;
}

}  // namespace plat
