// Starts of the display on the real backend, with windows of their own, in a process of their own on a 1280 x
// 720 screen, which has no 640 x 480 mode, so full screen scales the picture; a windowed start must leave the
// input system the window's real focus, which a joystick plugged in before it needs.
#include <SDL.h>
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "graphics/display.h"
#include "graphics/sprite.h"
#include "graphics/texture_loader.h"
#include "input/input_system.h"
#include "platform/input.h"
#include "support/allocation_counter.h"
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

GLuint makeTexture(int w, int h, const testfiles::Bytes& rgb) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return id;
}

// Every drawing mode over a coloured background, saved as F1 saves it.
testfiles::Bytes screenshotOfEveryMode() {
    Sprite sprite;
    sprite.screenHeight = 480;
    sprite.texture = makeTexture(2, 2, {200, 0, 0, 0, 200, 0, 0, 0, 200, 250, 250, 250});
    sprite.scrollSpeed = 0.0f;
    glClearColor(0.1f, 0.2f, 0.5f, 0.0f);
    g_display.clearScene();
    g_display.setOrtho2D(1);
    for (int mode = 0; mode < SPRITE_MODE_COUNT; ++mode) {
        sprite.setPosition(static_cast<float>(8 + 45 * mode), static_cast<float>(40 + 25 * mode));
        sprite.setSize(41.0f, 97.0f);
        sprite.draw(mode, true, true);
    }
    g_display.setOrtho2D(0);
    EXPECT_EQ(g_textureLoader.saveScreenshot(), 0);
    return testfiles::readFile("ekrang.tga");
}

}  // namespace

// The e2e sessions compare the scaled screen with F1's picture only by likeness, which a frame drawn past the
// picture after a present passes; and presenting, the scaling included, must not allocate.
TEST_F(DisplayStart, ScaledFullScreenDrawsWhatAWindowDoesAndPresentsWithoutAllocating) {
    ASSERT_TRUE(start(SCREEN_WINDOWED));
    const testfiles::Bytes windowed = screenshotOfEveryMode();
    g_display.destroyWindow();
    ASSERT_TRUE(start(SCREEN_FULLSCREEN)) << "no full screen on a display without the game's mode";
    g_display.pumpMessages();
    ASSERT_TRUE(g_display.fullscreen);
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
