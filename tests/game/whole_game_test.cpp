// Whole games on the fake backend: start-up, the state passes of the main loop, thousands of play frames, the
// teardown and a second game, as the program runs them.
#include <cmath>

#include "core/entry.h"
#include "game/play.h"
#include "game_test_support.h"
#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "support/allocation_counter.h"
#include "support/engine_fixture.h"

namespace {

// A 60 Hz frame: the clock reads the counter twice per frame.
constexpr std::int64_t COUNTER_STEP_60HZ = 1000000 / 120;

class WholeGameTest : public GameTest {
protected:
    void SetUp() override {
        resetEngineGlobals();
        fake::system().counterStep = COUNTER_STEP_60HZ;
        // Start-up creates the game's sounds; the test's own stand in for them afterwards.
        const bool started = initGame();
        GameTest::SetUp();
        GameState = STATE_MENU;
        ASSERT_TRUE(started);
    }
    void TearDown() override {
        GameTest::TearDown();
        fake::reset();
    }

    // One pass of the main loop, as WinMain runs it while the window is active.
    void pass() {
        g_display.pumpMessages();
        g_input.poll();
        runGameState();
    }

    void startGame() {
        GameState = STATE_NEW_GAME;
        pass();
        ASSERT_EQ(GameState, STATE_PLAY);
    }

    // The cursor is driven by relative movement, held inside the screen and doubled beyond 6 counts per read,
    // so it is first pushed to (0, 0). Even coordinates above 12 only.
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

    void tapKey(std::uint8_t dik) {
        fake::pressKey(dik);
        pass();
        fake::releaseKey(dik);
        pass();
    }

    static bool closeRequested() { return fake::callCount("sendMessage 16") > 0; }

    int teardownPasses() {
        GameState = STATE_TEARDOWN;
        int passes = 0;
        while (GameState == STATE_TEARDOWN && passes < 1000) {
            pass();
            ++passes;
        }
        return passes;
    }
};

TEST_F(WholeGameTest, BallBreaksBricksOverThousandsOfFramesWithASoundForEachHit) {
    startGame();
    const int swaps = fake::window().swapCount;
    for (int frame = 0; frame < 6000; ++frame)
        pass();
    EXPECT_EQ(fake::window().swapCount, swaps + 6000);
    EXPECT_NEAR(g_display.frameTime, 1.0f / 60.0f, 1e-4);

    int standing = 0;
    for (Sprite* brick = g_bricks.head; brick; brick = brick->next)
        standing += brick->state == ENTITY_ALIVE;
    EXPECT_LT(g_bricks.count, 216);
    EXPECT_EQ(timesPlayed(top), 216 - standing);
    EXPECT_GT(timesPlayed(yan), 0);
    EXPECT_GT(timesPlayed(tops), 0) << "the paddle, standing still, was met now and then";
    EXPECT_EQ(timesPlayed(patlama), 0);
    // The ball keeps its speed on a diagonal however it bounced.
    EXPECT_FLOAT_EQ(std::abs(playScene().ball.vx), 4.0f);
    EXPECT_FLOAT_EQ(std::abs(playScene().ball.vy), 4.0f);
}

TEST_F(WholeGameTest, TeardownTakesOnePassPerBrickAndOneMoreAndDrawsNothing) {
    startGame();
    pass();
    const int swaps = fake::window().swapCount;
    EXPECT_EQ(teardownPasses(), 217);
    EXPECT_EQ(fake::window().swapCount, swaps);
    EXPECT_EQ(GameState, STATE_MENU);
    pass();
    EXPECT_EQ(fake::window().swapCount, swaps + 1) << "the menu draws again";
}

TEST_F(WholeGameTest, SecondGameContinuesTheColourSequence) {
    startGame();
    teardownPasses();
    startGame();
    expectBrickColor(*g_bricks.head, 0.7f, 0.2f);
}

TEST_F(WholeGameTest, ClickIsAReleaseOverTheItemWhereverThePressWas) {
    moveCursorTo(300, 310);
    ASSERT_EQ(g_mouseX, 300);
    ASSERT_EQ(g_mouseY, 310);
    ASSERT_TRUE(g_itemHovered[MENU_ITEM_CLOSE]);
    setLeftButton(true);
    moveCursorTo(300, 400);
    setLeftButton(false);
    EXPECT_FALSE(closeRequested()) << "pressed over the close item, released off it";

    moveCursorTo(100, 100);
    setLeftButton(true);
    moveCursorTo(300, 310);
    EXPECT_FALSE(closeRequested());
    setLeftButton(false);
    EXPECT_TRUE(closeRequested());
    EXPECT_FALSE(g_display.pumpMessages()) << "the window procedure posted the quit message";
}

TEST_F(WholeGameTest, PressTintShowsOnTheFrameTheButtonWentDownOnly) {
    const Sprite& menuPlate = menuScene().plate;
    moveCursorTo(300, 310);
    setLeftButton(true);
    EXPECT_FLOAT_EQ(menuPlate.red, 0.0f);
    EXPECT_FLOAT_EQ(menuPlate.blue, 1.0f);
    EXPECT_FLOAT_EQ(menuScene().glow.green, 1.0f);
    EXPECT_FLOAT_EQ(menuScene().glow.red, 0.0f);
    pass();
    EXPECT_FLOAT_EQ(menuPlate.red, 1.0f) << "held: the hover tint again";
    moveCursorTo(300, 270);
    setLeftButton(false);
    EXPECT_FALSE(closeRequested());
    EXPECT_EQ(GameState, STATE_MENU) << "the high-scores item does nothing";
}

TEST_F(WholeGameTest, NewGameItemSwitchesAtTheEndOfAFrameThatStillDrawsEverything) {
    moveCursorTo(300, 220);
    setLeftButton(true);
    g_itemHovered[MENU_ITEM_CLOSE] = true;
    printed().clear();
    const float cursorRed = g_cursorRed;
    const int swaps = fake::window().swapCount;
    setLeftButton(false);
    EXPECT_EQ(GameState, STATE_NEW_GAME);
    EXPECT_FALSE(g_itemHovered[MENU_ITEM_CLOSE]) << "the items after it were still updated";
    int labels = 0;
    for (const PrintedText& text : printed())
        labels += text.label ? 1 : 0;
    EXPECT_EQ(labels, 3) << "the labels were still printed";
    EXPECT_GT(g_cursorRed, cursorRed) << "the cursor was still drawn";
    EXPECT_EQ(fake::window().swapCount, swaps + 1);
    pass();
    EXPECT_EQ(GameState, STATE_PLAY);
    EXPECT_EQ(g_bricks.count, 216);
}

TEST_F(WholeGameTest, F12InTheMenuInAnyStateButUpAsksToClose) {
    fake::pressKey(DIK_F12);
    pass();
    EXPECT_EQ(fake::callCount("sendMessage 16"), 1);
    pass();
    fake::releaseKey(DIK_F12);
    pass();
    EXPECT_EQ(fake::callCount("sendMessage 16"), 3) << "pressed, held and just released";
    pass();
    EXPECT_EQ(fake::callCount("sendMessage 16"), 3);
}

TEST_F(WholeGameTest, MouseButtonsResizeAndTheMouseSteersThroughPlayFrames) {
    startGame();
    Sprite& gamePaddle = playScene().paddle;
    Sprite& gameBall = playScene().ball;
    fake::moveMouse(20, 0);  // doubled
    pass();
    EXPECT_FLOAT_EQ(gamePaddle.x, 285.0f);

    fake::setMouseButton(0, true);
    for (int frame = 0; frame < 200; ++frame)
        pass();
    EXPECT_EQ(gamePaddle.width, 400);
    EXPECT_EQ(gameBall.width, 120);
    EXPECT_EQ(gameBall.height, 120);
    fake::setMouseButton(1, true);
    for (int frame = 0; frame < 5; ++frame)
        pass();
    EXPECT_EQ(gamePaddle.width, 398) << "both held at the limit: only the shrink step acts";
    fake::setMouseButton(0, false);
    for (int frame = 0; frame < 200; ++frame)
        pass();
    EXPECT_EQ(gamePaddle.width, 34);
    EXPECT_EQ(gameBall.width, 17);
}

TEST_F(WholeGameTest, EscapeEndsTheGameAfterAFrameThatRunsToItsEnd) {
    startGame();
    pass();
    printed().clear();
    const int swaps = fake::window().swapCount;
    fake::pressKey(DIK_ESCAPE);
    pass();
    EXPECT_EQ(GameState, STATE_TEARDOWN);
    EXPECT_EQ(fake::window().swapCount, swaps + 1);
    EXPECT_EQ(printed().size(), 5u) << "the HUD was printed";
    fake::releaseKey(DIK_ESCAPE);
    int passes = 1;
    for (pass(); GameState == STATE_TEARDOWN && passes < 1000; pass())
        ++passes;
    EXPECT_EQ(passes, 217);
    EXPECT_EQ(GameState, STATE_MENU);
}

TEST_F(WholeGameTest, ASessionFromMenuToGameAndBackTwiceEndsWithF12) {
    for (int round = 0; round < 2; ++round) {
        moveCursorTo(300, 220);
        setLeftButton(true);
        setLeftButton(false);
        pass();
        ASSERT_EQ(GameState, STATE_PLAY) << "round " << round;
        if (round == 1) expectBrickColor(*g_bricks.head, 0.7f, 0.2f);
        for (int frame = 0; frame < 3000; ++frame) {
            fake::moveMouse(frame % 200 < 100 ? 3 : -3, 0);
            pass();
        }
        EXPECT_LT(g_bricks.count, 216);
        tapKey(DIK_ESCAPE);
        for (int frame = 0; frame < 300 && GameState != STATE_MENU; ++frame)
            pass();
        ASSERT_EQ(GameState, STATE_MENU);
    }
    EXPECT_GT(timesPlayed(top), 0);
    EXPECT_FALSE(closeRequested());
    fake::pressKey(DIK_F12);
    pass();
    EXPECT_FALSE(g_display.pumpMessages());
}

TEST_F(WholeGameTest, SteadyStatePlayAndMenuFramesAllocateNothing) {
    startGame();
    // The test's own ears would allocate as they record.
    fake::system().recordCalls = false;
    g_soundCueListener = nullptr;
    g_textListener = nullptr;
    pass();
    EXPECT_EQ(testsupport::allocationsDuring([this] {
                  for (int frame = 0; frame < 500; ++frame)
                      pass();
              }),
              0u);
    teardownPasses();
    pass();
    EXPECT_EQ(testsupport::allocationsDuring([this] {
                  for (int frame = 0; frame < 100; ++frame)
                      pass();
              }),
              0u);
}

}  // namespace
