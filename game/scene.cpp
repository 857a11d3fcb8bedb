#include "game/scene.h"

#include "graphics/asset_catalogue.h"

const PlayScene& playScene() {
    static const PlayScene scene{g_spritePlayBackground, g_spriteWall,  g_spriteBall,     g_spritePaddle,
                                 g_spritePlayGlow,       g_spritePlate, g_spriteMenuGlow, g_brickTemplate};
    return scene;
}

const MenuScene& menuScene() {
    static const MenuScene scene{g_spriteMenuBackground, g_spriteLogo,  g_spriteLava,
                                 g_spriteMenuGlow,       g_spritePlate, g_spriteCursor};
    return scene;
}
