// The main loop's passes on the fake backend: menu clicks, the mouse buttons through play frames,
// where the committed demos (tests/golden, tests/e2e) do not reach.
#include "core/entry.h"
#include "game/play.h"
#include "game_test_support.h"
#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/fake/fake_input.h"
#include "support/engine_fixture.h"

namespace {

class WholeGameTest : public GameTest {
protected:
    void SetUp() override {
        resetEngineGlobals();
        fake::system().counterStep = 1000000 / 120;  // 60 Hz: the clock reads the counter twice per frame
        const bool started = initGame();             // its sounds, for the fixture's own to replace
        GameTest::SetUp();
        GameState = STATE_MENU;
        ASSERT_TRUE(started);
    }
    void TearDown() override {
        GameTest::TearDown();
        fake::reset();
    }

    // Passes of the main loop, as WinMain runs them while the window is active.
    void pass(int count = 1) {
        for (int i = 0; i < count; ++i) {
            g_display.pumpMessages();
            g_input.poll();
            runGameState();
        }
    }

    // Relative movement, doubled beyond 6 counts, from (0, 0) where the screen holds it: even x, y above 12.
    void moveCursorTo(int x, int y) {
        fake::moveMouse(-10000, -10000);
        pass();
        fake::moveMouse(x / 2, y / 2);
        pass();
    }

    void setLeftButton(bool down) {
        fake::setMouseButton(0, down);
        pass();
    }

    static int closeRequests() { return fake::callCount("sendMessage 16"); }
};

TEST_F(WholeGameTest, ClickIsAReleaseOverTheItemWhereverThePressWasAndThePressTintLastsOneFrame) {
    const Sprite& menuPlate = menuScene().plate;
    moveCursorTo(300, 310);
    ASSERT_TRUE(g_itemHovered[MENU_ITEM_CLOSE]);
    setLeftButton(true);
    EXPECT_EQ(tintOf(menuPlate), (std::vector<float>{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(tintOf(menuScene().glow), (std::vector<float>{0.0f, 1.0f, 0.0f}));
    pass();
    EXPECT_EQ(tintOf(menuPlate), (std::vector<float>{1.0f, 1.0f, 1.0f})) << "held: the hover tint again";
    moveCursorTo(300, 400);
    setLeftButton(false);
    EXPECT_EQ(closeRequests(), 0) << "pressed over the close item, released off it";

    moveCursorTo(300, 270);
    setLeftButton(true);
    setLeftButton(false);
    EXPECT_EQ(std::make_pair(closeRequests(), GameState), std::make_pair(0, STATE_MENU))
        << "high scores: nothing";

    moveCursorTo(100, 100);
    setLeftButton(true);
    moveCursorTo(300, 310);
    EXPECT_EQ(closeRequests(), 0);
    setLeftButton(false);
    EXPECT_EQ(closeRequests(), 1);
    EXPECT_FALSE(g_display.pumpMessages()) << "the window procedure posted the quit message";
}

TEST_F(WholeGameTest, MouseButtonsResizeAndTheMouseSteersThroughPlayFrames) {
    GameState = STATE_NEW_GAME;
    pass();
    ASSERT_EQ(GameState, STATE_PLAY);
    const Sprite& gamePaddle = playScene().paddle;
    const Sprite& gameBall = playScene().ball;
    fake::moveMouse(20, 0);  // doubled
    pass();
    EXPECT_FLOAT_EQ(gamePaddle.x, 285.0f);

    // Buttons held, frames, paddle width, ball size: both cancel out unless a limit stops one.
    const std::tuple<bool, bool, int, int, int> holds[] = {{true, true, 10, 64, 17},
                                                           {true, false, 200, 400, 120},
                                                           {true, true, 5, 398, 119},
                                                           {false, true, 200, 34, 17}};
    for (const auto& [left, right, frames, paddleWidth, ballSize] : holds) {
        SCOPED_TRACE(testing::Message() << left << right);
        fake::setMouseButton(0, left);
        fake::setMouseButton(1, right);
        pass(frames);
        EXPECT_EQ(std::make_tuple(gamePaddle.width, gameBall.width, gameBall.height),
                  std::make_tuple(paddleWidth, ballSize, ballSize));
    }
}

}  // namespace
