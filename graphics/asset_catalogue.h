// The fixed list of every image the program uses, and the global objects that hold them.
#pragma once

#include "graphics/bitmap_font.h"
#include "graphics/sprite.h"

extern Sprite g_spriteCursor;
extern Sprite g_spriteLogo;
extern Sprite g_spriteLava;
extern Sprite g_spriteMenuGlow;
extern Sprite g_spriteMenuBackground;
extern Sprite g_spriteBall;
extern Sprite g_spritePlate;
extern Sprite g_spritePaddle;
extern Sprite g_spritePlayGlow;
extern Sprite g_spritePlayBackground;
extern Sprite g_spriteWall;

// Created by loadAssets and never deleted; null before it runs or when their allocation failed.
extern SpriteTemplate* g_brickTemplate;
extern SpriteTemplate* g_explosionTemplate;

constexpr int EXPLOSION_FRAME_COUNT = 15;

// Loads the font, every sprite and both templates, in one fixed order, with the window height of the moment.
// Never stops early: a missing image leaves its texture id as it was and the later steps still run. Meant to
// run once; a second call reloads into the same objects and templates.
void loadAssets();
