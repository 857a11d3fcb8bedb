// The rules of a play frame: the ball against the edges and the bricks, the paddle against the walls and the
// ball.
#include "game/ball.h"
#include "game/collision.h"
#include "game/paddle.h"
#include "game_test_support.h"

namespace {

class PlayFrameTest : public GameTest {
protected:
    // Ball 16 x 16 at (310, 355) going up and right at 4, paddle 64 x 14 at (245, 435); no bricks.
    void SetUp() override {
        GameTest::SetUp();
        newGame(play);
        g_bricks.deleteAll();
    }

    Sprite* brickAt(int x, int y) {
        createBrick(&brickTemplate, KIND_BRICK, x, y, ENTITY_ALIVE, 1, 1, 1.0f, 1.0f, 1.0f);
        return g_bricks.tail;
    }
};

Sprite box(float x, float y, int width, int height) {
    Sprite sprite;
    sprite.setPosition(x, y);
    sprite.width = width;
    sprite.height = height;
    return sprite;
}

TEST_F(PlayFrameTest, BallBouncesOnlyBeyondAnEdgeWithThatEdgesSound) {
    struct Case {
        std::vector<float> before, after;  // x, y, vx, vy
        const Sound* sound;
    };
    const Case cases[] = {
        {{617.0f, 200.0f, 4.0f, -4.0f}, {617.0f, 200.0f, 4.0f, -4.0f}, nullptr},
        {{620.0f, 200.0f, 4.0f, -4.0f}, {616.0f, 200.0f, -4.0f, -4.0f}, &yan},
        {{8.0f, 200.0f, -4.0f, -4.0f}, {8.0f, 200.0f, -4.0f, -4.0f}, nullptr},
        {{7.5f, 200.0f, -4.0f, -4.0f}, {9.0f, 200.0f, 4.0f, -4.0f}, &yan},
        {{300.0f, 29.0f, 4.0f, -4.0f}, {300.0f, 31.0f, 4.0f, 4.0f}, &ykr},
        {{300.0f, 470.0f, 4.0f, 4.0f}, {300.0f, 463.0f, 4.0f, -4.0f}, nullptr},  // never lost, and silent
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(testing::Message() << each.before[0] << ", " << each.before[1]);
        played().clear();
        ball.setPosition(each.before[0], each.before[1]);
        ball.setVelocity(each.before[2], each.before[3]);
        moveBall(ball, 0.0f);  // moves nothing, so only the edge tests act
        EXPECT_EQ(motionOf(ball), each.after);
        EXPECT_EQ(played(), each.sound ? std::vector<const Sound*>{each.sound} : std::vector<const Sound*>{});
    }
}

TEST_F(PlayFrameTest, LongFrameCarriesTheBallThirtyPixelsPerAxisWithoutLookingBetween) {
    moveBall(ball, 0.25f);
    EXPECT_EQ(motionOf(ball), (std::vector<float>{340.0f, 325.0f, 4.0f, -4.0f}));

    // A brick lying across that path is not touched: only the new position counts.
    brickAt(305, 360);
    ball.setPosition(300.0f, 370.0f);
    moveBall(ball, 0.25f);
    collideBallWithBricks(ball);
    EXPECT_EQ(g_bricks.head->state, ENTITY_ALIVE);
}

TEST_F(PlayFrameTest, ShapeOfTheOverlapChoosesWhichComponentReverses) {
    struct Case {
        float x, y;
        bool hit;
        float vx, vy;
    };
    // Brick 100..130 x 100..115; the ball's box reaches 3 pixels beyond its 16 x 16.
    const Case cases[] = {
        {100.0f, 81.0f, false, 4.0f, -4.0f},  // box bottom 81 + 16 + 3 = 100: only touches the brick's top
        {100.0f, 82.0f, true, 4.0f, 4.0f},    // 19 wide, 1 tall
        {128.0f, 84.0f, true, 4.0f, 4.0f},    // 5 wide, 3 tall: from above
        {130.0f, 86.0f, true, -4.0f, -4.0f},  // 3 wide, 5 tall: from the side
        {129.0f, 85.0f, true, -4.0f, -4.0f},  // 4 x 4: a corner counts as the side
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(testing::Message() << each.x << ", " << each.y);
        g_bricks.deleteAll();
        played().clear();
        const Sprite* brick = brickAt(100, 100);
        ball.setVelocity(4.0f, -4.0f);
        ball.setPosition(each.x, each.y);
        collideBallWithBricks(ball);
        EXPECT_EQ(brick->state, each.hit ? ENTITY_HIT : ENTITY_ALIVE);
        EXPECT_FLOAT_EQ(ball.vx, each.vx);
        EXPECT_FLOAT_EQ(ball.vy, each.vy);
        EXPECT_EQ(timesPlayed(top), each.hit ? 1 : 0);
    }
}

TEST_F(PlayFrameTest, TwoBricksHitSideBySideReverseTwiceAndBothSound) {
    Sprite* left = brickAt(100, 100);
    Sprite* right = brickAt(133, 100);
    ball.setPosition(120.0f, 113.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(left->state, ENTITY_HIT);
    EXPECT_EQ(right->state, ENTITY_HIT);
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    EXPECT_EQ(timesPlayed(top), 2);
}

TEST_F(PlayFrameTest, ShrinkingBrickIsNeverHitAgainThoughItsFullBoxStillOverlaps) {
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

TEST_F(PlayFrameTest, MissingSoundsLeaveTheGameSilentButPlaying) {
    g_sndYan = nullptr;
    g_sndTop = nullptr;
    ball.setPosition(620.0f, 200.0f);
    moveBall(ball, 0.0f);
    EXPECT_FLOAT_EQ(ball.x, 616.0f);
    brickAt(100, 100);
    ball.setPosition(110.0f, 110.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(g_bricks.head->state, ENTITY_HIT);
    EXPECT_TRUE(played().empty());
}

TEST_F(PlayFrameTest, PaddleFollowsTheAcquiredMouseBetweenTheSideWalls) {
    steerPaddle(paddle, 30, true);
    EXPECT_FLOAT_EQ(paddle.x, 275.0f);
    steerPaddle(paddle, 30, false);
    EXPECT_FLOAT_EQ(paddle.x, 275.0f);
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

TEST_F(PlayFrameTest, PaddleSendsTheBallUpOnEveryOverlappingFrame) {
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

TEST(SpritesOverlap, StrictOnEveryEdgeAndWithARaisedBottom) {
    const Collision collision;
    const Sprite paddle = box(100.0f, 435.0f, 64, 14);
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 420.0f, 16, 16), 0), 1);
    EXPECT_EQ(collision.spritesOverlap(paddle, box(164.0f, 430.0f, 16, 16), 0), 0);  // touches the right end
    EXPECT_EQ(collision.spritesOverlap(paddle, box(84.0f, 430.0f, 16, 16), 0), 0);   // touches the left end
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 419.0f, 16, 16), 0), 0);  // touches the top
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 449.0f, 16, 16), 0), 0);  // touches the bottom
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 448.0f, 16, 16), 0), 1);
    EXPECT_EQ(collision.spritesOverlap(paddle, box(110.0f, 448.0f, 16, 16), 14), 0);
}

}  // namespace
