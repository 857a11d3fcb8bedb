// Full screen on a display that has no mode of the engine's size: the window covers the desktop at the
// desktop's own mode, the engine draws into an off-screen framebuffer of its own size in the window's
// context, and presenting scales that picture into the middle of the screen, aspect kept, with black bars
// around it. The engine never sees the desktop's size: its viewport, its pixel reads and its size messages
// all concern the picture. Nothing outside platform/sdl2 includes this.
#pragma once

#include <SDL.h>

#include "platform/window.h"

namespace sdl2 {

// Whether a width x height picture can be drawn off screen here: a hidden probe window gets a context with
// the window's pixel format, which must offer framebuffer objects, complete one of the picture's size and
// link the program that scales it. The GL attributes of the window to come must already be set.
bool canScalePicture(int width, int height);

// Makes the off-screen picture in the current context and draws into it from now on. False, with nothing
// made, when the context cannot have it.
bool createScaledScreen(int width, int height);
// The context that held the picture is going away, and the picture with it.
void forgetScaledScreen();
bool scaledScreenActive();
int scaledPictureWidth();
int scaledPictureHeight();

// Scales the picture into the window's back buffer, clears the bars, swaps, and goes back to drawing into the
// picture. Nothing is allocated.
void presentScaledScreen(SDL_Window* window);

// A point of the window's drawable in the picture's pixels.
plat::Point toPicturePoint(SDL_Window* window, plat::Point point);

}  // namespace sdl2
