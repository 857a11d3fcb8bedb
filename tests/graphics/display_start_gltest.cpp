// Starts of the display on the real backend, each test with a window of its own, in a process of their own on
// a 1280 x 720 screen, which has no 640 x 480 mode: full screen there scales the picture and must still draw
// and read exactly what a window does.
#include <gtest/gtest.h>

#include <tuple>

#include "graphics/sprite.h"
#include "graphics/texture_loader.h"
#include "support/gl_pixels.h"
#include "support/test_files.h"

namespace {

constexpr int PICTURE_WIDTH = 640;
constexpr int PICTURE_HEIGHT = 480;

// A window or full screen of the game's size, made and torn down around one test.
class Start {
public:
    explicit Start(int screenMode) {
        created = g_display.createWindow(PICTURE_WIDTH, PICTURE_HEIGHT, 16, screenMode, "PEL2D - GL TEST");
        if (created) g_display.pumpMessages();
    }
    ~Start() {
        if (created) g_display.destroyWindow();
    }
    Start(const Start&) = delete;
    Start& operator=(const Start&) = delete;

    bool created;
};

// Every drawing mode, blended and masked, over a coloured background (which gives destination alpha its say),
// saved as the player's F1 saves it.
testfiles::Bytes screenshotOfEveryMode() {
    Sprite sprite;
    sprite.screenHeight = PICTURE_HEIGHT;
    sprite.texture = gltest::makeTexture(2, 2, {200, 0, 0, 0, 200, 0, 0, 0, 200, 250, 250, 250});
    sprite.maskTexture = gltest::makeTexture(2, 1, {255, 255, 255, 0, 0, 0});
    sprite.scrollSpeed = 0.0f;  // the scrolling modes' shared offsets stay put from frame to frame
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

TEST(DisplayStart, ScaledFullScreenDrawsAndReadsWhatAWindowDoes) {
    testfiles::Bytes windowed;
    {
        const Start start(SCREEN_WINDOWED);
        ASSERT_TRUE(start.created);
        windowed = screenshotOfEveryMode();
    }
    const Start start(SCREEN_FULLSCREEN);
    ASSERT_TRUE(start.created) << "no full screen on a display without the game's mode";
    EXPECT_TRUE(g_display.fullscreen);
    EXPECT_EQ(std::make_tuple(g_display.width, g_display.height),
              std::make_tuple(PICTURE_WIDTH, PICTURE_HEIGHT))
        << "the size messages of a window the size of the screen";
    const testfiles::Bytes first = screenshotOfEveryMode();
    EXPECT_EQ(first.size(), windowed.size());
    EXPECT_TRUE(first == windowed) << "the scaled picture differs from the window's";
    g_display.present();
    EXPECT_TRUE(screenshotOfEveryMode() == windowed) << "the frame after presenting is drawn elsewhere";
}
