// Clocks, message boxes, the display mode, the window's messages and the pointer, recorded or replayed.
#include <cstdio>
#include <cstdlib>

#include "platform/native.h"
#include "platform/replay/replay.h"
#include "platform/replay/session.h"

namespace plat {

bool queryPerformanceFrequency(std::int64_t* frequency) {
    if (replay::passing()) return native::queryPerformanceFrequency(frequency);
    bool known = replay::recording() && native::queryPerformanceFrequency(frequency);
    replay::Entry(replay::Op::frequency).flag(known).number(*frequency);
    if (replay::replaying()) replay::setPaceFrequency(*frequency);
    return known;
}

bool queryPerformanceCounter(std::int64_t* counter) {
    if (replay::passing()) return native::queryPerformanceCounter(counter);
    bool read = replay::recording() && native::queryPerformanceCounter(counter);
    replay::Entry(replay::Op::counter).flag(read).reading(*counter, replay::g_session.lastCounter);
    if (replay::replaying()) replay::pace(*counter);
    return read;
}

DWORD timeGetTime() {
    if (replay::passing()) return native::timeGetTime();
    std::int64_t milliseconds = replay::recording() ? native::timeGetTime() : 0;
    replay::Entry(replay::Op::clockMilliseconds).reading(milliseconds, replay::g_session.lastMilliseconds);
    return static_cast<DWORD>(milliseconds);
}

// A replay answers every box as the player did, without showing it: the run must not wait for a person.
int messageBox(HWND owner, const char* text, const char* caption, UINT style) {
    if (replay::passing()) return native::messageBox(owner, text, caption, style);
    int answer = replay::recording() ? native::messageBox(owner, text, caption, style) : 0;
    replay::Entry(replay::Op::messageBox).number(answer);
    return answer;
}

// A replay asks for the full screen only where the recorded run had it, and goes on as the recorded run did
// whatever the display offers now: without the mode, the window simply stays a window.
std::int32_t changeDisplayMode(int width, int height, int bitsPerPixel) {
    if (replay::passing()) return native::changeDisplayMode(width, height, bitsPerPixel);
    std::int32_t result = replay::recording() ? native::changeDisplayMode(width, height, bitsPerPixel) : 0;
    replay::Entry(replay::Op::displayMode).number(result);
    if (replay::replaying() && result == DISP_CHANGE_SUCCESSFUL)
        native::changeDisplayMode(width, height, bitsPerPixel);
    return result;
}

HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                  int width, int height, HINSTANCE instance) {
    HWND window = native::createWindow(exStyle, className, title, style, x, y, width, height, instance);
    replay::g_session.window = window;
    return window;
}

bool swapBuffers(HDC dc) {
    if (!replay::passing()) replay::framePresented();
    return native::swapBuffers(dc);
}

// In a replay the backend's own queue is still drained, so the window keeps answering its desktop, but what
// the engine gets is the recorded messages. Closing the replay's window ends the replay.
bool peekMessage(Message* message) {
    if (replay::passing()) return native::peekMessage(message);
    bool got = false;
    if (replay::recording()) {
        got = native::peekMessage(message);
    } else {
        Message real{};
        while (native::peekMessage(&real)) {
            if (real.message != WM_CLOSE) continue;
            std::fprintf(stderr, "replay closed at frame %u\n", replay::framesPresented());
            std::fflush(nullptr);
            std::_Exit(0);
        }
    }
    const replay::Op op = replay::either(replay::Op::message, replay::Op::noMessage, got);
    replay::Entry entry(op);
    if (op == replay::Op::noMessage) return false;
    bool toWindow = message->window != nullptr;
    entry.flag(toWindow).number(message->message).number(message->wParam).number(message->lParam);
    if (replay::replaying()) message->window = toWindow ? replay::g_session.window : nullptr;
    return true;
}

bool getCursorPos(Point* point) {
    if (replay::passing()) return native::getCursorPos(point);
    bool known = replay::recording() && native::getCursorPos(point);
    replay::Entry(replay::Op::cursorPos).flag(known).number(point->x).number(point->y);
    return known;
}

}  // namespace plat
