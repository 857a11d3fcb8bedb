#include "game/paddle.h"

#include "game_test_support.h"

namespace {

class PaddleTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        newGame(play);
        g_bricks.deleteAll();
    }
};

TEST_F(PaddleTest, StaysBetweenTheSideWalls) {
    paddle.x = 20.0f;
    steerPaddle(paddle, -17, true);
    EXPECT_FLOAT_EQ(paddle.x, 10.0f);
    paddle.x = 600.0f;
    steerPaddle(paddle, 0, true);
    EXPECT_FLOAT_EQ(paddle.x, 566.0f);

    paddle.width = 400;
    for (int delta : {-500, 37, 500, -3}) {
        steerPaddle(paddle, delta, true);
        EXPECT_GE(paddle.x, 10.0f);
        EXPECT_LE(paddle.x, 230.0f);
    }
    EXPECT_FLOAT_EQ(paddle.y, 435.0f);
}

TEST_F(PaddleTest, FollowsTheMouseOnlyWhileItIsAcquired) {
    steerPaddle(paddle, 30, true);
    EXPECT_FLOAT_EQ(paddle.x, 275.0f);
    steerPaddle(paddle, 30, false);
    EXPECT_FLOAT_EQ(paddle.x, 275.0f);
}

TEST_F(PaddleTest, ButtonsResizePaddleAndBallUpToTheirLimits) {
    for (int frame = 0; frame < 200; ++frame)
        resizeWithButtons(paddle, ball, true, false);
    EXPECT_EQ(paddle.width, 400);
    EXPECT_EQ(ball.width, 120);

    for (int frame = 0; frame < 300; ++frame)
        resizeWithButtons(paddle, ball, false, true);
    EXPECT_EQ(paddle.width, 34);
    EXPECT_EQ(ball.width, 17);
}

TEST_F(PaddleTest, BothButtonsCancelExceptWhereALimitStopsOne) {
    for (int frame = 0; frame < 10; ++frame)
        resizeWithButtons(paddle, ball, true, true);
    EXPECT_EQ(paddle.width, 64);
    EXPECT_EQ(ball.width, 17);  // 16 cannot shrink, so the first grow step stays

    paddle.width = 400;
    resizeWithButtons(paddle, ball, true, true);
    EXPECT_EQ(paddle.width, 398);
}

TEST_F(PaddleTest, BounceSendsTheBallUpOnEveryOverlappingFrame) {
    ball.setPosition(paddle.x + 10.0f, paddle.y - 8.0f);
    ball.vy = 4.0f;
    bounceBallOffPaddle(paddle, ball);
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    EXPECT_EQ(timesPlayed(tops), 1);

    // Still overlapping while already going up: the same again.
    bounceBallOffPaddle(paddle, ball);
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    EXPECT_EQ(timesPlayed(tops), 2);
    EXPECT_FLOAT_EQ(ball.y, paddle.y - 8.0f);

    ball.setPosition(paddle.x + 10.0f, paddle.y - 16.0f);
    bounceBallOffPaddle(paddle, ball);
    EXPECT_EQ(timesPlayed(tops), 2);
}

}  // namespace
