#include "graphics/sprite.h"

#include <cstdio>

bool Sprite::load(TextureLoader loader, int newScreenHeight, const char* name, bool hasMask,
                  const char* maskName, int newWidth, int newHeight, bool hasExtra, const char* extraName) {
    loader.loadTexture(&texture, name);
    if (hasMask) loader.loadTexture(&maskTexture, maskName);
    if (hasExtra) loader.loadTexture(&extraTexture, extraName);
    width = newWidth;
    height = newHeight;
    screenHeight = newScreenHeight;
    red = green = blue = alpha = 1.0f;
    scrollSpeed = vx = vy = speedX = speedY = 1.0f;
    y = 0.0f;
    tag = animMarker = state = kind = 0;
    repeat = 1;
    return true;
}

bool Sprite::initFromTemplate(const SpriteTemplate& spriteTemplate) {
    texture = spriteTemplate.texture;
    maskTexture = spriteTemplate.maskTexture;
    width = static_cast<std::int32_t>(spriteTemplate.width);
    height = static_cast<std::int32_t>(spriteTemplate.height);
    frame = spriteTemplate.startFrame;
    frameCount = spriteTemplate.frameCount;
    animMarker = static_cast<std::int32_t>(spriteTemplate.frameDelay);
    screenHeight = static_cast<std::int32_t>(spriteTemplate.screenHeight);
    red = green = blue = alpha = 1.0f;
    scrollSpeed = vx = vy = speedX = speedY = 1.0f;
    y = 0.0f;
    tag = state = kind = 0;
    repeat = 1;
    return true;
}

bool SpriteTemplate::load(TextureLoader loader, int newScreenHeight, const char* name, bool hasMask,
                          const char* maskName, int newWidth, int newHeight) {
    loader.loadTexture(&texture, name);
    if (hasMask) loader.loadTexture(&maskTexture, maskName);
    screenHeight = static_cast<float>(newScreenHeight);
    width = static_cast<float>(newWidth);
    height = static_cast<float>(newHeight);
    return true;
}

bool SpriteTemplate::loadFrames(TextureLoader loader, int newScreenHeight, const char* baseName, int newWidth,
                                int newHeight, int count, float newFrameDelay) {
    if (count > SPRITE_MAX_FRAMES) count = SPRITE_MAX_FRAMES;  // the frame array holds 25
    if (count < 0 || !baseName) count = 0;
    for (int i = 0; i < count; ++i) {
        char name[256];
        std::snprintf(name, sizeof name, "%s%d", baseName, i);
        loader.loadTexture(&frameTextures[i], name);
    }
    frameDelay = newFrameDelay;
    frameCount = count;
    screenHeight = static_cast<float>(newScreenHeight);
    startFrame = 1;
    width = static_cast<float>(newWidth);
    height = static_cast<float>(newHeight);
    return true;
}
