// The Windows backend on Wine, one line per step for wine-on-xvfb.sh to compare with backend-*.expected: the
// engine's window, pixel format and context, a frame read back, its message pump, the game's display mode.
#include <cstdio>
#include <vector>

#include "platform/native.h"
#include "platform/window.h"

#include <GL/gl.h>

namespace {

constexpr const char* CLASS_NAME = "PEL2D win32 test";
constexpr int WIDTH = 64;
constexpr int HEIGHT = 48;

// What the window procedure saw, in order.
std::vector<UINT> g_procedureMessages;

LRESULT testProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    g_procedureMessages.push_back(message);
    if (message == WM_CLOSE) {
        plat::postQuitMessage(7);
        return 0;
    }
    return plat::defWindowProc(window, message, wParam, lParam);
}

const char* nameOf(UINT message) {
    return message == WM_QUIT    ? "WM_QUIT"
           : message == WM_SIZE  ? "WM_SIZE"
           : message == WM_CLOSE ? "WM_CLOSE"
                                 : "?";
}

// The next queued message, printed with its wParam.
plat::Message next(const char* what) {
    plat::Message message{};
    if (!plat::native::peekMessage(&message)) message.message = 0;
    std::printf("%s %s %lu", what, nameOf(message.message), static_cast<unsigned long>(message.wParam));
    return message;
}

// The engine's pixel format (double-buffered RGBA for a window, 16-bit colour and depth) and its context.
HGLRC createContext(HDC dc) {
    constexpr DWORD FLAGS = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    plat::PixelFormatDescriptor descriptor{};  // PFD_TYPE_RGBA and PFD_MAIN_PLANE are 0
    descriptor.size = sizeof descriptor;
    descriptor.version = 1;
    descriptor.flags = FLAGS;
    descriptor.colorBits = 16;
    descriptor.depthBits = 16;
    const int format = plat::choosePixelFormat(dc, descriptor);
    PIXELFORMATDESCRIPTOR chosen{};
    DescribePixelFormat(dc, format, sizeof chosen, &chosen);
    const bool set = format > 0 && plat::setPixelFormat(dc, format, descriptor);
    HGLRC context = set ? plat::createContext(dc) : nullptr;
    const bool current = context && plat::makeCurrent(dc, context);
    std::printf(
        "format set %d, flags %d, depth 16+ %d, context current %d, multitexture %d, no such entry %d\n", set,
        (chosen.dwFlags & FLAGS) == FLAGS, chosen.cDepthBits >= 16, current,
        current && plat::getProcAddress("glActiveTextureARB"),
        current && !plat::getProcAddress("glNoSuchEntryPoint"));
    return context;
}

// Red and blue in the lower half over a green clear (exact in 5-6-5 and 8-8-8), read back at the corners.
void drawFrame(HDC dc) {
    glViewport(0, 0, WIDTH, HEIGHT);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WIDTH, 0, HEIGHT, -1, 1);
    glColor3f(1.0f, 0.0f, 0.0f);
    glRecti(0, 0, WIDTH / 2, HEIGHT / 2);
    glColor3f(0.0f, 0.0f, 1.0f);
    glRecti(WIDTH / 2, 0, WIDTH, HEIGHT / 2);
    glFinish();
    std::vector<std::uint8_t> pixels(WIDTH * HEIGHT * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    std::printf("pixels");
    for (const int offset : {(3 * WIDTH + 3) * 4, (3 * WIDTH + WIDTH - 3) * 4, ((HEIGHT - 3) * WIDTH + 3) * 4,
                             ((HEIGHT - 2) * WIDTH - 3) * 4})
        std::printf(" %02x%02x%02x", pixels[offset], pixels[offset + 1], pixels[offset + 2]);
    std::printf(", error %u, swapped %d\n", glGetError(), plat::native::swapBuffers(dc));
}

// WM_PAINT stays queued while a shown window, or the frame of one that has drawn, is invalid: taking messages
// undispatched (as a replay does) must still empty the queue.
bool queueEmpties() {
    plat::Message message{};
    int taken = 0;
    while (plat::native::peekMessage(&message) && taken < 1000)
        ++taken;
    return taken < 1000;
}

// A sent message goes straight to the procedure; posted ones come before the quit.
void pumpQueue(HWND window) {
    const bool emptied = queueEmpties();
    const LRESULT closed = plat::sendMessage(window, WM_CLOSE, 0, 0);
    std::printf("queue emptied %d, close sent %ld to %s, ", emptied, static_cast<long>(closed),
                nameOf(g_procedureMessages.back()));
    next("then");
    plat::postQuitMessage(0);
    PostMessageA(window, WM_SIZE, 0, MAKELPARAM(20, 10));
    const std::size_t seen = g_procedureMessages.size();
    const plat::Message message = next(", posted");
    plat::translateMessage(message);
    plat::dispatchMessage(message);
    std::printf(" dispatched %zu %s,", g_procedureMessages.size() - seen, nameOf(g_procedureMessages.back()));
    next(" then");
    std::printf("\n");
}

}  // namespace

int main() {
    const HINSTANCE instance = plat::getModuleHandle();
    const bool registered = plat::registerClass(
        {CS_HREDRAW | CS_VREDRAW | CS_OWNDC, testProcedure, instance, nullptr, CLASS_NAME});
    const bool again = plat::registerClass({CS_OWNDC, testProcedure, instance, nullptr, CLASS_NAME});
    plat::Rect rect{0, 0, WIDTH, HEIGHT};
    const bool adjusted =
        plat::adjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
    HWND window = plat::native::createWindow(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, CLASS_NAME, "test",
                                             WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                             rect.right - rect.left, rect.bottom - rect.top, instance);
    HDC dc = window ? plat::getDC(window) : nullptr;
    std::printf("class registered %d, again %d, frame grows %d, window %d, dc %d\n", registered, again,
                adjusted && rect.left < 0 && rect.right > WIDTH, window != nullptr, dc != nullptr);
    if (!dc) return 1;
    plat::showWindow(window, SW_SHOW);
    pumpQueue(window);
    HGLRC context = createContext(dc);
    if (context) drawFrame(dc);
    std::printf("queue emptied after the frame %d\n", queueEmpties());

    // The game's mode, then back to the desktop's: only a screen that has it accepts it.
    const std::int32_t mode = plat::native::changeDisplayMode(640, 480, 16);
    if (mode == DISP_CHANGE_SUCCESSFUL) plat::restoreDisplayMode();
    std::printf("game mode %s\n", mode == DISP_CHANGE_SUCCESSFUL ? "accepted" : "refused");

    const bool contextGone = plat::makeCurrent(nullptr, nullptr) && plat::deleteContext(context);
    const bool dcGone = plat::releaseDC(window, dc);
    const bool windowGone = plat::destroyWindow(window);
    std::printf("released: context %d, dc %d, window %d, class %d\n", contextGone, dcGone, windowGone,
                plat::unregisterClass(CLASS_NAME, instance));
    return 0;
}
