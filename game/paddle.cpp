#include "game/paddle.h"

#include "game/collision.h"
#include "game/sound_cue.h"

namespace {

constexpr int PADDLE_SIZE_STEP = 2;
constexpr int PADDLE_MAX_WIDTH = 400;
constexpr int PADDLE_MIN_WIDTH = 35;  // from an even width the last step ends at 34
constexpr int BALL_SIZE_STEP = 1;
constexpr int BALL_MAX_WIDTH = 120;
constexpr int BALL_MIN_WIDTH = 17;

constexpr float PLAY_LEFT_WALL = 10.0f;
constexpr float PLAY_RIGHT_WALL = 630.0f;

// Scroll speeds in texture widths per second, times 1000 for the sprite's scroll step (frame time x 50 x 8
// and frame time x 50 x 6).
constexpr float PADDLE_SCROLL_SCALE = 50.0f * 8.0f;
constexpr float GLOW_SCROLL_SCALE = 50.0f * 6.0f;
constexpr int PADDLE_DRAW_MODE = 13;
constexpr int GLOW_DRAW_MODE = 5;

}  // namespace

void resizeWithButtons(Sprite& paddle, Sprite& ball, bool growHeld, bool shrinkHeld) {
    if (growHeld) {
        if (paddle.width < PADDLE_MAX_WIDTH) paddle.width += PADDLE_SIZE_STEP;
        if (ball.width < BALL_MAX_WIDTH) ball.width += BALL_SIZE_STEP;
    }
    if (shrinkHeld) {
        if (paddle.width > PADDLE_MIN_WIDTH) paddle.width -= PADDLE_SIZE_STEP;
        if (ball.width > BALL_MIN_WIDTH) ball.width -= BALL_SIZE_STEP;
    }
}

void steerPaddle(Sprite& paddle, int mouseDeltaX, bool mouseAcquired) {
    if (mouseAcquired) paddle.x += static_cast<float>(mouseDeltaX);
    if (paddle.x < PLAY_LEFT_WALL) paddle.x = PLAY_LEFT_WALL;
    const float rightLimit = PLAY_RIGHT_WALL - static_cast<float>(paddle.width);
    if (paddle.x > rightLimit) paddle.x = rightLimit;
}

void drawPaddle(Sprite& paddle, Sprite& glow, float frameTime) {
    paddle.scrollSpeed = frameTime * PADDLE_SCROLL_SCALE;
    paddle.draw(PADDLE_DRAW_MODE, true, true);
    glow.width = paddle.width;
    glow.setPosition(paddle.x, paddle.y);
    glow.scrollSpeed = frameTime * GLOW_SCROLL_SCALE;
    glow.draw(GLOW_DRAW_MODE, true, true);
}

// The ball's position and vx are kept; while the two still overlap on later frames the bounce repeats.
void bounceBallOffPaddle(const Sprite& paddle, Sprite& ball) {
    if (g_collision.spritesOverlap(paddle, ball, 0) != 1) return;
    playCue(g_sndTops);
    ball.vy = -ball.speedY;
}
