#include "graphics/sprite_modes.h"

namespace {

// Scroll step per draw for a scrollSpeed of 1, in texture widths.
constexpr float SCROLL_STEP = 0.001f;

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

// drawAnimated's mode 1 adds the frame without a mask; its mode 2 draws the image opaquely.
constexpr DrawMode ANIMATED_MODES[2] = {
    {BLEND_AS_SET, false, true,  GL_ONE,       GL_ONE,  PATTERN_PLAIN,          NO_SCROLL},
    {BLEND_OFF,    false, false, GL_ZERO,      GL_ZERO, PATTERN_PLAIN,          NO_SCROLL},
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

}  // namespace

SpriteDrawState& spriteDrawState() {
    static SpriteDrawState state = makeInitialDrawState();
    return state;
}

const DrawMode* drawModeFor(int mode) {
    return mode >= 0 && mode < SPRITE_MODE_COUNT ? &DRAW_MODES[mode] : nullptr;
}

const DrawMode* animatedModeFor(int mode) {
    return mode == 1 || mode == 2 ? &ANIMATED_MODES[mode - 1] : nullptr;
}

QuadCoords mainPassCoords(const DrawMode& mode, const Sprite& sprite) {
    const float offset = mode.scroll == NO_SCROLL ? 0.0f : advanceScroll(mode.scroll, sprite.scrollSpeed);
    return coordsFor(mode.pattern, static_cast<float>(sprite.repeat), offset);
}

QuadCoords plainCoords() {
    return coordsFor(PATTERN_PLAIN, 1.0f, 0.0f);
}

QuadCorners quadCorners(const Sprite& sprite) {
    const float left = sprite.x;
    const float right = sprite.x + static_cast<float>(sprite.width);
    const float top = static_cast<float>(sprite.screenHeight) - sprite.y;
    const float bottom =
        static_cast<float>(sprite.screenHeight) - (sprite.y + static_cast<float>(sprite.height));
    return {{left, right, right, left}, {top, top, bottom, bottom}};
}

void beginSpriteDraw(bool blend) {
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

void stepAnimation(Sprite& sprite, float frameDelay) {
    SpriteDrawState& shared = spriteDrawState();
    if (!shared.animCountdownStarted) {
        shared.animCountdown = frameDelay;
        shared.animCountdownStarted = true;
    }
    shared.animCountdown -= 1.0f;
    if (shared.animCountdown < 0.0f) {
        // The frame array bounds the animation whatever frameCount the game set.
        const int lastFrame =
            (sprite.frameCount < SPRITE_MAX_FRAMES ? sprite.frameCount : SPRITE_MAX_FRAMES) - 1;
        if (sprite.frame < lastFrame) {
            ++sprite.frame;
        } else {
            sprite.frame = 0;
            sprite.animMarker = SPRITE_ANIM_WRAP_MARKER;
        }
        shared.animCountdown = frameDelay;
    }
}

GLuint animatedTexture(const Sprite& sprite, int mode) {
    if (mode == 2) return sprite.texture;
    // A frame the game moved outside the array shows as an untextured quad rather than reading past it.
    const bool inRange = sprite.frame >= 0 && sprite.frame < SPRITE_MAX_FRAMES;
    return inRange ? sprite.frameTextures[sprite.frame] : 0;
}
