// One frame of play: the input step and the update and drawing of the play field.
#pragma once

#include "game/scene.h"

// Escape leaves the game (the teardown starts at the next pass); the mouse buttons resize paddle and ball.
void playInput();
void playInput(const PlayScene& scene);

// Updates and draws the play field: background, walls, bricks, effects, ball, paddle, status plates, and the
// ball's bounce off the paddle.
void updatePlay();
void updatePlay(const PlayScene& scene);

// The ball against the bricks, the bricks' state pass, then the bricks drawn.
void updateAndDrawBricks(int mode, bool blend, bool masked);
void updateAndDrawBricks(Sprite& ball, int mode, bool blend, bool masked);
// The effects' state pass, then the effects drawn.
void updateAndDrawEffects(int mode, bool blend, float frameDelay);

// The three plates at the top right.
void drawStatusPlates();
void drawStatusPlates(Sprite& plate, Sprite& plateGlow);
