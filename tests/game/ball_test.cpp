#include "game/ball.h"

#include "game_test_support.h"

namespace {

class BallTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ball.width = 16;
        ball.height = 16;
        ball.setVelocity(4.0f, -4.0f);
    }

    // Moves nothing, so only the edge tests act.
    void bounceAt(float x, float y) {
        ball.setPosition(x, y);
        moveBall(ball, 0.0f);
    }

    Sprite* brickAt(int x, int y) {
        createBrick(&brickTemplate, KIND_BRICK, x, y, ENTITY_ALIVE, 1, 1, 1.0f, 1.0f, 1.0f);
        return g_bricks.tail;
    }
};

TEST_F(BallTest, RightWallBouncesOnlyBeyondItsEdgeWithTheSideSound) {
    bounceAt(617.0f, 200.0f);
    EXPECT_FLOAT_EQ(ball.x, 617.0f);
    EXPECT_FLOAT_EQ(ball.vx, 4.0f);
    EXPECT_TRUE(played().empty());

    bounceAt(620.0f, 200.0f);
    EXPECT_FLOAT_EQ(ball.x, 616.0f);
    EXPECT_FLOAT_EQ(ball.vx, -4.0f);
    EXPECT_EQ(timesPlayed(yan), 1);
    EXPECT_EQ(played().size(), 1u);
}

TEST_F(BallTest, LeftWallSetsTheBallToNineBelowEight) {
    ball.vx = -4.0f;
    bounceAt(8.0f, 200.0f);
    EXPECT_FLOAT_EQ(ball.x, 8.0f);
    EXPECT_TRUE(played().empty());

    bounceAt(7.5f, 200.0f);
    EXPECT_FLOAT_EQ(ball.x, 9.0f);
    EXPECT_FLOAT_EQ(ball.vx, 4.0f);
    EXPECT_EQ(timesPlayed(yan), 1);
}

TEST_F(BallTest, TopEdgeBouncesWithItsSoundAndTheBottomSilently) {
    bounceAt(300.0f, 29.0f);
    EXPECT_FLOAT_EQ(ball.y, 31.0f);
    EXPECT_FLOAT_EQ(ball.vy, 4.0f);
    EXPECT_EQ(timesPlayed(ykr), 1);

    played().clear();
    bounceAt(300.0f, 470.0f);
    EXPECT_FLOAT_EQ(ball.y, 463.0f);
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    EXPECT_TRUE(played().empty());
}

TEST_F(BallTest, LongFrameCarriesTheBallThirtyPixelsPerAxisWithoutLookingBetween) {
    ball.setPosition(310.0f, 355.0f);
    moveBall(ball, 0.25f);
    EXPECT_FLOAT_EQ(ball.x, 340.0f);
    EXPECT_FLOAT_EQ(ball.y, 325.0f);

    // A brick lying across that path is not touched: only the new position counts.
    brickAt(305, 360);
    ball.setPosition(300.0f, 370.0f);
    moveBall(ball, 0.25f);
    collideBallWithBricks(ball);
    EXPECT_EQ(g_bricks.head->state, ENTITY_ALIVE);
}

TEST_F(BallTest, BoxesThatOnlyTouchAreNoHit) {
    Sprite* brick = brickAt(100, 100);
    ball.setPosition(100.0f, 81.0f);  // ball box bottom 81 + 16 + 3 = 100, the brick's top
    collideBallWithBricks(ball);
    EXPECT_EQ(brick->state, ENTITY_ALIVE);
    ball.setPosition(100.0f, 82.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(brick->state, ENTITY_HIT);
    EXPECT_EQ(timesPlayed(top), 1);
}

TEST_F(BallTest, ShapeOfTheOverlapChoosesWhichComponentReverses) {
    struct Case {
        float x;
        float y;
        float vx;
        float vy;
    };
    // Brick 100..130 x 100..115; the ball's box reaches 3 pixels beyond its 16 x 16.
    const Case cases[] = {
        {128.0f, 84.0f, 4.0f, 4.0f},    // 5 wide, 3 tall: from above
        {130.0f, 86.0f, -4.0f, -4.0f},  // 3 wide, 5 tall: from the side
        {129.0f, 85.0f, -4.0f, -4.0f},  // 4 x 4: a corner counts as the side
    };
    for (const Case& each : cases) {
        g_bricks.deleteAll();
        brickAt(100, 100);
        ball.setVelocity(4.0f, -4.0f);
        ball.setPosition(each.x, each.y);
        collideBallWithBricks(ball);
        EXPECT_EQ(g_bricks.head->state, ENTITY_HIT) << each.x;
        EXPECT_FLOAT_EQ(ball.vx, each.vx) << each.x;
        EXPECT_FLOAT_EQ(ball.vy, each.vy) << each.x;
    }
}

TEST_F(BallTest, TwoBricksHitSideBySideReverseTwiceAndBothSound) {
    Sprite* left = brickAt(100, 100);
    Sprite* right = brickAt(133, 100);
    ball.setVelocity(4.0f, -4.0f);
    ball.setPosition(120.0f, 113.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(left->state, ENTITY_HIT);
    EXPECT_EQ(right->state, ENTITY_HIT);
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    EXPECT_EQ(timesPlayed(top), 2);
}

TEST_F(BallTest, ShrinkingBrickIsNeverHitAgainThoughItsFullBoxStillOverlaps) {
    Sprite* brick = brickAt(100, 100);
    ball.setPosition(110.0f, 110.0f);
    collideBallWithBricks(ball);
    ASSERT_EQ(brick->state, ENTITY_HIT);
    updateBricks();
    const float vx = ball.vx;
    const float vy = ball.vy;
    collideBallWithBricks(ball);
    EXPECT_EQ(brick->state, ENTITY_HIT);
    EXPECT_EQ(brick->width, 29);
    EXPECT_FLOAT_EQ(ball.vx, vx);
    EXPECT_FLOAT_EQ(ball.vy, vy);
    EXPECT_EQ(timesPlayed(top), 1);
}

TEST_F(BallTest, MissingSoundsLeaveTheGameSilentButPlaying) {
    g_sndYan = nullptr;
    g_sndTop = nullptr;
    bounceAt(620.0f, 200.0f);
    EXPECT_FLOAT_EQ(ball.x, 616.0f);
    brickAt(100, 100);
    ball.setPosition(110.0f, 110.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(g_bricks.head->state, ENTITY_HIT);
    EXPECT_TRUE(played().empty());
}

}  // namespace
