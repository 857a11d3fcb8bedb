// The entry routine, start-up and shutdown.
#pragma once

#include "platform/types.h"

// The program. Keeps its Windows name and arguments; on other systems main calls it. Returns 0 on every path.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, char* commandLine, int showCommand);

// False when the display cannot be created; nothing else stops the start-up.
bool initGame();
// Audio, font lists, window, in that order. Always false.
bool shutdownGame();
