// Turns an image name such as "data/spr/duvar" into a mipmapped OpenGL texture, and saves screenshots.
#pragma once

#include <GL/gl.h>

class TextureLoader {
public:
    // True when a texture was created and written to *texture; false otherwise, with *texture unchanged.
    bool loadTexture(GLuint* texture, const char* name);
    // Saves the current frame buffer as "ekrang.tga".
    void saveScreenshot();
};

extern TextureLoader g_textureLoader;
