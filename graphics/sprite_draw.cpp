// Sprite drawing: the fourteen modes as one table, read by one routine, and the animation step.
#include <GL/gl.h>

#include "graphics/sprite.h"

namespace {

// Scroll step per draw for a scrollSpeed of 1, in texture widths.
constexpr float SCROLL_STEP = 0.001f;

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

// clang-format off
constexpr DrawMode DRAW_MODES[SPRITE_MODE_COUNT] = {
    {BLEND_AS_SET, true,  true,  GL_DST_ALPHA, GL_ONE,  PATTERN_PLAIN,          NO_SCROLL},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_PLAIN,          NO_SCROLL},
    {BLEND_OFF,    false, false, GL_ZERO,      GL_ZERO, PATTERN_PLAIN,          NO_SCROLL},
    {BLEND_ON,     true,  true,  GL_SRC_COLOR, GL_ONE,  PATTERN_PLAIN,          NO_SCROLL},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_DIAGONAL,       SCROLL_DIAGONAL_RISING},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_DIAGONAL,       SCROLL_DIAGONAL_FALLING},
    {BLEND_OFF,    false, false, GL_ZERO,      GL_ZERO, PATTERN_TILED,          NO_SCROLL},
    {BLEND_OFF,    false, false, GL_ZERO,      GL_ZERO, PATTERN_TILED_DIAGONAL, SCROLL_TILED_DIAGONAL_RISING},
    {BLEND_OFF,    false, false, GL_ZERO,      GL_ZERO, PATTERN_TILED_DIAGONAL, SCROLL_TILED_DIAGONAL_FALLING},
    {BLEND_AS_SET, false, false, GL_ZERO,      GL_ZERO, PATTERN_PLAIN,          NO_SCROLL},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_TILED_DIAGONAL, SCROLL_TILED_DIAGONAL_RISING},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_TILED_DIAGONAL, SCROLL_TILED_DIAGONAL_FALLING},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_HORIZONTAL,     SCROLL_HORIZONTAL_FALLING},
    {BLEND_AS_SET, true,  true,  GL_ONE,       GL_ONE,  PATTERN_HORIZONTAL,     SCROLL_HORIZONTAL_RISING},
};
// clang-format on

bool isRising(int scroll) {
    return scroll == SCROLL_TILED_DIAGONAL_RISING || scroll == SCROLL_HORIZONTAL_RISING ||
           scroll == SCROLL_DIAGONAL_RISING;
}

SpriteDrawState makeInitialDrawState() {
    SpriteDrawState state{};
    for (int i = 0; i < SCROLL_COUNT; ++i)
        state.scrollOffsets[i] = isRising(i) ? 0.0f : 1.0f;
    return state;
}

// Advances one shared offset by one draw. The wrap tests are strict, so an offset that lands exactly on the
// far end stays there for this draw and wraps on the next.
float advanceScroll(int scroll, float scrollSpeed) {
    float& offset = spriteDrawState().scrollOffsets[scroll];
    const float step = scrollSpeed * SCROLL_STEP;
    if (isRising(scroll)) {
        offset += step;
        if (offset > 1.0f) offset = 0.0f;
    } else {
        offset -= step;
        if (offset < 0.0f) offset = 1.0f;
    }
    return offset;
}

// Texture coordinates of the four corners, in vertex order: top-left, top-right, bottom-right, bottom-left.
struct QuadCoords {
    float s[4];
    float t[4];
};

QuadCoords coordsFor(Pattern pattern, float repeat, float offset) {
    switch (pattern) {
        case PATTERN_TILED:
            return {{0.0f, repeat, repeat, 0.0f}, {repeat, repeat, 0.0f, 0.0f}};
        case PATTERN_TILED_DIAGONAL:
            return {{offset, repeat + offset, repeat + offset, offset},
                    {repeat + offset, repeat + offset, offset, offset}};
        case PATTERN_HORIZONTAL:
            return {{offset, 1.0f + offset, 1.0f + offset, offset}, {1.0f, 1.0f, 0.0f, 0.0f}};
        case PATTERN_DIAGONAL:
            return {{offset, 1.0f + offset, 1.0f + offset, offset},
                    {1.0f + offset, 1.0f + offset, offset, offset}};
        case PATTERN_PLAIN:
            break;
    }
    return {{0.0f, 1.0f, 1.0f, 0.0f}, {1.0f, 1.0f, 0.0f, 0.0f}};
}

// Sprites are placed from the top-left in screen pixels; the 2D projection counts y from the bottom, flipped
// with the height the sprite was loaded for.
void emitQuad(const Sprite& sprite, const QuadCoords& coords) {
    const float left = sprite.x;
    const float right = sprite.x + static_cast<float>(sprite.width);
    const float top = static_cast<float>(sprite.screenHeight) - sprite.y;
    const float bottom =
        static_cast<float>(sprite.screenHeight) - (sprite.y + static_cast<float>(sprite.height));
    const float xs[4] = {left, right, right, left};
    const float ys[4] = {top, top, bottom, bottom};
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(coords.s[i], coords.t[i]);
        glVertex3f(xs[i], ys[i], 0.0f);
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
    emitQuad(sprite, coordsFor(PATTERN_PLAIN, 1.0f, 0.0f));
}

void beginDraw(bool blend) {
    glLoadIdentity();
    if (blend) {
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_BLEND);
    }
}

void applyBlendStep(BlendStep step) {
    if (step == BLEND_OFF) glDisable(GL_BLEND);
    if (step == BLEND_ON) glEnable(GL_BLEND);
}

}  // namespace

SpriteDrawState& spriteDrawState() {
    static SpriteDrawState state = makeInitialDrawState();
    return state;
}

void Sprite::draw(int mode, bool blend, bool masked) {
    beginDraw(blend);
    if (mode >= 0 && mode < SPRITE_MODE_COUNT) {
        const DrawMode& m = DRAW_MODES[mode];
        applyBlendStep(m.blendStep);
        if (m.maskPass && masked) drawMaskPass(*this);
        if (m.setsBlendFunc) glBlendFunc(m.sourceFactor, m.destinationFactor);
        glBindTexture(GL_TEXTURE_2D, texture);
        const float offset = m.scroll == NO_SCROLL ? 0.0f : advanceScroll(m.scroll, scrollSpeed);
        setTint(*this);
        emitQuad(*this, coordsFor(m.pattern, static_cast<float>(repeat), offset));
    }
    glDisable(GL_BLEND);
}

void Sprite::drawAnimated(int mode, bool blend, float frameDelay) {
    beginDraw(blend);
    SpriteDrawState& shared = spriteDrawState();
    if (!shared.animCountdownStarted) {
        shared.animCountdown = frameDelay;
        shared.animCountdownStarted = true;
    }
    shared.animCountdown -= 1.0f;
    if (shared.animCountdown < 0.0f) {
        // The frame array bounds the animation whatever frameCount the game set.
        const int lastFrame = (frameCount < SPRITE_MAX_FRAMES ? frameCount : SPRITE_MAX_FRAMES) - 1;
        if (frame < lastFrame) {
            ++frame;
        } else {
            frame = 0;
            animMarker = SPRITE_ANIM_WRAP_MARKER;
        }
        shared.animCountdown = frameDelay;
    }
    if (mode == 1 || mode == 2) {
        if (mode == 1) {
            glBlendFunc(GL_ONE, GL_ONE);
            // A frame the game moved outside the array shows as an untextured quad rather than reading past
            // it.
            const bool inRange = frame >= 0 && frame < SPRITE_MAX_FRAMES;
            glBindTexture(GL_TEXTURE_2D, inRange ? frameTextures[frame] : 0);
        } else {
            glDisable(GL_BLEND);
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        setTint(*this);
        emitQuad(*this, coordsFor(PATTERN_PLAIN, 1.0f, 0.0f));
    }
    glDisable(GL_BLEND);
}
