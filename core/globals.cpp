// Every global engine object, in the one order they are built (and destroyed in reverse). C++ fixes that
// order only inside one translation unit, so they are all defined here; each module's header declares its
// own.
#include "core/debug_log.h"
#include "core/game_state.h"
#include "graphics/display.h"
#include "graphics/texture_loader.h"
#include "input/input_system.h"

std::int32_t GameState = 0;

Display g_display;
TextureLoader g_textureLoader;
InputSystem g_input;
// Last: constructing the log empties the file of the previous run.
DebugLog g_debugLog;
