// System services on SDL2 and the C library.
#include <SDL.h>

#include <cstdint>

#include "platform/native.h"
#include "platform/system.h"

namespace plat {

bool native::queryPerformanceFrequency(std::int64_t* frequency) {
    *frequency = static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
    return *frequency != 0;
}

bool native::queryPerformanceCounter(std::int64_t* counter) {
    *counter = static_cast<std::int64_t>(SDL_GetPerformanceCounter());
    return true;
}

DWORD native::timeGetTime() {
    return static_cast<DWORD>(SDL_GetTicks64());
}

HINSTANCE getModuleHandle() {
    // There is no module handle here; any non-null token serves, since the engine only passes it on.
    static char module;
    return reinterpret_cast<HINSTANCE>(&module);
}

}  // namespace plat
