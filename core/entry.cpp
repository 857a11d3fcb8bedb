#include "core/entry.h"

#include "audio/music.h"
#include "core/debug_log.h"
#include "core/game_state.h"
#include "graphics/asset_catalogue.h"
#include "graphics/bitmap_font.h"
#include "graphics/display.h"
#include "graphics/gl_extensions.h"
#include "input/input_system.h"

namespace {

constexpr int SCREEN_WIDTH = 640;
constexpr int SCREEN_HEIGHT = 480;
constexpr int SCREEN_COLOR_BITS = 16;
constexpr const char* WINDOW_TITLE = "PEL2D - TEST";
// The far corner of the cursor's rectangle: the cursor stays within 0..630 x 0..470.
constexpr int CURSOR_RIGHT = 631;
constexpr int CURSOR_BOTTOM = 471;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, char*, int) {
    if (!initGame()) return 0;
    while (g_display.pumpMessages()) {
        if (!g_display.active) continue;
        g_input.poll();
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
    g_input.init(g_hInstance, g_hWnd);
    g_input.setCursorBounds(0, 0, CURSOR_RIGHT, CURSOR_BOTTOM);
    logExtensionList();
    loadAssets();
    initAudio();
    GameState = STATE_MENU;
    return true;
}

bool shutdownGame() {
    shutdownAudio();
    // The font's lists die with the context, so they go before the window.
    g_font.deleteLists();
    g_display.destroyWindow();
    return false;
}
