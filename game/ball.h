// The ball: its flight, its bounces off the screen edges and its hits on the bricks.
#pragma once

#include "graphics/sprite.h"

// Moves the ball by its velocity over the last frame, bounces it off the walls and the bottom edge (with the
// wall sounds) and draws it. Nothing is tested along the way: a long frame can carry the ball past anything.
void moveBall();
void moveBall(Sprite& ball, float frameTime);

// Tests the ball against every live brick: each hit reverses one velocity component, plays the brick sound
// and sets the brick shrinking.
void collideBallWithBricks();
void collideBallWithBricks(Sprite& ball);
