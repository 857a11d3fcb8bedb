// GL tests share one engine window per test process: a 640 x 480 window with the engine's context current,
// created through g_display on the real backend the first time a test asks for it and kept until the process
// ends. Tests must leave the GL state as the frame routines expect it (outside the 2D mode).
#pragma once

#include <gtest/gtest.h>

#include "graphics/display.h"

inline bool ensureGlWindow() {
    static const bool created = [] {
        if (!g_display.createWindow(640, 480, 16, SCREEN_WINDOWED, "PEL2D - GL TEST")) return false;
        g_display.pumpMessages();
        return true;
    }();
    return created;
}

#define REQUIRE_GL_WINDOW() ASSERT_TRUE(ensureGlWindow()) << "no OpenGL window on this display"
