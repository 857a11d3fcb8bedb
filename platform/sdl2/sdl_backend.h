// What the SDL2 backend's parts share among themselves. Nothing outside platform/sdl2 includes this.
#pragma once

#include <SDL.h>

namespace sdl2 {

// The SDL window behind the engine's main window, or null while there is none.
SDL_Window* mainWindow();

// Every SDL event the window part takes from SDL's queue is shown to the input part first, which keeps what
// it needs (wheel turns, joystick arrivals) for its next device read.
void inputHandleEvent(const SDL_Event& event);

// Returns once the display server has handled every request so far, so that the events it sent in answer are
// waiting in SDL's queue.
void syncWithDisplayServer(SDL_Window* window);

// SDL leaves full screen to the window manager. On an X server without one (a bare session, a virtual screen)
// nobody else would, so the full-screen window is given the display's whole area here.
void coverDisplayWithoutWindowManager(SDL_Window* window);

}  // namespace sdl2
