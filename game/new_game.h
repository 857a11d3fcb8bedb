// Setting up a game: ball, paddle and the wall of 216 bricks, whose colours continue from wall to wall.
#pragma once

#include "game/scene.h"

// The colour of the last brick made. Never reset, so every wall continues the sequence of the one before.
extern float g_brickRed;
extern float g_brickGreen;
extern float g_brickBlue;

// The one pass of STATE_NEW_GAME: sets up the game and switches to play. Draws nothing.
void newGame();
void newGame(const PlayScene& scene);

// The next brick colour: red and green step by 0.1, blue by 0.2; a value above 1.0 starts again at 0.
void advanceBrickColor();
