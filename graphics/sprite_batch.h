// Drawing a list of sprites in one mode in few GL draws, with the same pixels and the same GL state as
// drawing them one after another with Sprite::draw or Sprite::drawAnimated.
//
// Consecutive sprites that bind the same textures form a run, drawn from vertex arrays (OpenGL 1.1): each
// pass of the mode is one glDrawArrays over the whole run, the tint a colour per vertex. The fragments of one
// draw reach the frame buffer in the order of their quads, as they would from separate draws. What changes is
// only that with a mask pass, every mask of the run is drawn before every image; that gives the same pixels
// as long as no two quads of the run share a pixel, so a run also ends before a quad that overlaps one
// already in it.
#pragma once

#include "graphics/sprite.h"

// Sprite::draw(mode, blend, masked) for `first` and every sprite after it along `next`, in that order.
void drawSpriteList(Sprite* first, int mode, bool blend, bool masked);
// Sprite::drawAnimated(mode, blend, frameDelay) for the same sprites.
void drawSpriteListAnimated(Sprite* first, int mode, bool blend, float frameDelay);
