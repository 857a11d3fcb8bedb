// The game state that selects what one pass of the main loop does, and the routines it selects.
#pragma once

#include <cstdint>

constexpr std::int32_t STATE_PLAY = 1;
constexpr std::int32_t STATE_MENU = 2;
constexpr std::int32_t STATE_NEW_GAME = 4;
constexpr std::int32_t STATE_TEARDOWN = 9;

// 0 until start-up ends; any value but the four above makes a pass do nothing at all.
extern std::int32_t GameState;

// One pass of the current state. Always true: the loop ends only through the quit message.
bool runGameState();
bool runMenuFrame();
bool runPlayFrame();
// The frame rate and the engine lines of the menu.
void drawEngineInfo();
