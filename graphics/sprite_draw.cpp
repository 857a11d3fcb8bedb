// Drawing one sprite: the mode's passes, each one quad in immediate mode.
#include <GL/gl.h>

#include "graphics/sprite.h"
#include "graphics/sprite_modes.h"

namespace {

void emitQuad(const Sprite& sprite, const QuadCoords& coords) {
    const QuadCorners corners = quadCorners(sprite);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(coords.s[i], coords.t[i]);
        glVertex3f(corners.x[i], corners.y[i], 0.0f);
    }
    glEnd();
}

void setTint(const Sprite& sprite) {
    glColor4f(sprite.red, sprite.green, sprite.blue, sprite.alpha);
}

// Multiplies the frame buffer by the mask: white keeps the background, black cuts the sprite's hole.
void drawMaskPass(const Sprite& sprite) {
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, sprite.maskTexture);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    emitQuad(sprite, plainCoords());
}

void drawMainPass(const DrawMode& m, const Sprite& sprite, GLuint texture) {
    if (m.setsBlendFunc) glBlendFunc(m.sourceFactor, m.destinationFactor);
    glBindTexture(GL_TEXTURE_2D, texture);
    const QuadCoords coords = mainPassCoords(m, sprite);
    setTint(sprite);
    emitQuad(sprite, coords);
}

}  // namespace

void Sprite::draw(int mode, bool blend, bool masked) {
    beginSpriteDraw(blend);
    if (const DrawMode* m = drawModeFor(mode)) {
        applyBlendStep(m->blendStep);
        if (m->maskPass && masked) drawMaskPass(*this);
        drawMainPass(*m, *this, texture);
    }
    glDisable(GL_BLEND);
}

void Sprite::drawAnimated(int mode, bool blend, float frameDelay) {
    beginSpriteDraw(blend);
    stepAnimation(*this, frameDelay);
    if (const DrawMode* m = animatedModeFor(mode)) {
        applyBlendStep(m->blendStep);
        drawMainPass(*m, *this, animatedTexture(*this, mode));
    }
    glDisable(GL_BLEND);
}
