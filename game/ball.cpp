#include "game/ball.h"

#include "game/collision.h"
#include "game/entity_list.h"
#include "game/scene.h"
#include "game/sound_cue.h"
#include "graphics/display.h"

namespace {

// The velocity is in tenths of a unit per second, and each unit covers three pixels: 120 pixels per second on
// each axis at speed 4.
constexpr double BALL_TIME_SCALE = 10.0;
constexpr double BALL_PIXELS_PER_UNIT = 3.0;

constexpr float LEFT_EDGE = 8.0f;
constexpr float LEFT_REBOUND_X = 9.0f;
constexpr float RIGHT_EDGE = 633.0f;
constexpr float RIGHT_REBOUND = 632.0f;
constexpr float TOP_EDGE = 30.0f;
constexpr float TOP_REBOUND_Y = 31.0f;
constexpr float BOTTOM_EDGE = 480.0f;
constexpr float BOTTOM_REBOUND = 479.0f;

constexpr int BALL_DRAW_MODE = 1;

// The ball's box is this much larger on every side when it is tested against the bricks.
constexpr double BALL_HIT_MARGIN = 3.0;
// A brick is hit through its full size, however far it has shrunk.
constexpr double BRICK_HIT_WIDTH = 30.0;
constexpr double BRICK_HIT_HEIGHT = 15.0;

void bounceOffEdges(Sprite& ball) {
    const float width = static_cast<float>(ball.width);
    const float height = static_cast<float>(ball.height);
    if (ball.x < LEFT_EDGE) {
        playCue(g_sndYan);
        ball.vx = -ball.vx;
        ball.x = LEFT_REBOUND_X;
    }
    if (ball.x > RIGHT_EDGE - width) {
        playCue(g_sndYan);
        ball.vx = -ball.vx;
        ball.x = RIGHT_REBOUND - width;
    }
    if (ball.y < TOP_EDGE) {
        playCue(g_sndYkr);
        ball.vy = -ball.vy;
        ball.y = TOP_REBOUND_Y;
    }
    // The ball is never lost: it comes back from the bottom edge too, silently.
    if (ball.y > BOTTOM_EDGE - height) {
        ball.vy = -ball.vy;
        ball.y = BOTTOM_REBOUND - height;
    }
}

IntRect ballBox(const Sprite& ball) {
    return IntRect{static_cast<std::int32_t>(ball.x - BALL_HIT_MARGIN),
                   static_cast<std::int32_t>(ball.y - BALL_HIT_MARGIN),
                   static_cast<std::int32_t>(ball.x + ball.getWidth() + BALL_HIT_MARGIN),
                   static_cast<std::int32_t>(ball.y + ball.getHeight() + BALL_HIT_MARGIN)};
}

IntRect brickBox(const Sprite& brick) {
    return IntRect{static_cast<std::int32_t>(brick.x), static_cast<std::int32_t>(brick.y),
                   static_cast<std::int32_t>(brick.x + BRICK_HIT_WIDTH),
                   static_cast<std::int32_t>(brick.y + BRICK_HIT_HEIGHT)};
}

bool boxesMeet(const IntRect& ball, const IntRect& brick) {
    return ball.top < brick.bottom && ball.bottom > brick.top && ball.right > brick.left &&
           ball.left < brick.right;
}

void hitBrick(Sprite& ball, Sprite& brick, const IntRect& ballRect, const IntRect& brickRect) {
    const int side = overlapSide(brickRect, ballRect);
    if (side == OVERLAP_TOP_BOTTOM) ball.vy = -ball.vy;
    if (side == OVERLAP_SIDE) ball.vx = -ball.vx;
    playCue(g_sndTop);
    brick.state = ENTITY_HIT;
}

}  // namespace

void moveBall() {
    moveBall(playScene().ball, g_display.frameTime);
}

void moveBall(Sprite& ball, float frameTime) {
    const float dx = static_cast<float>(ball.vx * frameTime * BALL_TIME_SCALE);
    const float dy = static_cast<float>(ball.vy * frameTime * BALL_TIME_SCALE);
    ball.x = static_cast<float>(ball.x + dx * BALL_PIXELS_PER_UNIT);
    ball.y = static_cast<float>(ball.y + dy * BALL_PIXELS_PER_UNIT);
    bounceOffEdges(ball);
    ball.draw(BALL_DRAW_MODE, true, true);
}

void collideBallWithBricks() {
    collideBallWithBricks(playScene().ball);
}

// Every brick hit in the same frame reverses the ball again, so two bricks hit side by side from below send
// it on upward.
void collideBallWithBricks(Sprite& ball) {
    const IntRect ballRect = ballBox(ball);
    for (Sprite* brick = g_bricks.head; brick; brick = brick->next) {
        if (brick->state != ENTITY_ALIVE || brick->kind != KIND_BRICK) continue;
        const IntRect brickRect = brickBox(*brick);
        if (boxesMeet(ballRect, brickRect)) hitBrick(ball, *brick, ballRect, brickRect);
    }
}
