// Starts of the display on the real backend, with windows of their own, in a process of their own on a 1280 x
// 720 screen, which has no 640 x 480 mode: full screen there scales the picture and must still draw and read
// exactly what a window does; a windowed start must leave the input system the window's real focus.
#include <SDL.h>
#include <gtest/gtest.h>

#include <tuple>

#include "graphics/sprite.h"
#include "graphics/texture_loader.h"
#include "input/input_system.h"
#include "platform/input.h"
#include "support/allocation_counter.h"
#include "support/gl_pixels.h"
#include "support/test_files.h"

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

// Every drawing mode, blended and masked, over a coloured background (which gives destination alpha its say),
// saved as F1 saves it; the scrolling modes' offsets stay put.
testfiles::Bytes screenshotOfEveryMode() {
    Sprite sprite;
    sprite.screenHeight = 480;
    sprite.texture = gltest::makeTexture(2, 2, {200, 0, 0, 0, 200, 0, 0, 0, 200, 250, 250, 250});
    sprite.maskTexture = gltest::makeTexture(2, 1, {255, 255, 255, 0, 0, 0});
    sprite.scrollSpeed = 0.0f;
    gltest::beginFrame({20, 60, 120});
    for (int mode = 0; mode < SPRITE_MODE_COUNT; ++mode) {
        sprite.setPosition(static_cast<float>(8 + 45 * mode), static_cast<float>(40 + 25 * mode));
        sprite.setSize(41.0f, 97.0f);
        sprite.setColor(1.0f, 0.5f + 0.03f * static_cast<float>(mode), 0.8f);
        sprite.draw(mode, true, true);
    }
    gltest::endFrame();
    EXPECT_EQ(g_textureLoader.saveScreenshot(), 0);
    return testfiles::readFile("ekrang.tga");
}

}  // namespace

TEST_F(DisplayStart, ScaledFullScreenDrawsAndReadsWhatAWindowDoes) {
    ASSERT_TRUE(start(SCREEN_WINDOWED));
    const testfiles::Bytes windowed = screenshotOfEveryMode();
    g_display.destroyWindow();
    ASSERT_TRUE(start(SCREEN_FULLSCREEN)) << "no full screen on a display without the game's mode";
    g_display.pumpMessages();
    EXPECT_TRUE(g_display.fullscreen);
    EXPECT_EQ(std::make_tuple(g_display.width, g_display.height), std::make_tuple(640, 480))
        << "the size messages of a window the size of the screen";
    EXPECT_TRUE(screenshotOfEveryMode() == windowed) << "the scaled picture differs from the window's";
    g_display.present();  // the first makes the driver's scaling code
    EXPECT_TRUE(screenshotOfEveryMode() == windowed) << "the frame after presenting is drawn elsewhere";
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
        EXPECT_EQ(std::make_tuple(input.keyboardAcquired, input.mouseAcquired, input.joystickAcquired),
                  std::make_tuple(1, 1, 1));
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
