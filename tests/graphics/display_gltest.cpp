#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "support/gl_window.h"

namespace {

std::array<GLint, 4> viewport() {
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

GLint projectionDepth() {
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    return depth;
}

}  // namespace

TEST(DisplayGl, WindowStartsWithTheEngineState) {
    REQUIRE_GL_WINDOW();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
}

TEST(DisplayGl, ProjectionUsesTheWholeNumberAspect) {
    REQUIRE_GL_WINDOW();
    g_display.resizeScene(640, 480, 75.0);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_DOUBLE_EQ(m[0], m[5]) << "640 / 480 projects with an aspect of 1";
    g_display.resizeScene(1280, 480, 75.0);
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_DOUBLE_EQ(m[0] * 2.0, m[5]) << "1280 / 480 is 2";
    g_display.resizeScene(640, 480, 75.0);
}

TEST(DisplayGl, SizeMessageOfHeightZeroGivesAViewportOfHeightOne) {
    REQUIRE_GL_WINDOW();
    WindowProc(g_hWnd, WM_SIZE, 0, MAKELPARAM(800, 0));
    EXPECT_EQ(g_display.height, 0);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 800, 1}));
    WindowProc(g_hWnd, WM_SIZE, 0, MAKELPARAM(640, 480));
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
}

TEST(DisplayGl, TwoDimensionalModeIsBalancedAndIgnoresOtherValues) {
    REQUIRE_GL_WINDOW();
    const GLint depth = projectionDepth();
    g_display.setOrtho2D(1);
    EXPECT_EQ(projectionDepth(), depth + 1);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(static_cast<float>(m[0]), 2.0f / 640.0f) << "one unit is one pixel";

    g_display.setOrtho2D(5);
    g_display.setOrtho2D(-1);
    EXPECT_EQ(projectionDepth(), depth + 1);

    glEnable(GL_BLEND);
    g_display.setOrtho2D(0);
    EXPECT_EQ(projectionDepth(), depth);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST(DisplayGl, ClearedFrameIsPresented) {
    REQUIRE_GL_WINDOW();
    glClearColor(0.0f, 1.0f, 0.0f, 0.0f);
    g_display.clearScene();
    g_display.present();
    g_display.clearScene();
    glReadBuffer(GL_BACK);
    GLubyte pixel[3] = {};
    glReadPixels(320, 240, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[0], 0);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
