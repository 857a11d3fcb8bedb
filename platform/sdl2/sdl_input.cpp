// The input devices on SDL2. Until they are built, the window part's events are not needed here.
#include "platform/sdl2/sdl_backend.h"

namespace sdl2 {

void inputHandleEvent(const SDL_Event&) {}

}  // namespace sdl2
