// The engine's start-up up to its first presented menu frame, with the start-up notice answered at once, and
// no shutdown after it: closing a sound device waits for its last periods to play (about 50 ms), which a
// machine without one skips, and that would hide what the start-up itself costs. Run it from a run folder.
#include <cstdlib>

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
    std::_Exit(0);
}
