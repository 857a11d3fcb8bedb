// Preloaded into the game (LD_PRELOAD) when the README's pictures are taken: frames paced as a 60 Hz display
// with vsync paces them on an ordinary desktop, whatever the speed of the machine taking the pictures. SDL's
// high-resolution counter, which the game's frame clock reads, becomes a clock that moves on exactly one
// refresh at each buffer swap, so every frame lasts 1/60 s: the frame rate shown is 60, and everything that
// moves by the frame time moves as it does at 60 frames a second. SDL's own calls to the counter, and the
// millisecond clock, keep real time.
#include <SDL.h>
#include <dlfcn.h>

#include <atomic>

namespace {

constexpr Uint64 TICKS_PER_SECOND = 6000000;  // a whole number of ticks per refresh
constexpr Uint64 REFRESHES_PER_SECOND = 60;

std::atomic<Uint64> g_ticks{TICKS_PER_SECOND};

using SwapWindow = void (*)(SDL_Window*);

}  // namespace

extern "C" {

Uint64 SDL_GetPerformanceFrequency() {
    return TICKS_PER_SECOND;
}

Uint64 SDL_GetPerformanceCounter() {
    return g_ticks.load();
}

void SDL_GL_SwapWindow(SDL_Window* window) {
    static const auto swap = reinterpret_cast<SwapWindow>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    if (swap) swap(window);
    g_ticks += TICKS_PER_SECOND / REFRESHES_PER_SECOND;
}

}  // extern "C"
