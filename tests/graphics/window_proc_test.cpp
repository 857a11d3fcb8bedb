#include <gtest/gtest.h>

#include "support/engine_fixture.h"

namespace {

LRESULT send(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(fake::fakeWindowHandle(), message, wParam, lParam);
}

}  // namespace

using WindowProcTest = EngineTest;

TEST_F(WindowProcTest, ActivationFollowsTheMinimisedFlagOnly) {
    g_display.active = true;
    EXPECT_EQ(send(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0), 0);
    EXPECT_TRUE(g_display.active) << "losing the focus without minimising keeps the game running";
    send(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0);
    EXPECT_FALSE(g_display.active);
    send(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    EXPECT_TRUE(g_display.active);
    EXPECT_TRUE(fake::window().defaultProcessed.empty());
}

TEST_F(WindowProcTest, ScreenSaverAndMonitorPowerAreSwallowed) {
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_SCREENSAVE, 0), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    EXPECT_TRUE(fake::window().defaultProcessed.empty());
    send(WM_SYSCOMMAND, 0xF020 /* SC_MINIMIZE */, 0);
    send(WM_SYSCOMMAND, SC_SCREENSAVE + 1, 0);
    EXPECT_EQ(fake::window().defaultProcessed.size(), 2u)
        << "every other command reaches the default procedure";
}

TEST_F(WindowProcTest, SizeStoresTheClientSizeEvenAtHeightZero) {
    g_display.fieldOfView = 75.0;
    EXPECT_EQ(send(WM_SIZE, 0, MAKELPARAM(800, 0)), 0);
    EXPECT_EQ(g_display.width, 800);
    EXPECT_EQ(g_display.height, 0);
    send(WM_SIZE, 0, MAKELPARAM(65535, 600));
    EXPECT_EQ(g_display.width, 65535);
    EXPECT_EQ(g_display.height, 600);
}

TEST_F(WindowProcTest, CloseRequestsQuitAndKeysAreSwallowed) {
    EXPECT_EQ(send(WM_CLOSE, 0, 0), 0);
    ASSERT_EQ(fake::window().queue.size(), 1u);
    EXPECT_EQ(fake::window().queue.front().message, WM_QUIT);
    EXPECT_EQ(send(WM_KEYDOWN, 'A', 0), 0);
    EXPECT_EQ(send(WM_CHAR, 'a', 0), 0);
    send(0x0400 /* any other message */, 0, 0);
    EXPECT_EQ(fake::window().defaultProcessed.size(), 1u);
}
