// Pixel helpers of the graphics GL tests: textures made directly with glTexImage2D, frame-buffer read-back,
// and frames drawn in the 2D mode, all in the shared window of support/gl_window.h.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <vector>

#include "graphics/display.h"
#include "support/gl_window.h"

namespace gltest {

constexpr int WINDOW_HEIGHT = 480;

using Rgb = std::array<int, 3>;

// A texture of w x h texels (R, G, B rows, bottom row first), filtered nearest.
inline GLuint makeTexture(int w, int h, const std::vector<std::uint8_t>& rgb) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return id;
}

// The colour of the window pixel at (x, y), y counted down from the top edge like sprite positions.
inline Rgb pixelAt(int x, int y) {
    std::uint8_t p[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, WINDOW_HEIGHT - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// Clears to a colour and enters the 2D mode the sprites draw in.
inline void beginFrame(Rgb clear) {
    glClearColor(static_cast<float>(clear[0]) / 255.0f, static_cast<float>(clear[1]) / 255.0f,
                 static_cast<float>(clear[2]) / 255.0f, 0.0f);
    g_display.clearScene();
    g_display.setOrtho2D(1);
}

inline void endFrame() {
    g_display.setOrtho2D(0);
}

}  // namespace gltest
