// The baseline of the Windows program's start-up and frame times: a bare Win32 window with a WGL context of
// the game's kind (640 x 480, 16-bit colour and depth, double-buffered), cleared and swapped FRAMES times.
//   clear_swap_bench.exe [FRAMES]      (default 1000; 1 is the bare window: start-up to its first frame)
// Prints the milliseconds from the process's creation to the first swap, and the frames per second of the
// rest. bench/win32/run-bench.sh runs it beside brikatan.exe --timedemo.
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

double secondsSince(LONGLONG start, LONGLONG frequency) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - start) / static_cast<double>(frequency);
}

// Milliseconds from the creation of this process to now, on the system clock both are kept in.
double millisecondsSinceProcessStart() {
    FILETIME created, exited, kernel, user, now;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

HDC openWindow(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "clear_swap_bench";
    RegisterClassA(&windowClass);
    HWND window =
        CreateWindowExA(WS_EX_APPWINDOW, "clear_swap_bench", "clear_swap_bench", WS_POPUP | WS_VISIBLE, 0, 0,
                        WIDTH, HEIGHT, nullptr, nullptr, instance, nullptr);
    HDC dc = window ? GetDC(window) : nullptr;
    PIXELFORMATDESCRIPTOR descriptor{};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 16;
    descriptor.cDepthBits = 16;
    const int format = dc ? ChoosePixelFormat(dc, &descriptor) : 0;
    if (!format || !SetPixelFormat(dc, format, &descriptor)) return nullptr;
    HGLRC context = wglCreateContext(dc);
    if (!context || !wglMakeCurrent(dc, context)) return nullptr;
    return dc;
}

void drainMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000;
    HDC dc = openWindow(GetModuleHandleA(nullptr));
    if (!dc || frames < 1) {
        std::fprintf(stderr, "clear_swap_bench: no GL window, or no frames to draw\n");
        return 1;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers(dc);
    drainMessages();
    std::printf("first frame %.1f ms after the process started\n", millisecondsSinceProcessStart());

    LARGE_INTEGER frequency, start;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (long frame = 1; frame < frames; ++frame) {
        glClearColor(static_cast<float>(frame % 2), 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SwapBuffers(dc);
        drainMessages();
    }
    if (frames > 1) {
        const double seconds = secondsSince(start.QuadPart, frequency.QuadPart);
        std::printf("clear+swap: %ld frames, %.3f seconds, %.1f frames per second\n", frames - 1, seconds,
                    static_cast<double>(frames - 1) / seconds);
    }
    return 0;
}
