// Starts of the display on the real backend, with windows of their own, in a process of their own on a 1280 x
// 720 screen, which has no 640 x 480 mode, so full screen scales the picture; a windowed start must leave the
// input system the window's real focus, which a joystick plugged in before it needs.
#include <SDL.h>
#include <gtest/gtest.h>

#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/input.h"
#include "support/allocation_counter.h"

namespace {

// SDL's video stays up until the process ends, as in the game: brought up again at once on a virtual screen
// it now and then finds no display; closed, it unloads drivers whose caches the leak check can then not name.
class DisplayStart : public testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    static bool start(int screenMode) {
        return g_display.createWindow(640, 480, 16, screenMode, "PEL2D - GL TEST");
    }
};

}  // namespace

// The e2e sessions see the scaled picture; here presenting it, the scaling included, must not allocate.
TEST_F(DisplayStart, ScaledFullScreenPresentsWithoutAllocating) {
    ASSERT_TRUE(start(SCREEN_FULLSCREEN)) << "no full screen on a display without the game's mode";
    g_display.pumpMessages();
    ASSERT_TRUE(g_display.fullscreen);
    g_display.present();  // the first makes the driver's scaling code
    EXPECT_EQ(testsupport::allocationsDuring([] { g_display.present(); }), 0u) << "presenting allocates";
    g_display.destroyWindow();
}

TEST_F(DisplayStart, AJoystickPluggedInBeforeAWindowedStartIsTaken) {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 2, 0);
    SDL_Joystick* stick = SDL_JoystickOpen(index);
    ASSERT_TRUE(start(SCREEN_WINDOWED));
    {
        InputSystem input;
        EXPECT_EQ(input.init(nullptr, g_hWnd), DI_OK);
        SDL_JoystickSetVirtualButton(stick, 1, 1);
        g_display.pumpMessages();
        EXPECT_EQ(input.poll(), DI_OK);
        EXPECT_EQ(input.keyState(KEY_JOY_BUTTON_0 + 1), KEYSTATE_PRESSED);
    }
    g_display.destroyWindow();
    SDL_JoystickClose(stick);
    SDL_JoystickDetachVirtual(index);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
