#include "game/scene.h"

// Stand-ins until the asset catalogue provides the screens' sprites.
namespace {
Sprite playBackground, wall, ball, paddle, playGlow, plate, menuGlow, menuBackground, logo, lava, cursor;
SpriteTemplate* noBrickTemplate = nullptr;
}  // namespace

const PlayScene& playScene() {
    static const PlayScene scene{playBackground, wall,  ball,     paddle,
                                 playGlow,       plate, menuGlow, noBrickTemplate};
    return scene;
}

const MenuScene& menuScene() {
    static const MenuScene scene{menuBackground, logo, lava, menuGlow, plate, cursor};
    return scene;
}
