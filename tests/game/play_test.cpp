// A game: a wall without its template, and the rules of a play frame where the committed demos (tests/golden)
// do not reach: the ball against the edges and the bricks, the paddle against the walls and the ball.
#include "game/ball.h"
#include "game/collision.h"
#include "game/new_game.h"
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

TEST_F(PlayFrameTest, AWallWithoutATemplateIsStillBuilt) {
    brickTemplatePointer = nullptr;
    newGame(play);
    EXPECT_EQ(g_bricks.count, 216);
    EXPECT_EQ(g_bricks.head->width, 0);
}

TEST_F(PlayFrameTest, BallBouncesOnlyBeyondAnEdgeWithThatEdgesSoundOrSilentlyWithoutSounds) {
    // Where the ball is and goes (x, y, vx, vy) before and after, and the sound; at the bottom, never lost.
    const std::tuple<std::vector<float>, std::vector<float>, const Sound*> cases[] = {
        {{617.0f, 200.0f, 4.0f, -4.0f}, {617.0f, 200.0f, 4.0f, -4.0f}, nullptr},
        {{620.0f, 200.0f, 4.0f, -4.0f}, {616.0f, 200.0f, -4.0f, -4.0f}, &yan},
        {{8.0f, 200.0f, -4.0f, -4.0f}, {8.0f, 200.0f, -4.0f, -4.0f}, nullptr},
        {{7.5f, 200.0f, -4.0f, -4.0f}, {9.0f, 200.0f, 4.0f, -4.0f}, &yan},
        {{300.0f, 29.0f, 4.0f, -4.0f}, {300.0f, 31.0f, 4.0f, 4.0f}, &ykr},
        {{300.0f, 470.0f, 4.0f, 4.0f}, {300.0f, 463.0f, 4.0f, -4.0f}, nullptr}};
    for (const bool silent : {false, true}) {
        if (silent) gameSounds() = std::make_tuple(nullptr, nullptr, nullptr, nullptr, nullptr);
        for (const auto& [before, after, sound] : cases) {
            SCOPED_TRACE(testing::Message() << before[0] << ", " << before[1] << (silent ? " silent" : ""));
            played().clear();
            ball.setPosition(before[0], before[1]);
            ball.setVelocity(before[2], before[3]);
            moveBall(ball, 0.0f);  // moves nothing, so only the edge tests act
            EXPECT_EQ(motionOf(ball), after);
            EXPECT_EQ(played(),
                      sound && !silent ? std::vector<const Sound*>{sound} : std::vector<const Sound*>{});
        }
    }
    brickAt(100, 100);
    ball.setPosition(110.0f, 110.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(g_bricks.head->state, ENTITY_HIT);
    EXPECT_TRUE(played().empty());
}

TEST_F(PlayFrameTest, LongFrameCarriesTheBallThirtyPixelsPerAxisWithoutLookingBetween) {
    moveBall(ball, 0.25f);
    EXPECT_EQ(motionOf(ball), (std::vector<float>{340.0f, 325.0f, 4.0f, -4.0f}));
    brickAt(305, 360);  // across the path: only the new position counts
    ball.setPosition(300.0f, 370.0f);
    moveBall(ball, 0.25f);
    collideBallWithBricks(ball);
    EXPECT_EQ(g_bricks.head->state, ENTITY_ALIVE);
}

TEST_F(PlayFrameTest, ShapeOfTheOverlapChoosesWhichComponentReverses) {
    // The ball's corner, a hit, its velocity after. Brick 100..130 x 100..115; the ball's box is 16 + 3 wide.
    const std::tuple<float, float, bool, float, float> cases[] = {
        {100.0f, 81.0f, false, 4.0f, -4.0f},  // box bottom 81 + 16 + 3 = 100: only touches the brick's top
        {100.0f, 82.0f, true, 4.0f, 4.0f},    // 19 wide, 1 tall
        {128.0f, 84.0f, true, 4.0f, 4.0f},    // 5 wide, 3 tall: from above
        {130.0f, 86.0f, true, -4.0f, -4.0f},  // 3 wide, 5 tall: from the side
        {129.0f, 85.0f, true, -4.0f, -4.0f},  // 4 x 4: a corner counts as the side
    };
    for (const auto& [x, y, hit, vx, vy] : cases) {
        SCOPED_TRACE(testing::Message() << x << ", " << y);
        g_bricks.deleteAll();
        played().clear();
        const Sprite* brick = brickAt(100, 100);
        ball.setVelocity(4.0f, -4.0f);
        ball.setPosition(x, y);
        collideBallWithBricks(ball);
        EXPECT_EQ(brick->state, hit ? ENTITY_HIT : ENTITY_ALIVE);
        EXPECT_EQ(std::make_pair(ball.vx, ball.vy), std::make_pair(vx, vy));
        EXPECT_EQ(timesPlayed(top), hit ? 1 : 0);
    }
}

// Shrinking bricks are never hit again, though their full boxes still overlap the ball.
TEST_F(PlayFrameTest, TwoBricksHitSideBySideReverseTwiceSoundTwiceAndAreNeverHitAgain) {
    Sprite* left = brickAt(100, 100);
    Sprite* right = brickAt(133, 100);
    ball.setPosition(120.0f, 113.0f);
    collideBallWithBricks(ball);
    EXPECT_EQ(std::make_pair(left->state, right->state), std::make_pair(ENTITY_HIT, ENTITY_HIT));
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    updateBricks();
    const std::vector<float> motion = motionOf(ball);
    collideBallWithBricks(ball);
    EXPECT_EQ(std::make_tuple(left->state, left->width, left->height, left->x, right->state),
              std::make_tuple(ENTITY_HIT, 29, 14, 100.1f, ENTITY_HIT))
        << "shrinking toward its middle";
    EXPECT_EQ(motionOf(ball), motion);
    EXPECT_EQ(timesPlayed(top), 2);
}

TEST_F(PlayFrameTest, PaddleFollowsTheAcquiredMouseBetweenTheSideWallsAndSendsTheBallUpOnEveryStrictOverlap) {
    // Width, x before, mouse movement, whether the mouse is acquired, x after.
    const std::tuple<int, float, int, bool, float> steers[] = {
        {64, 245.0f, 30, true, 275.0f}, {64, 245.0f, 30, false, 245.0f},  {64, 20.0f, -17, true, 10.0f},
        {64, 600.0f, 0, true, 566.0f},  {400, 100.0f, 500, true, 230.0f}, {400, 100.0f, -500, true, 10.0f}};
    for (const auto& [width, from, delta, acquired, to] : steers) {
        paddle.width = width;
        paddle.x = from;
        steerPaddle(paddle, delta, acquired);
        EXPECT_FLOAT_EQ(paddle.x, to) << from << " + " << delta;
    }
    ball.setPosition(paddle.x + 10.0f, paddle.y - 8.0f);
    ball.vy = 4.0f;
    bounceBallOffPaddle(paddle, ball);
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    bounceBallOffPaddle(paddle, ball);  // still overlapping while already going up: the same again
    EXPECT_FLOAT_EQ(ball.vy, -4.0f);
    EXPECT_EQ(timesPlayed(tops), 2);
    const Collision collision;
    ball.setPosition(paddle.x + static_cast<float>(paddle.width), paddle.y);  // touching its right edge
    EXPECT_EQ(collision.spritesOverlap(paddle, ball, 0), 0);
    ball.setPosition(paddle.x, paddle.y + 13.0f);  // overlapping only its lowest 14 rows
    EXPECT_EQ(collision.spritesOverlap(paddle, ball, 0), 1);
    EXPECT_EQ(collision.spritesOverlap(paddle, ball, 14), 0);
}

}  // namespace
