// The fourteen drawing modes of Sprite::draw as one table, and the steps of a draw that every way of drawing
// sprites shares: one sprite at a time (sprite_draw.cpp) or a list in batches (sprite_batch.cpp).
#pragma once

#include <GL/gl.h>

#include "graphics/sprite.h"

enum BlendStep {
    BLEND_AS_SET,  // blending stays as the blend argument left it
    BLEND_OFF,     // opaque modes
    BLEND_ON,
};

enum Pattern {
    PATTERN_PLAIN,
    PATTERN_TILED,
    PATTERN_TILED_DIAGONAL,
    PATTERN_HORIZONTAL,
    PATTERN_DIAGONAL,
};

constexpr int NO_SCROLL = -1;

struct DrawMode {
    BlendStep blendStep;
    bool maskPass;
    bool setsBlendFunc;  // false: the main pass keeps whatever blend function is in force
    GLenum sourceFactor;
    GLenum destinationFactor;
    Pattern pattern;
    int scroll;  // a SpriteScroll, or NO_SCROLL
};

// The row of `mode`, or null for a mode outside the table (which draws nothing).
const DrawMode* drawModeFor(int mode);

// What Sprite::drawAnimated draws in modes 1 and 2: the rows of Sprite::draw without their mask pass.
const DrawMode* animatedModeFor(int mode);

// Texture coordinates of the four corners, in vertex order: top-left, top-right, bottom-right, bottom-left.
struct QuadCoords {
    float s[4];
    float t[4];
};

// The corners' coordinates in the 2D projection, in the same order.
struct QuadCorners {
    float x[4];
    float y[4];
};

// The coordinates of a quad in `mode` for this sprite. A scrolling mode advances its shared offset first, as
// every draw in it does.
QuadCoords mainPassCoords(const DrawMode& mode, const Sprite& sprite);
QuadCoords plainCoords();

// Sprites are placed from the top-left in screen pixels; the 2D projection counts y from the bottom, flipped
// with the height the sprite was loaded for.
QuadCorners quadCorners(const Sprite& sprite);

// The first step of every draw: no transform from earlier drawing, and with blend, additive blending by alpha
// over a frame without depth test.
void beginSpriteDraw(bool blend);
void applyBlendStep(BlendStep step);

// The shared countdown step of drawAnimated for this sprite; advances its frame when the countdown runs out.
void stepAnimation(Sprite& sprite, float frameDelay);
// The texture drawAnimated binds in `mode` for the sprite's current frame.
GLuint animatedTexture(const Sprite& sprite, int mode);
