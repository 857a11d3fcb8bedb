#include "core/game_state.h"

#include "audio/music.h"
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
        default:
            break;
    }
    return true;
}

bool runMenuFrame() {
    pollMusicEvents();
    g_display.clearScene();
    g_display.setOrtho2D(1);
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
    g_display.setOrtho2D(1);
    g_display.setOrtho2D(0);
    if (g_input.keyState(KEY_F1) == KEYSTATE_PRESSED) g_textureLoader.saveScreenshot();
    g_display.measureFrame();
    g_display.present();
    return true;
}

void drawEngineInfo() {}
