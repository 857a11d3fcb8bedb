#include "core/game_state.h"

#include "audio/music.h"
#include "game/entity_list.h"
#include "game/hud.h"
#include "game/menu.h"
#include "game/new_game.h"
#include "game/play.h"
#include "graphics/display.h"
#include "graphics/texture_loader.h"
#include "input/input_system.h"

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

void drawEngineInfo() {}
