// The Windows backend on a real Wine and X server: a window of the engine's kind with its pixel format and
// context, one frame drawn and read back, the message queue as the engine pumps it, and the full-screen mode
// switch on a screen that has the game's mode and on one that has not. Run by wine-on-xvfb.sh, one screen
// per test suite (see CMakeLists.txt).
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "platform/native.h"
#include "platform/window.h"

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

void quad(int left, int bottom, int right, int top) {
    glVertex2i(left, bottom);
    glVertex2i(right, bottom);
    glVertex2i(right, top);
    glVertex2i(left, top);
}

class Win32Window : public testing::Test {
protected:
    void SetUp() override {
        g_procedureMessages.clear();
        instance = plat::getModuleHandle();
        ASSERT_TRUE(plat::registerClass(
            {CS_HREDRAW | CS_VREDRAW | CS_OWNDC, testProcedure, instance, nullptr, CLASS_NAME}));
        EXPECT_FALSE(plat::registerClass({CS_OWNDC, testProcedure, instance, nullptr, CLASS_NAME}))
            << "a class is registered once";
        plat::Rect rect{0, 0, WIDTH, HEIGHT};
        ASSERT_TRUE(plat::adjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE));
        EXPECT_LT(rect.left, 0) << "the frame grows the rectangle";
        window = plat::native::createWindow(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, CLASS_NAME, "test",
                                            WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                            rect.right - rect.left, rect.bottom - rect.top, instance);
        ASSERT_NE(window, nullptr);
        dc = plat::getDC(window);
        ASSERT_NE(dc, nullptr);
    }
    void TearDown() override {
        if (context) {
            EXPECT_TRUE(plat::makeCurrent(nullptr, nullptr));
            EXPECT_TRUE(plat::deleteContext(context));
        }
        EXPECT_TRUE(!dc || plat::releaseDC(window, dc));
        EXPECT_TRUE(!window || plat::destroyWindow(window));
        EXPECT_TRUE(plat::unregisterClass(CLASS_NAME, instance));
    }

    HINSTANCE instance = nullptr;
    HWND window = nullptr;
    HDC dc = nullptr;
    HGLRC context = nullptr;
};

TEST_F(Win32Window, PixelFormatContextAndADrawnFrameReadBack) {
    // The engine's: double-buffered RGBA for a window, 16-bit colour and depth.
    constexpr DWORD FLAGS = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    plat::PixelFormatDescriptor descriptor{};
    descriptor.size = sizeof descriptor;
    descriptor.version = 1;
    descriptor.flags = FLAGS;
    descriptor.pixelType = PFD_TYPE_RGBA;
    descriptor.colorBits = 16;
    descriptor.depthBits = 16;
    descriptor.layerType = PFD_MAIN_PLANE;
    const int format = plat::choosePixelFormat(dc, descriptor);
    ASSERT_GT(format, 0);
    ASSERT_TRUE(plat::setPixelFormat(dc, format, descriptor));
    PIXELFORMATDESCRIPTOR chosen{};
    ASSERT_GT(DescribePixelFormat(dc, format, sizeof chosen, &chosen), 0);
    EXPECT_EQ(chosen.dwFlags & FLAGS, FLAGS);
    EXPECT_GE(chosen.cDepthBits, 16);

    context = plat::createContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(plat::makeCurrent(dc, context));
    EXPECT_NE(plat::getProcAddress("glActiveTextureARB"), nullptr) << "multitexture through the ICD";
    EXPECT_EQ(plat::getProcAddress("glNoSuchEntryPoint"), nullptr);
    plat::showWindow(window, SW_SHOW);

    // Red on the left half, blue on the right, over a green clear: colours exact in 5-6-5 and in 8-8-8.
    glViewport(0, 0, WIDTH, HEIGHT);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, WIDTH, 0, HEIGHT, -1, 1);
    glBegin(GL_QUADS);
    glColor3f(1.0f, 0.0f, 0.0f);
    quad(0, 0, WIDTH / 2, HEIGHT / 2);
    glColor3f(0.0f, 0.0f, 1.0f);
    quad(WIDTH / 2, 0, WIDTH, HEIGHT / 2);
    glEnd();
    glFinish();
    std::vector<std::uint8_t> pixels(WIDTH * HEIGHT * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const auto at = [&](int x, int y) {
        const std::uint8_t* p = &pixels[static_cast<std::size_t>((y * WIDTH + x) * 4)];
        return std::array<int, 3>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(3, 3), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(at(WIDTH - 3, 3), (std::array<int, 3>{0, 0, 255}));
    EXPECT_EQ(at(3, HEIGHT - 3), (std::array<int, 3>{0, 255, 0}));
    EXPECT_EQ(at(WIDTH - 3, HEIGHT - 3), (std::array<int, 3>{0, 255, 0}));
    EXPECT_TRUE(plat::native::swapBuffers(dc));
}

TEST_F(Win32Window, TheQueueDrainsWithoutDispatchAndTheProcedureSeesSentAndDispatchedMessages) {
    plat::showWindow(window, SW_SHOW);
    // A shown window is invalid, and WM_PAINT stays queued while it is: taking messages without dispatching
    // them (as a replay does) must still empty the queue.
    plat::Message message{};
    int taken = 0;
    while (plat::native::peekMessage(&message) && taken < 1000)
        ++taken;
    EXPECT_LT(taken, 1000) << "the queue never empties";

    EXPECT_EQ(plat::sendMessage(window, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(g_procedureMessages.back(), static_cast<UINT>(WM_CLOSE)) << "sent straight to the procedure";
    ASSERT_TRUE(plat::native::peekMessage(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u) << "the exit code";

    const std::size_t seen = g_procedureMessages.size();
    plat::postQuitMessage(0);
    PostMessageA(window, WM_SIZE, 0, MAKELPARAM(20, 10));
    ASSERT_TRUE(plat::native::peekMessage(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_SIZE)) << "posted messages before the quit";
    plat::translateMessage(message);
    plat::dispatchMessage(message);
    ASSERT_EQ(g_procedureMessages.size(), seen + 1);
    EXPECT_EQ(g_procedureMessages.back(), static_cast<UINT>(WM_SIZE));
    ASSERT_TRUE(plat::native::peekMessage(&message));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
}

// ChangeDisplaySettingsA for the game's mode, then back to the desktop's. Run on two screens.
std::int32_t switchToGameMode() {
    const std::int32_t result = plat::native::changeDisplayMode(640, 480, 16);
    if (result == DISP_CHANGE_SUCCESSFUL) plat::restoreDisplayMode();
    return result;
}

TEST(DisplayModeOnA640x480x16Screen, TheGameModeIsAccepted) {
    EXPECT_EQ(switchToGameMode(), DISP_CHANGE_SUCCESSFUL);
}

TEST(DisplayModeOnA1024x768x24Screen, TheGameModeIsRefused) {
    EXPECT_NE(switchToGameMode(), DISP_CHANGE_SUCCESSFUL);
}

}  // namespace
