// The catalogue's sprites that each screen draws, gathered so that the screen's routines can be run on other
// sprites as well (the tests give them their own).
#pragma once

#include "graphics/sprite.h"

struct PlayScene {
    Sprite& background;
    Sprite& wall;
    Sprite& ball;
    Sprite& paddle;
    Sprite& glow;       // scrolls over the paddle
    Sprite& plate;      // the status plates ...
    Sprite& plateGlow;  // ... and the glow strips on them
    // The template every brick is made from; read when a wall is built, as it is loaded after start-up.
    SpriteTemplate* const& brickTemplate;
};

struct MenuScene {
    Sprite& background;
    Sprite& logo;
    Sprite& lava;
    Sprite& glow;  // the logo's top layer, the bands' strips and the hovered item's light
    Sprite& plate;
    Sprite& cursor;
};

// The screens as the game shows them, bound to the global sprites of the asset catalogue.
const PlayScene& playScene();
const MenuScene& menuScene();
