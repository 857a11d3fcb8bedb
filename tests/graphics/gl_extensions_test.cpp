#include <gtest/gtest.h>

#include "graphics/gl_extensions.h"
#include "support/engine_fixture.h"

using ExtensionQueryTest = EngineTest;

TEST_F(ExtensionQueryTest, OnlyWholeNamesMatch) {
    EXPECT_TRUE(isExtensionSupported("GL_ARB_multitexture", "GL_ARB_multitexture GL_EXT_bgra"));
    EXPECT_TRUE(isExtensionSupported("GL_EXT_bgra", "GL_ARB_multitexture GL_EXT_bgra"));
    EXPECT_TRUE(isExtensionSupported("GL_EXT_bgra", "GL_ARB_multitexture GL_EXT_bgra "));
    EXPECT_FALSE(isExtensionSupported("GL_ARB_multitexture", "GL_ARB_multitexture_plus"));
    EXPECT_FALSE(isExtensionSupported("GL_ARB", "GL_ARB_multitexture"));
    EXPECT_FALSE(isExtensionSupported("multitexture", "GL_ARB_multitexture"));
    EXPECT_FALSE(isExtensionSupported("GL_A GL_B", "GL_A GL_B")) << "a name with a blank never matches";
    EXPECT_FALSE(isExtensionSupported("GL_ARB_multitexture", ""));
    EXPECT_FALSE(isExtensionSupported("GL_ARB_multitexture", nullptr));
}

TEST_F(ExtensionQueryTest, BothAnswersAreLoggedWithTheirOwnSpacing) {
    isExtensionSupported("GL_ARB_multitexture", "GL_ARB_multitexture GL_EXT_bgra");
    isExtensionSupported("GL_ARB_multitexture", "");
    isExtensionSupported("%s%n", "");  // a name is data, never a format
    EXPECT_EQ(readLogBytes(),
              "Ekran kartinin destekledigi Extension : GL_ARB_multitexture\r\n"
              "Ekran kartinin desteklemedigi Extension: GL_ARB_multitexture\r\n"
              "Ekran kartinin desteklemedigi Extension: %s%n\r\n");
}

TEST_F(ExtensionQueryTest, WithoutTheExtensionTheUnitLineStillAppears) {
    initMultitexture();  // no context: no extension string, the unit query fails
    EXPECT_EQ(readLogBytes(),
              "Ekran kartinin desteklemedigi Extension: GL_ARB_multitexture\r\n"
              "Multitexturing , video kartinin destekledigi 0 texture unit\r\n");
    EXPECT_EQ(pel::glActiveTextureARB, nullptr);
}
