#include "core/game_state.h"

#include <cstdio>

#include "audio/music.h"
#include "core/credits.h"
#include "game/entity_list.h"
#include "game/hud.h"
#include "game/menu.h"
#include "game/new_game.h"
#include "game/play.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/texture_loader.h"
#include "input/input_system.h"

namespace {

constexpr int ENGINE_INFO_FONT_SET = 1;
constexpr int ENGINE_INFO_TEXT_SIZE = 200;
constexpr const char* ENGINE_INFO_FPS_FORMAT = "FPS : %.0f";
constexpr const char* ENGINE_INFO_NAME = "PEL2D/3D Engine";
constexpr const char* ENGINE_INFO_CREDIT = "Olusturan " PEL_AUTHOR_NAME;

}  // namespace

bool runGameState() {
    switch (GameState) {
        case STATE_PLAY:
            runPlayFrame();
            break;
        case STATE_MENU:
            runMenuFrame();
            break;
        case STATE_NEW_GAME:
            newGame();
            break;
        case STATE_TEARDOWN:
            teardownGame();
            break;
        default:
            break;
    }
    return true;
}

bool runMenuFrame() {
    pollMusicEvents();
    g_display.clearScene();
    menuInput();
    g_display.setOrtho2D(1);
    drawMenu();
    g_display.setOrtho2D(0);
    drawEngineInfo();
    if (g_input.keyState(KEY_F1) == KEYSTATE_PRESSED) g_textureLoader.saveScreenshot();
    g_display.measureFrame();
    g_display.present();
    return true;
}

bool runPlayFrame() {
    pollMusicEvents();
    g_display.clearScene();
    playInput();
    g_display.setOrtho2D(1);
    updatePlay();
    g_display.setOrtho2D(0);
    drawPlayHud();
    if (g_input.keyState(KEY_F1) == KEYSTATE_PRESSED) g_textureLoader.saveScreenshot();
    g_display.measureFrame();
    g_display.present();
    return true;
}

void drawEngineInfo() {
    char text[ENGINE_INFO_TEXT_SIZE];
    std::snprintf(text, sizeof text, ENGINE_INFO_FPS_FORMAT, static_cast<double>(g_display.framesPerSecond));
    g_font.print(10, 20, text, ENGINE_INFO_FONT_SET);
    std::snprintf(text, sizeof text, "%s", ENGINE_INFO_NAME);
    g_font.print(10, 40, text, ENGINE_INFO_FONT_SET);
    std::snprintf(text, sizeof text, "%s", ENGINE_INFO_CREDIT);
    g_font.print(350, 440, text, ENGINE_INFO_FONT_SET);
}
