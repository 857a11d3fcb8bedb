// System services on Windows: the performance counter, the multimedia timer, the module handle and message
// boxes, each the call it stands for.
#include <cstdint>

#include "platform/native.h"
#include "platform/system.h"

// timeGetTime, which needs <windows.h> first.
#include <mmsystem.h>

namespace plat {

bool native::queryPerformanceFrequency(std::int64_t* frequency) {
    LARGE_INTEGER value{};
    const bool counted = QueryPerformanceFrequency(&value) != FALSE;
    *frequency = counted ? value.QuadPart : 0;
    return counted && *frequency != 0;
}

bool native::queryPerformanceCounter(std::int64_t* counter) {
    LARGE_INTEGER value{};
    const bool counted = QueryPerformanceCounter(&value) != FALSE;
    *counter = counted ? value.QuadPart : 0;
    return counted;
}

DWORD native::timeGetTime() {
    return ::timeGetTime();
}

HINSTANCE getModuleHandle() {
    return GetModuleHandleA(nullptr);
}

int native::messageBox(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

}  // namespace plat
