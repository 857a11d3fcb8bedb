#include "game/new_game.h"

#include "core/game_state.h"
#include "game/colors.h"
#include "game/entity_list.h"

float g_brickRed = 0.0f;
float g_brickGreen = 0.0f;
float g_brickBlue = 0.0f;

namespace {

constexpr int BALL_SIZE = 16;
constexpr float BALL_START_X = 310.0f;
constexpr float BALL_START_Y = 355.0f;
// Up and to the right; the paddle sends the ball up again at BALL_SPEED.
constexpr float BALL_SPEED = 4.0f;

constexpr int PADDLE_WIDTH = 64;
constexpr int PADDLE_HEIGHT = 14;
constexpr float PADDLE_START_X = 245.0f;
constexpr float PADDLE_Y = 435.0f;

// 12 rows of 18 bricks of 30 x 15, 3 pixels apart.
constexpr int WALL_TOP = 50;
constexpr int WALL_BOTTOM_LIMIT = 266;
constexpr int WALL_ROW_STEP = 18;
constexpr int WALL_LEFT = 20;
constexpr int WALL_RIGHT_LIMIT = 614;
constexpr int WALL_COLUMN_STEP = 33;

constexpr int BRICK_TAG = 1;
constexpr int BRICK_ANIM_MARKER = 1;

// The tenth red step lands just above 1.0 and wraps; the fifth blue step lands on exactly 1.0 and does not.
constexpr double BRICK_RED_STEP = 0.1;
constexpr double BRICK_GREEN_STEP = 0.1;
constexpr double BRICK_BLUE_STEP = 0.2;

void setUpBallAndPaddle(const PlayScene& scene) {
    Sprite& ball = scene.ball;
    ball.width = BALL_SIZE;
    ball.height = BALL_SIZE;
    ball.setPosition(BALL_START_X, BALL_START_Y);
    ball.setVelocity(BALL_SPEED, -BALL_SPEED);
    ball.speedY = BALL_SPEED;

    scene.paddle.width = PADDLE_WIDTH;
    scene.paddle.height = PADDLE_HEIGHT;
    scene.paddle.setPosition(PADDLE_START_X, PADDLE_Y);
    scene.glow.height = PADDLE_HEIGHT;
}

void buildWall(const SpriteTemplate* brickTemplate) {
    for (int y = WALL_TOP; y < WALL_BOTTOM_LIMIT; y += WALL_ROW_STEP) {
        for (int x = WALL_LEFT; x < WALL_RIGHT_LIMIT; x += WALL_COLUMN_STEP) {
            advanceBrickColor();
            createBrick(brickTemplate, KIND_BRICK, x, y, ENTITY_ALIVE, BRICK_TAG, BRICK_ANIM_MARKER,
                        g_brickRed, g_brickGreen, g_brickBlue);
        }
    }
}

}  // namespace

void advanceBrickColor() {
    g_brickRed = cycledChannel(g_brickRed, BRICK_RED_STEP);
    g_brickGreen = cycledChannel(g_brickGreen, BRICK_GREEN_STEP);
    g_brickBlue = cycledChannel(g_brickBlue, BRICK_BLUE_STEP);
}

void newGame() {
    newGame(playScene());
}

void newGame(const PlayScene& scene) {
    setUpBallAndPaddle(scene);
    buildWall(scene.brickTemplate);
    GameState = STATE_PLAY;
}
