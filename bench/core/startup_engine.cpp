// The engine's whole start-up (log, clock, window and context, input, assets, audio) and its first menu
// frame, with the start-up notice answered at once; then "presented" on stdout, the shutdown and exit. Run it
// from a run folder so the assets load.
#include <cstdio>

#include "core/entry.h"
#include "core/game_state.h"
#include "graphics/display.h"
#include "platform/native.h"

namespace plat {

// Answers every box at once: the notice with OK, the full-screen question with Yes.
int native::messageBox(HWND, const char*, const char*, UINT style) {
    return (style & MB_TYPEMASK) == MB_YESNO ? IDYES : IDOK;
}

}  // namespace plat

int main() {
    if (!initGame()) return 1;
    g_display.pumpMessages();
    runGameState();
    std::puts("presented");
    std::fflush(stdout);
    shutdownGame();
    return 0;
}
