// The off-screen picture of a scaled full-screen window (see sdl_scaled_screen.h).
//
// The picture's framebuffer copies the window's own pixel format (colour bits, alpha or none, depth bits), so
// that every drawing mode, destination alpha included, gives the same pixels as in a window and a screenshot
// read from it is the one a windowed run reads. Mesa keeps a window's pixels top row first and draws into
// them upside down; where it can draw the picture the same way (GL_MESA_framebuffer_flip_y) it does, since
// texture coordinates that fall exactly between two texels would otherwise round to the other one.
// Framebuffer objects are core in OpenGL 3.0 and come with GL_ARB_framebuffer_object before it; their entry
// points are looked up in each context that uses them.
#include "platform/sdl2/sdl_scaled_screen.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>

namespace {

struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
    PFNGLBLITFRAMEBUFFERPROC blitFramebuffer;
    // Null where the picture cannot be drawn upside down.
    PFNGLFRAMEBUFFERPARAMETERIPROC framebufferParameteri;
};

struct Picture {
    GLuint framebuffer = 0;
    GLuint renderbuffers[2] = {};  // colour, depth
    int width = 0;
    int height = 0;
};

FramebufferCalls g_gl{};
Picture g_picture;

template <typename Function>
bool lookUp(Function* function, const char* name) {
    *function = reinterpret_cast<Function>(SDL_GL_GetProcAddress(name));
    return *function != nullptr;
}

// Always true: the flip is looked for, not required. Desktop OpenGL sets it through the core call (4.3); the
// extension's own entry point serves OpenGL ES.
bool lookUpFlipY() {
    g_gl.framebufferParameteri = nullptr;
    if (SDL_GL_ExtensionSupported("GL_MESA_framebuffer_flip_y") == SDL_TRUE &&
        !lookUp(&g_gl.framebufferParameteri, "glFramebufferParameteri"))
        lookUp(&g_gl.framebufferParameteri, "glFramebufferParameteriMESA");
    return true;
}

// The bound picture stored and drawn as Mesa stores and draws a window. Where that is refused the picture is
// drawn the usual way up, and differs from a window's only in the ties.
void drawUpsideDownLikeAWindow() {
    if (!g_gl.framebufferParameteri) return;
    g_gl.framebufferParameteri(GL_FRAMEBUFFER, GL_FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
    while (glGetError() != GL_NO_ERROR) {
        // refused: the usual way up
    }
}

bool lookUpFramebufferCalls() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const bool offered = (version && std::strtol(version, nullptr, 10) >= 3) ||
                         SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object") == SDL_TRUE;
    return offered && lookUp(&g_gl.genFramebuffers, "glGenFramebuffers") &&
           lookUp(&g_gl.deleteFramebuffers, "glDeleteFramebuffers") &&
           lookUp(&g_gl.bindFramebuffer, "glBindFramebuffer") &&
           lookUp(&g_gl.genRenderbuffers, "glGenRenderbuffers") &&
           lookUp(&g_gl.deleteRenderbuffers, "glDeleteRenderbuffers") &&
           lookUp(&g_gl.bindRenderbuffer, "glBindRenderbuffer") &&
           lookUp(&g_gl.renderbufferStorage, "glRenderbufferStorage") &&
           lookUp(&g_gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
           lookUp(&g_gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
           lookUp(&g_gl.blitFramebuffer, "glBlitFramebuffer") && lookUpFlipY();
}

GLint framebufferBits(GLenum which) {
    GLint bits = 0;
    glGetIntegerv(which, &bits);
    return bits;
}

// The sized formats closest to the window's own framebuffer, read while it is still the one bound.
GLenum colorFormatOfWindow() {
    if (framebufferBits(GL_GREEN_BITS) <= 6) return GL_RGB565;
    return framebufferBits(GL_ALPHA_BITS) > 0 ? GL_RGBA8 : GL_RGB8;
}

GLenum depthFormatOfWindow() {
    const GLint bits = framebufferBits(GL_DEPTH_BITS);
    if (bits >= 32) return GL_DEPTH_COMPONENT32;
    return bits >= 24 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16;
}

void releasePicture() {
    g_gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    g_gl.deleteFramebuffers(1, &g_picture.framebuffer);
    g_gl.deleteRenderbuffers(2, g_picture.renderbuffers);
    g_picture = Picture{};
}

// The picture's framebuffer in the current context, bound and cleared; false, with nothing left, if the
// driver cannot complete it.
bool makePicture(int width, int height) {
    if (!lookUpFramebufferCalls()) return false;
    const GLenum formats[2] = {colorFormatOfWindow(), depthFormatOfWindow()};
    const GLenum attachments[2] = {GL_COLOR_ATTACHMENT0, GL_DEPTH_ATTACHMENT};
    while (glGetError() != GL_NO_ERROR) {
        // what earlier calls left is not this one's to report
    }
    g_gl.genFramebuffers(1, &g_picture.framebuffer);
    g_gl.genRenderbuffers(2, g_picture.renderbuffers);
    g_gl.bindFramebuffer(GL_FRAMEBUFFER, g_picture.framebuffer);
    drawUpsideDownLikeAWindow();
    for (int i = 0; i < 2; ++i) {
        g_gl.bindRenderbuffer(GL_RENDERBUFFER, g_picture.renderbuffers[i]);
        g_gl.renderbufferStorage(GL_RENDERBUFFER, formats[i], width, height);
        g_gl.framebufferRenderbuffer(GL_FRAMEBUFFER, attachments[i], GL_RENDERBUFFER,
                                     g_picture.renderbuffers[i]);
    }
    g_gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    g_picture.width = width;
    g_picture.height = height;
    if (g_gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE ||
        glGetError() != GL_NO_ERROR) {
        releasePicture();
        return false;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

struct Area {
    int x, y, width, height;
};

// The largest area of the picture's aspect that fits the drawable, centred.
Area fittedArea(int drawableWidth, int drawableHeight) {
    const long long wide = static_cast<long long>(drawableWidth) * g_picture.height;
    const long long tall = static_cast<long long>(drawableHeight) * g_picture.width;
    Area area{0, 0, drawableWidth, drawableHeight};
    if (wide > tall) {
        area.width = static_cast<int>(tall / g_picture.height);
    } else {
        area.height = static_cast<int>(wide / g_picture.width);
    }
    area.x = (drawableWidth - area.width) / 2;
    area.y = (drawableHeight - area.height) / 2;
    return area;
}

void clearArea(int x, int y, int width, int height) {
    if (width <= 0 || height <= 0) return;
    glScissor(x, y, width, height);
    glClear(GL_COLOR_BUFFER_BIT);
}

// The back buffer's contents after a swap are undefined, so the bars are cleared every frame. The clear and
// the blit run under the window's own colour and scissor state, which is saved and given back untouched.
void clearBars(const Area& area, int drawableWidth, int drawableHeight) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_SCISSOR_TEST);
    clearArea(0, 0, area.x, drawableHeight);
    clearArea(area.x + area.width, 0, drawableWidth - area.x - area.width, drawableHeight);
    clearArea(area.x, 0, area.width, area.y);
    clearArea(area.x, area.y + area.height, area.width, drawableHeight - area.y - area.height);
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace

namespace sdl2 {

bool canScalePicture(int width, int height) {
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe) return false;
    const SDL_GLContext context = SDL_GL_CreateContext(probe);
    bool possible = false;
    if (context) {
        possible = makePicture(width, height);
        if (possible) releasePicture();
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return possible;
}

bool createScaledScreen(int width, int height) {
    return makePicture(width, height);
}

void forgetScaledScreen() {
    g_picture = Picture{};
}

bool scaledScreenActive() {
    return g_picture.framebuffer != 0;
}

int scaledPictureWidth() {
    return g_picture.width;
}

int scaledPictureHeight() {
    return g_picture.height;
}

void presentScaledScreen(SDL_Window* window) {
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    const Area area = fittedArea(drawableWidth, drawableHeight);
    g_gl.bindFramebuffer(GL_READ_FRAMEBUFFER, g_picture.framebuffer);
    g_gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    clearBars(area, drawableWidth, drawableHeight);
    g_gl.blitFramebuffer(0, 0, g_picture.width, g_picture.height, area.x, area.y, area.x + area.width,
                         area.y + area.height, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glPopAttrib();
    SDL_GL_SwapWindow(window);
    g_gl.bindFramebuffer(GL_FRAMEBUFFER, g_picture.framebuffer);
}

plat::Point toPicturePoint(SDL_Window* window, plat::Point point) {
    int drawableWidth = 0, drawableHeight = 0;
    SDL_GL_GetDrawableSize(window, &drawableWidth, &drawableHeight);
    const Area area = fittedArea(drawableWidth, drawableHeight);
    if (area.width <= 0 || area.height <= 0) return point;
    const int top = drawableHeight - area.y - area.height;  // the area's y counts from the bottom, as GL does
    return plat::Point{(point.x - area.x) * g_picture.width / area.width,
                       (point.y - top) * g_picture.height / area.height};
}

}  // namespace sdl2
