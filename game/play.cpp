#include "game/play.h"

#include <cstdint>

#include "core/game_state.h"
#include "game/ball.h"
#include "game/entity_list.h"
#include "game/paddle.h"
#include "graphics/display.h"
#include "input/input_system.h"

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SIDE_WALL_WIDTH = 10;
constexpr float RIGHT_WALL_X = 630.0f;
constexpr int TOP_WALL_HEIGHT = 30;

constexpr int BACKGROUND_DRAW_MODE = 6;
constexpr int WALL_DRAW_MODE = 2;
constexpr int BRICK_DRAW_MODE = 1;
constexpr int EFFECT_DRAW_MODE = 1;
constexpr float EFFECT_FRAME_DELAY = 2.0f;

constexpr float STATUS_PLATE_FIRST_X = 440.0f;
constexpr float STATUS_PLATE_LIMIT_X = 605.0f;
constexpr float STATUS_PLATE_STEP_X = 55.0f;
constexpr float STATUS_PLATE_Y = 10.0f;
constexpr float STATUS_GLOW_Y = 14.0f;
constexpr int STATUS_PLATE_WIDTH = 50;
constexpr int STATUS_PLATE_HEIGHT = 15;
constexpr int STATUS_GLOW_HEIGHT = 9;
constexpr int STATUS_PLATE_DRAW_MODE = 13;
constexpr int STATUS_GLOW_DRAW_MODE = 5;

// "Active" includes the poll right after a release.
bool keyActive(std::uint16_t code) {
    return g_input.keyState(code) != KEYSTATE_UP;
}

void drawWall(Sprite& wall, int width, int height, float x) {
    wall.width = width;
    wall.height = height;
    wall.setPosition(x, 0.0f);
    wall.draw(WALL_DRAW_MODE, true, false);
}

void drawBackgroundAndWalls(const PlayScene& scene) {
    scene.background.setPosition(0.0f, 0.0f);
    scene.background.draw(BACKGROUND_DRAW_MODE, true, false);
    drawWall(scene.wall, SIDE_WALL_WIDTH, SCREEN_HEIGHT, 0.0f);
    drawWall(scene.wall, SIDE_WALL_WIDTH, SCREEN_HEIGHT, RIGHT_WALL_X);
    drawWall(scene.wall, SCREEN_WIDTH, TOP_WALL_HEIGHT, 0.0f);
}

}  // namespace

void playInput() {
    playInput(playScene());
}

void playInput(const PlayScene& scene) {
    if (keyActive(KEY_ESC)) GameState = STATE_TEARDOWN;
    resizeWithButtons(scene.paddle, scene.ball, keyActive(KEY_MOUSE_LEFT), keyActive(KEY_MOUSE_RIGHT));
}

void updatePlay() {
    updatePlay(playScene());
}

// The ball is drawn before the paddle moves; the paddle bounce is judged on both new positions.
void updatePlay(const PlayScene& scene) {
    std::int32_t mouseDeltaX = 0;
    std::int32_t mouseDeltaY = 0;
    g_input.getMouseDelta(&mouseDeltaX, &mouseDeltaY);

    drawBackgroundAndWalls(scene);
    updateAndDrawBricks(scene.ball, BRICK_DRAW_MODE, true, true);
    updateAndDrawEffects(EFFECT_DRAW_MODE, true, EFFECT_FRAME_DELAY);

    scene.ball.height = scene.ball.width;  // the ball stays square however the buttons resized it
    moveBall(scene.ball, g_display.frameTime);

    steerPaddle(scene.paddle, mouseDeltaX, g_input.mouseAcquired != 0);
    drawPaddle(scene.paddle, scene.glow, g_display.frameTime);
    drawStatusPlates(scene.plate, scene.plateGlow);
    bounceBallOffPaddle(scene.paddle, scene.ball);
}

void updateAndDrawBricks(int mode, bool blend, bool masked) {
    updateAndDrawBricks(playScene().ball, mode, blend, masked);
}

void updateAndDrawBricks(Sprite& ball, int mode, bool blend, bool masked) {
    collideBallWithBricks(ball);
    updateBricks();
    g_bricks.drawAll(mode, blend, masked);
}

void updateAndDrawEffects(int mode, bool blend, float frameDelay) {
    updateEffects();
    g_effects.drawAllAnimated(mode, blend, frameDelay);
}

void drawStatusPlates() {
    drawStatusPlates(playScene().plate, playScene().plateGlow);
}

void drawStatusPlates(Sprite& plate, Sprite& plateGlow) {
    for (float x = STATUS_PLATE_FIRST_X; x < STATUS_PLATE_LIMIT_X; x += STATUS_PLATE_STEP_X) {
        plate.width = STATUS_PLATE_WIDTH;
        plate.height = STATUS_PLATE_HEIGHT;
        plate.setColor(1.0f, 1.0f, 1.0f);
        plate.setPosition(x, STATUS_PLATE_Y);
        plate.draw(STATUS_PLATE_DRAW_MODE, true, false);

        plateGlow.width = STATUS_PLATE_WIDTH;
        plateGlow.height = STATUS_GLOW_HEIGHT;
        plateGlow.setPosition(x, STATUS_GLOW_Y);
        plateGlow.setColor(1.0f, 1.0f, 1.0f);
        plateGlow.draw(STATUS_GLOW_DRAW_MODE, true, true);
    }
}
