// A new game: the ball and the paddle at their starting places and a wall of 216 coloured bricks.
#include "game/new_game.h"

#include "game_test_support.h"

namespace {

using NewGameTest = GameTest;

TEST_F(NewGameTest, BuildsTheWallRowByRowAndSwitchesToPlay) {
    GameState = STATE_NEW_GAME;
    newGame(play);
    EXPECT_EQ(GameState, STATE_PLAY);

    const std::vector<Sprite*> bricks = entitiesOf(g_bricks);
    ASSERT_EQ(bricks.size(), 216u);
    EXPECT_FLOAT_EQ(bricks.front()->x, 20.0f);
    EXPECT_FLOAT_EQ(bricks.front()->y, 50.0f);
    EXPECT_FLOAT_EQ(bricks.back()->x, 581.0f);
    EXPECT_FLOAT_EQ(bricks.back()->y, 248.0f);
    // The second row starts after the eighteenth brick.
    EXPECT_FLOAT_EQ(bricks[17]->x, 581.0f);
    EXPECT_FLOAT_EQ(bricks[18]->x, 20.0f);
    EXPECT_FLOAT_EQ(bricks[18]->y, 68.0f);
    for (const Sprite* brick : bricks) {
        EXPECT_EQ(brick->kind, KIND_BRICK);
        EXPECT_EQ(brick->state, ENTITY_ALIVE);
        EXPECT_EQ(brick->width, 30);
        EXPECT_EQ(brick->height, 15);
    }
}

TEST_F(NewGameTest, PutsBallAndPaddleAtTheStartUndoingEarlierResizing) {
    ball.width = 120;
    ball.height = 120;
    paddle.width = 400;
    paddle.x = 3.0f;
    newGame(play);
    EXPECT_EQ((std::vector<int>{ball.width, ball.height, paddle.width, paddle.height, glow.height}),
              (std::vector<int>{16, 16, 64, 14, 14}));
    EXPECT_EQ(motionOf(ball), (std::vector<float>{310.0f, 355.0f, 4.0f, -4.0f}));
    EXPECT_FLOAT_EQ(ball.speedY, 4.0f);
    EXPECT_FLOAT_EQ(paddle.x, 245.0f);
    EXPECT_FLOAT_EQ(paddle.y, 435.0f);
}

// Red and green wrap at the tenth step, which lands just above 1.0; blue lands on exactly 1.0 at the fifth
// and wraps only at the sixth.
TEST_F(NewGameTest, BrickColoursCycleAndTheSecondWallContinuesTheSequence) {
    newGame(play);
    const std::vector<Sprite*> first = entitiesOf(g_bricks);
    expectBrickColor(*first[0], 0.1f, 0.2f);
    expectBrickColor(*first[4], 0.5f, 1.0f);
    expectBrickColor(*first[5], 0.6f, 0.0f);
    expectBrickColor(*first[8], 0.9f, 0.6f);
    expectBrickColor(*first[9], 0.0f, 0.8f);
    expectBrickColor(*first[215], 0.6f, 0.0f);

    g_bricks.deleteAll();
    newGame(play);
    expectBrickColor(*g_bricks.head, 0.7f, 0.2f);
}

TEST_F(NewGameTest, AWallWithoutATemplateIsStillBuilt) {
    brickTemplatePointer = nullptr;
    newGame(play);
    EXPECT_EQ(g_bricks.count, 216);
    EXPECT_EQ(g_bricks.head->width, 0);
}

}  // namespace
