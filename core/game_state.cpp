#include "core/game_state.h"

#include "audio/music.h"
#include "graphics/display.h"

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
    g_display.measureFrame();
    g_display.present();
    return true;
}

bool runPlayFrame() {
    pollMusicEvents();
    g_display.clearScene();
    g_display.setOrtho2D(1);
    g_display.setOrtho2D(0);
    g_display.measureFrame();
    g_display.present();
    return true;
}

void drawEngineInfo() {}
