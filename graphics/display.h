// The program's one window and its OpenGL context: creation with the start-up notice and the full-screen
// fallback, the projections, clearing and presenting frames, the message queue and the window procedure. The
// frame clock lives in the same object (core/frame_clock.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

// Screen modes of createWindow.
constexpr int SCREEN_FULLSCREEN = 0;  // full screen at once, no notice box
constexpr int SCREEN_WINDOWED = 1;
constexpr int SCREEN_NOTICE = 2;  // the start-up notice box, then full screen

constexpr const char* DISPLAY_CLASS_NAME = "Window";

class Display {
public:
    Display() = default;
    // Releases nothing: the window is torn down explicitly by destroyWindow.
    virtual ~Display() = default;

    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // True when the window, pixel format and rendering context exist and the context is current.
    bool createWindow(int width, int height, int colorBits, int screenMode, const char* title);
    // Restores the display mode, writes the log's closing lines, releases context, window and class.
    void destroyWindow();
    // Viewport and perspective projection. The aspect is the whole-number quotient width / height.
    void resizeScene(int width, int height, double fieldOfView);
    // 1 enters the pixel-exact 2D mode, 0 leaves it, any other value does nothing.
    void setOrtho2D(int on);
    void clearScene();
    void present();
    // Drains the message queue; false once the quit message has been dispatched.
    bool pumpMessages();

    // Frame clock.
    bool startFrameClock();
    void measureFrame();

    std::int64_t counterStart = 0;
    std::int64_t counterFrequency = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t colorBits = 0;
    bool active = false;
    double fieldOfView = 0.0;
    float frameTime = 0.0f;
    float framesPerSecond = 0.0f;
    bool fullscreen = false;
    std::string title;

private:
    bool chooseScreenMode(int screenMode);
    bool createWindowAndContext();
    void writeStartupBanner();

    // The counter readings of the previous measureFrame, one per measurement; both start at counterStart.
    std::int64_t lastRateCounter = 0;
    std::int64_t lastTimeCounter = 0;
    bool clockRunning = false;
};

extern Display g_display;

// Platform handles of the display, null until set.
extern HINSTANCE g_hInstance;
extern HWND g_hWnd;
extern HDC g_hDC;
extern HGLRC g_hRC;

// The window procedure of the class "Window".
LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
