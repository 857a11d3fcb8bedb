#include "graphics/asset_catalogue.h"

#include <new>

#include "graphics/display.h"

namespace {

enum AssetStepKind {
    ASSET_FONT,
    ASSET_SPRITE,
    ASSET_BALL_VELOCITY,
    ASSET_BRICK_TEMPLATE,
    ASSET_EXPLOSION_FRAMES,
};

struct AssetStep {
    AssetStepKind kind;
    Sprite* sprite;
    const char* name;
    bool hasMask;
    const char* maskName;
    int width;
    int height;
    bool hasExtra;
    const char* extraName;
};

constexpr float BALL_START_VELOCITY = 5.0f;
constexpr float EXPLOSION_FRAME_DELAY = 20.0f;

// Every sprite asks for an extra image; all but the ball name none, which makes that load fail at once. The
// ball names a mask with its flag off, so the mask is never loaded.
// clang-format off
const AssetStep ASSET_STEPS[] = {
    {ASSET_FONT,             nullptr,                 "data/spr/font",    false, nullptr,           0,   0,   false, nullptr},
    {ASSET_SPRITE,           &g_spriteCursor,         "data/spr/mouse",   true,  "data/spr/mouse_m", 32,  32,  true,  nullptr},
    {ASSET_SPRITE,           &g_spriteLogo,           "data/spr/pel3d",   false, nullptr,           256, 160, true,  nullptr},
    {ASSET_SPRITE,           &g_spriteLava,           "data/spr/lava",    false, nullptr,           256, 160, true,  nullptr},
    {ASSET_SPRITE,           &g_spriteMenuGlow,       "data/spr/lava2",   false, nullptr,           256, 160, true,  nullptr},
    {ASSET_SPRITE,           &g_spriteMenuBackground, "data/spr/arka",    false, nullptr,           640, 480, true,  nullptr},
    {ASSET_SPRITE,           &g_spritePlate,          "data/spr/sopa",    false, nullptr,           128, 32,  true,  nullptr},
    {ASSET_SPRITE,           &g_spriteBall,           "data/spr/top",     false, "data/spr/topm",   16,  16,  true,  "data/spr/sopa"},
    {ASSET_BALL_VELOCITY,    &g_spriteBall,           nullptr,            false, nullptr,           0,   0,   false, nullptr},
    {ASSET_SPRITE,           &g_spritePlayBackground, "data/spr/arka2",   false, nullptr,           640, 480, true,  nullptr},
    {ASSET_SPRITE,           &g_spritePaddle,         "data/spr/sopa",    false, nullptr,           128, 32,  true,  nullptr},
    {ASSET_SPRITE,           &g_spritePlayGlow,       "data/spr/lava2",   false, nullptr,           256, 160, true,  nullptr},
    {ASSET_BRICK_TEMPLATE,   nullptr,                 "data/spr/duvar",   true,  "data/spr/duvarm", 30,  15,  false, nullptr},
    {ASSET_SPRITE,           &g_spriteWall,           "data/spr/menus",   false, nullptr,           640, 30,  true,  nullptr},
    {ASSET_EXPLOSION_FRAMES, nullptr,                 "data/spr/efek/exp", false, nullptr,          55,  55,  false, nullptr},
};
// clang-format on

// The templates live as long as the program; a repeated load reuses them.
SpriteTemplate* ensureTemplate(SpriteTemplate*& slot) {
    if (!slot) slot = new (std::nothrow) SpriteTemplate();
    return slot;
}

void runStep(const AssetStep& step, int screenHeight) {
    switch (step.kind) {
        case ASSET_FONT:
            g_font.load(g_textureLoader, screenHeight, step.name);
            break;
        case ASSET_SPRITE:
            step.sprite->load(g_textureLoader, screenHeight, step.name, step.hasMask, step.maskName,
                              step.width, step.height, step.hasExtra, step.extraName);
            break;
        case ASSET_BALL_VELOCITY:
            step.sprite->setVelocity(BALL_START_VELOCITY, BALL_START_VELOCITY);
            break;
        case ASSET_BRICK_TEMPLATE:
            if (SpriteTemplate* brick = ensureTemplate(g_brickTemplate)) {
                brick->load(g_textureLoader, screenHeight, step.name, step.hasMask, step.maskName, step.width,
                            step.height);
            }
            break;
        case ASSET_EXPLOSION_FRAMES:
            if (SpriteTemplate* explosion = ensureTemplate(g_explosionTemplate)) {
                explosion->loadFrames(g_textureLoader, screenHeight, step.name, step.width, step.height,
                                      EXPLOSION_FRAME_COUNT, EXPLOSION_FRAME_DELAY);
            }
            break;
    }
}

}  // namespace

void loadAssets() {
    const int screenHeight = g_display.height;
    // "data/spr/sopa" and "data/spr/lava2" are loaded more than once: expanded and read once, uploaded each
    // time.
    const TexturePictureReuse reuse;
    for (const AssetStep& step : ASSET_STEPS)
        runStep(step, screenHeight);
}
