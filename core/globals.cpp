// Every global engine object, in the one order they are built (and destroyed in reverse). C++ fixes that
// order only inside one translation unit, so they are all defined here; each module's header declares its
// own.
#include "core/debug_log.h"
#include "core/game_state.h"
#include "game/collision.h"
#include "game/entity_list.h"
#include "graphics/asset_catalogue.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/texture_loader.h"
#include "input/input_system.h"

std::int32_t GameState = 0;

EntityList g_effects;
Display g_display;
TextureLoader g_textureLoader;
Collision g_collision;
InputSystem g_input;
EntityList g_bricks;

// The font and the catalogue's sprites follow the brick list.
BitmapFont g_font;
Sprite g_spriteCursor;
Sprite g_spriteLogo;
Sprite g_spriteLava;
Sprite g_spriteMenuGlow;
Sprite g_spriteMenuBackground;
Sprite g_spriteBall;
Sprite g_spritePlate;
Sprite g_spritePaddle;
Sprite g_spritePlayGlow;
Sprite g_spritePlayBackground;
Sprite g_spriteWall;
SpriteTemplate* g_brickTemplate = nullptr;
SpriteTemplate* g_explosionTemplate = nullptr;

// Last: constructing the log empties the file of the previous run.
DebugLog g_debugLog;
