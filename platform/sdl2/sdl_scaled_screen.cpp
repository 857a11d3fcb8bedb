// The off-screen picture of a scaled full-screen window (see sdl_scaled_screen.h).
//
// The picture's framebuffer copies the window's own pixel format (colour bits, alpha or none, depth bits), so
// that every drawing mode, destination alpha included, gives the same pixels as in a window and a screenshot
// read from it is the one a windowed run reads. Mesa keeps a window's pixels top row first and draws into
// them upside down; where it can draw the picture the same way (GL_MESA_framebuffer_flip_y) it does, since
// texture coordinates that fall exactly between two texels would otherwise round to the other one.
// Framebuffer objects are core in OpenGL 3.0 and come with GL_ARB_framebuffer_object before it; their entry
// points are looked up in each context that uses them.
//
// The picture's colour is a texture, and presenting draws it as one quad whose program does nothing but read
// the nearest texel (OpenGL 2.0, which every driver with framebuffer objects has; where the program cannot be
// linked there is no scaling). A software rasteriser pays for each pixel of the screen at every present, and
// this is the least it pays: a framebuffer blit or bilinear filtering costs it about twice as much per pixel,
// the fixed-function texture stage a quarter more, and clearing only the bars, with scissored clears, no less
// than clearing the whole window. On a graphics card any of these is nearly free.
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
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebufferTexture2D;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus;
    // Null where the picture cannot be drawn upside down.
    PFNGLFRAMEBUFFERPARAMETERIPROC framebufferParameteri;
};

// The calls of the quad's program (OpenGL 2.0).
struct ProgramCalls {
    PFNGLCREATESHADERPROC createShader;
    PFNGLSHADERSOURCEPROC shaderSource;
    PFNGLCOMPILESHADERPROC compileShader;
    PFNGLDELETESHADERPROC deleteShader;
    PFNGLCREATEPROGRAMPROC createProgram;
    PFNGLATTACHSHADERPROC attachShader;
    PFNGLLINKPROGRAMPROC linkProgram;
    PFNGLGETPROGRAMIVPROC getProgramiv;
    PFNGLDELETEPROGRAMPROC deleteProgram;
    PFNGLUSEPROGRAMPROC useProgram;
    PFNGLGETUNIFORMLOCATIONPROC getUniformLocation;
    PFNGLUNIFORM2FPROC uniform2f;
};

struct Picture {
    GLuint framebuffer = 0;
    GLuint color = 0;    // a texture
    GLuint depth = 0;    // a renderbuffer
    GLuint program = 0;  // draws it scaled
    int width = 0;
    int height = 0;
    bool upsideDown = false;  // its rows stored top first, as Mesa stores a window's
};

FramebufferCalls g_gl{};
ProgramCalls g_program{};
Picture g_picture;

// The quad spans the viewport (-1..1) and reads the texture across it (0..1), its rows turned over where
// the picture is stored top row first. The texture sits on unit 0, the sampler's own.
constexpr const char* QUAD_VERTEX_SHADER = R"(#version 110
uniform vec2 texelScale;
varying vec2 texel;
void main() {
    gl_Position = gl_Vertex;
    texel = gl_Vertex.xy * texelScale + 0.5;
}
)";
constexpr const char* QUAD_FRAGMENT_SHADER = R"(#version 110
uniform sampler2D picture;
varying vec2 texel;
void main() {
    gl_FragColor = texture2D(picture, texel);
}
)";

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
// drawn the usual way up, and differs from a window's only in the ties. Whether it is upside down.
bool drawUpsideDownLikeAWindow() {
    if (!g_gl.framebufferParameteri) return false;
    g_gl.framebufferParameteri(GL_FRAMEBUFFER, GL_FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
    bool refused = false;
    while (glGetError() != GL_NO_ERROR)
        refused = true;
    return !refused;
}

bool lookUpProgramCalls() {
    return lookUp(&g_program.createShader, "glCreateShader") &&
           lookUp(&g_program.shaderSource, "glShaderSource") &&
           lookUp(&g_program.compileShader, "glCompileShader") &&
           lookUp(&g_program.deleteShader, "glDeleteShader") &&
           lookUp(&g_program.createProgram, "glCreateProgram") &&
           lookUp(&g_program.attachShader, "glAttachShader") &&
           lookUp(&g_program.linkProgram, "glLinkProgram") &&
           lookUp(&g_program.getProgramiv, "glGetProgramiv") &&
           lookUp(&g_program.deleteProgram, "glDeleteProgram") &&
           lookUp(&g_program.useProgram, "glUseProgram") &&
           lookUp(&g_program.getUniformLocation, "glGetUniformLocation") &&
           lookUp(&g_program.uniform2f, "glUniform2f");
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
           lookUp(&g_gl.framebufferTexture2D, "glFramebufferTexture2D") &&
           lookUp(&g_gl.checkFramebufferStatus, "glCheckFramebufferStatus") && lookUpFlipY();
}

GLint framebufferBits(GLenum which) {
    GLint bits = 0;
    glGetIntegerv(which, &bits);
    return bits;
}

struct ColorFormat {
    GLint internalFormat;
    // The layout of pixels handed over, which Mesa takes as a hint for how to store them: the window's.
    GLenum layout;
    GLenum type;
};

// The sized formats closest to the window's own framebuffer, read while it is still the one bound.
ColorFormat colorFormatOfWindow() {
    if (framebufferBits(GL_GREEN_BITS) <= 6) return {GL_RGB565, GL_RGB, GL_UNSIGNED_SHORT_5_6_5};
    return {framebufferBits(GL_ALPHA_BITS) > 0 ? GL_RGBA8 : GL_RGB8, GL_BGRA, GL_UNSIGNED_BYTE};
}

GLenum depthFormatOfWindow() {
    const GLint bits = framebufferBits(GL_DEPTH_BITS);
    if (bits >= 32) return GL_DEPTH_COMPONENT32;
    return bits >= 24 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16;
}

void attachShader(GLuint program, GLenum kind, const char* source) {
    const GLuint shader = g_program.createShader(kind);
    g_program.shaderSource(shader, 1, &source, nullptr);
    g_program.compileShader(shader);
    g_program.attachShader(program, shader);
    g_program.deleteShader(shader);  // goes with the program
}

// The quad's program, or 0 where the driver cannot link it.
GLuint makeQuadProgram(bool upsideDown) {
    if (!lookUpProgramCalls()) return 0;
    const GLuint program = g_program.createProgram();
    attachShader(program, GL_VERTEX_SHADER, QUAD_VERTEX_SHADER);
    attachShader(program, GL_FRAGMENT_SHADER, QUAD_FRAGMENT_SHADER);
    g_program.linkProgram(program);
    GLint linked = GL_FALSE;
    g_program.getProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE) {
        g_program.deleteProgram(program);
        return 0;
    }
    g_program.useProgram(program);
    g_program.uniform2f(g_program.getUniformLocation(program, "texelScale"), 0.5f, upsideDown ? -0.5f : 0.5f);
    g_program.useProgram(0);
    return program;
}

void releasePicture() {
    g_gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    g_gl.deleteFramebuffers(1, &g_picture.framebuffer);
    glDeleteTextures(1, &g_picture.color);
    g_gl.deleteRenderbuffers(1, &g_picture.depth);
    if (g_picture.program) g_program.deleteProgram(g_picture.program);
    g_picture = Picture{};
}

// The picture's colour: a texture read one level deep, texel by texel, without wrapping. It leaves no texture
// bound, as the engine finds the context.
GLuint makeColorTexture(const ColorFormat& format, int width, int height) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, format.internalFormat, width, height, 0, format.layout, format.type,
                 nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// The picture's framebuffer in the current context, bound and cleared; false, with nothing left, if the
// driver cannot complete it.
bool makePicture(int width, int height) {
    if (!lookUpFramebufferCalls()) return false;
    const ColorFormat color = colorFormatOfWindow();
    const GLenum depth = depthFormatOfWindow();
    while (glGetError() != GL_NO_ERROR) {
        // what earlier calls left is not this one's to report
    }
    g_picture.color = makeColorTexture(color, width, height);
    g_gl.genRenderbuffers(1, &g_picture.depth);
    g_gl.bindRenderbuffer(GL_RENDERBUFFER, g_picture.depth);
    g_gl.renderbufferStorage(GL_RENDERBUFFER, depth, width, height);
    g_gl.bindRenderbuffer(GL_RENDERBUFFER, 0);
    g_gl.genFramebuffers(1, &g_picture.framebuffer);
    g_gl.bindFramebuffer(GL_FRAMEBUFFER, g_picture.framebuffer);
    g_picture.upsideDown = drawUpsideDownLikeAWindow();
    g_gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, g_picture.color, 0);
    g_gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, g_picture.depth);
    g_picture.width = width;
    g_picture.height = height;
    g_picture.program = makeQuadProgram(g_picture.upsideDown);
    if (!g_picture.program || g_gl.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE ||
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

// The state the quad is drawn under, saved and given back untouched: the engine draws the next frame under
// its own. Every switch (depth test, blending, alpha test, culling, scissor, ...) goes back with
// GL_ENABLE_BIT, the clear colour and colour mask with GL_COLOR_BUFFER_BIT, the bound texture with
// GL_TEXTURE_BIT; the engine draws through the first texture unit only. The program sets aside the rest of
// the fixed pipeline (texture environment, fog, lighting, matrices).
constexpr GLbitfield QUAD_STATE =
    GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_VIEWPORT_BIT | GL_POLYGON_BIT;
// Every pixel of the area is the picture's, as it stands.
constexpr GLenum QUAD_TESTS_OFF[] = {GL_DEPTH_TEST, GL_STENCIL_TEST,   GL_BLEND,
                                     GL_ALPHA_TEST, GL_COLOR_LOGIC_OP, GL_CULL_FACE};

// The back buffer's contents after a swap are undefined, so where there are bars they are cleared every
// frame: the whole window at once, which the quad then covers where the picture goes.
void drawScaledPicture(const Area& area, bool bars) {
    GLint engineProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &engineProgram);
    glPushAttrib(QUAD_STATE);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    if (bars) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    for (const GLenum test : QUAD_TESTS_OFF)
        glDisable(test);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glBindTexture(GL_TEXTURE_2D, g_picture.color);
    g_program.useProgram(g_picture.program);
    glViewport(area.x, area.y, area.width, area.height);
    glRectf(-1.0f, -1.0f, 1.0f, 1.0f);
    g_program.useProgram(static_cast<GLuint>(engineProgram));
    glPopAttrib();
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
    g_gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    drawScaledPicture(area, area.width < drawableWidth || area.height < drawableHeight);
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
