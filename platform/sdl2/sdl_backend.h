// What the SDL2 backend's parts share among themselves. Nothing outside platform/sdl2 includes this.
#pragma once

#include <SDL.h>

namespace sdl2 {

// The SDL window behind the engine's main window, or null while there is none.
SDL_Window* mainWindow();

// Every SDL event the window part takes from SDL's queue is shown to the input part first, which keeps what
// it needs (wheel turns, joystick arrivals) for its next device read.
void inputHandleEvent(const SDL_Event& event);

}  // namespace sdl2
