#include "core/entry.h"

#include "core/debug_log.h"
#include "core/game_state.h"
#include "graphics/display.h"
#include "graphics/gl_extensions.h"

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SCREEN_COLOR_BITS = 16;
constexpr const char* WINDOW_TITLE = "PEL2D - TEST";

}  // namespace

int WinMain(HINSTANCE, HINSTANCE, char*, int) {
    if (!initGame()) return 0;
    while (g_display.pumpMessages()) {
        if (!g_display.active) continue;
        if (!runGameState()) break;
    }
    shutdownGame();
    return 0;
}

bool initGame() {
    g_debugLog.writeLogHeader();
    g_display.startFrameClock();
    if (!g_display.createWindow(SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_COLOR_BITS, SCREEN_NOTICE,
                                WINDOW_TITLE)) {
        return false;
    }
    logExtensionList();
    GameState = STATE_MENU;
    return true;
}

bool shutdownGame() {
    g_display.destroyWindow();
    return false;
}
