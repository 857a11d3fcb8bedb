// The texts of the play screen: the frame rate, the title, and the fixed player, score and level.
#pragma once

#include <cstddef>

// Room for any line of the play screen.
constexpr std::size_t HUD_TEXT_SIZE = 200;

void drawPlayHud();

// "FPS : 60" for 59.6: the frame rate rounded to a whole number.
void formatFrameRate(char* buffer, std::size_t size, float framesPerSecond);
