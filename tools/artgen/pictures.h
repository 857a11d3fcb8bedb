// Every picture of the game, each drawn for the way the game blends it: additive pictures on black, masks
// white where the background shows and black where the sprite is, opaque pictures whole.
#pragma once

#include <string>

#include "tools/artgen/canvas.h"

namespace art {

// Backgrounds and strips (backgrounds.cpp).
Canvas menuBackground();
Canvas playBackground();
Canvas lava();
Canvas glowStrip();
Canvas wallStrip();

// Sprites (sprites_art.cpp).
Canvas cursor();
Canvas cursorMask();
Canvas logo(const std::string& fontFile);
Canvas ball();
Canvas ballMask();
Canvas plate();
Canvas brick();
Canvas brickMask();
Canvas explosionFrame(int frame, int frameCount);

}  // namespace art
