// The engine's drawable object: an image drawn as a screen-aligned textured quad in one of fourteen modes. It
// is also the node of the game's entity lists, through its last two fields.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "graphics/texture_loader.h"

constexpr int SPRITE_MAX_FRAMES = 25;
// The animMarker drawAnimated sets when an animation wraps to its first frame: the game's sign that an effect
// has shown all its frames once.
constexpr int SPRITE_ANIM_WRAP_MARKER = 100;

// The drawing modes. Each row of the mode table in sprite_modes.cpp is one of these.
constexpr int SPRITE_MODE_COUNT = 14;

// The scrolling patterns, each with one offset shared by every sprite drawn with it.
enum SpriteScroll {
    SCROLL_TILED_DIAGONAL_RISING,   // modes 7 and 10
    SCROLL_TILED_DIAGONAL_FALLING,  // modes 8 and 11
    SCROLL_HORIZONTAL_FALLING,      // mode 12
    SCROLL_HORIZONTAL_RISING,       // mode 13
    SCROLL_DIAGONAL_RISING,         // mode 4
    SCROLL_DIAGONAL_FALLING,        // mode 5
    SCROLL_COUNT
};

// What the drawing code keeps between draws, one for the whole program: the scroll offsets and the animation
// countdown. Never reset while the program runs; tests reach it to set up and check the shared values.
struct SpriteDrawState {
    float scrollOffsets[SCROLL_COUNT];
    float animCountdown;
    bool animCountdownStarted;
};
SpriteDrawState& spriteDrawState();

class SpriteTemplate;

class Sprite {
public:
    Sprite() = default;
    virtual ~Sprite() = default;

    // Loads the image, the mask when hasMask and the extra image when hasExtra; failed loads leave their ids
    // as they were. Resets tint, speeds, y and the game's integers; keeps x, frame and frameCount. Always
    // true.
    bool load(TextureLoader loader, int screenHeight, const char* name, bool hasMask, const char* maskName,
              int width, int height, bool hasExtra, const char* extraName);
    // Makes this sprite an instance of the template; keeps x and does not copy the frame textures. Always
    // true.
    bool initFromTemplate(const SpriteTemplate& spriteTemplate);

    // Draws once in `mode` (0 to 13; any other draws nothing). Leaves GL_BLEND disabled.
    void draw(int mode, bool blend, bool masked);
    // Steps the animation countdown shared by every sprite and draws the current frame (modes 1 and 2).
    // frameDelay counts draw calls of all animated sprites together, not time.
    void drawAnimated(int mode, bool blend, float frameDelay);

    void setPosition(float newX, float newY) {
        x = newX;
        y = newY;
    }
    void setX(float newX) { x = newX; }
    void setY(float newY) { y = newY; }
    float getX() const { return x; }
    float getY() const { return y; }
    void setSize(float w, float h) {
        width = static_cast<std::int32_t>(w);
        height = static_cast<std::int32_t>(h);
    }
    float getWidth() const { return static_cast<float>(width); }
    float getHeight() const { return static_cast<float>(height); }
    void setColor(float r, float g, float b) {
        red = r;
        green = g;
        blue = b;
    }
    void setVelocity(float newVx, float newVy) {
        vx = newVx;
        vy = newVy;
    }
    void setVelocityX(float newVx) { vx = newVx; }
    void setVelocityY(float newVy) { vy = newVy; }
    float getVelocityX() const { return vx; }
    float getVelocityY() const { return vy; }
    void setTag(int newTag) { tag = newTag; }
    void setAnimMarker(int marker) { animMarker = marker; }
    void setState(int newState) { state = newState; }
    int getState() const { return state; }
    void setKind(int newKind) { kind = newKind; }
    int getKind() const { return kind; }

    // Fields that no operation sets before the game does are zeroed here, so a fresh sprite is inert.
    GLuint texture = 0;
    GLuint extraTexture = 0;
    GLuint frameTextures[SPRITE_MAX_FRAMES] = {};
    GLuint maskTexture = 0;
    float x = 0.0f;
    float y = 0.0f;
    std::int32_t frame = 0;
    std::int32_t frameCount = 0;
    float scrollSpeed = 1.0f;
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
    std::int32_t width = 0;
    std::int32_t height = 0;
    float vx = 1.0f;
    float vy = 1.0f;
    float speedX = 0.0f;
    float speedY = 0.0f;
    std::int32_t tag = 0;
    std::int32_t animMarker = 0;
    std::int32_t state = 0;
    std::int32_t kind = 0;
    std::int32_t screenHeight = 0;
    std::int32_t repeat = 1;
    Sprite* next = nullptr;
    Sprite* prev = nullptr;
};

// The companion from which heap sprites (the bricks) are made.
class SpriteTemplate {
public:
    SpriteTemplate() = default;
    virtual ~SpriteTemplate() = default;

    // The image and, when hasMask, its mask; then the screen height and size. Always true.
    bool load(TextureLoader loader, int screenHeight, const char* name, bool hasMask, const char* maskName,
              int width, int height);
    // Frames baseName0 .. baseName<count-1>; at most 25 are loaded, a null baseName loads none. Always true.
    bool loadFrames(TextureLoader loader, int screenHeight, const char* baseName, int width, int height,
                    int count, float frameDelay);

    GLuint texture = 0;
    GLuint maskTexture = 0;
    GLuint frameTextures[SPRITE_MAX_FRAMES] = {};
    float screenHeight = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    std::int32_t frameCount = 0;
    std::int32_t startFrame = 0;
    float frameDelay = 0.0f;
};
