// The matched bare window: what any SDL + OpenGL program pays to show its first frame the way the engine
// shows its own. The engine's GL attributes, its full-screen mode (640 x 480 at 16 bits, else a window of
// that size), one cleared and presented frame; then "presented" on stdout and exit.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// The attributes the SDL backend asks for (platform/sdl2/sdl_window.cpp).
void requestEnginePixelFormat() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
}

// The engine's full-screen mode, found the way the backend finds it.
bool findFullscreenMode(SDL_DisplayMode* found) {
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
        const int bits = static_cast<int>(SDL_BITSPERPIXEL(mode.format));
        if (mode.w == WIDTH && mode.h == HEIGHT && (bits == 15 || bits == 16)) {
            *found = mode;
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    requestEnginePixelFormat();
    SDL_DisplayMode mode{};
    const bool fullscreen = findFullscreenMode(&mode);
    const Uint32 flags =
        SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | (fullscreen ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN) : 0u);
    SDL_Window* window = SDL_CreateWindow("bare", 0, 0, WIDTH, HEIGHT, flags);
    if (!window) return 1;
    if (fullscreen) SDL_SetWindowDisplayMode(window, &mode);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return 1;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFlush();
    SDL_GL_SwapWindow(window);
    std::puts("presented");
    std::fflush(stdout);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
