// The paddle: steered by the mouse, resized with the mouse buttons together with the ball, and the ball's
// bounce off it.
#pragma once

#include "graphics/sprite.h"

// The left button grows paddle and ball by one step, the right one shrinks them; both held cancel out except
// where one of them has reached its limit.
void resizeWithButtons(Sprite& paddle, Sprite& ball, bool growHeld, bool shrinkHeld);

// Adds the mouse movement to the paddle while the mouse is acquired and keeps it between the side walls.
void steerPaddle(Sprite& paddle, int mouseDeltaX, bool mouseAcquired);

// Draws the paddle and the glow that scrolls over it; both scroll at a speed set by the frame time.
void drawPaddle(Sprite& paddle, Sprite& glow, float frameTime);

// On every frame that paddle and ball overlap: the paddle sound, and the ball sent upward again.
void bounceBallOffPaddle(const Sprite& paddle, Sprite& ball);
