// Turns an image name such as "data/spr/duvar" into a mipmapped OpenGL texture, and saves screenshots.
#pragma once

#include <GL/gl.h>

class TextureLoader {
public:
    // Expands name + ".spr" into name + ".bmp" (when the .spr file exists), reads that bitmap and uploads it
    // as an RGB texture with every mipmap level. True when a texture was created and written to *texture;
    // false otherwise, with *texture unchanged. Names longer than TEXTURE_NAME_MAX characters are refused.
    bool loadTexture(GLuint* texture, const char* name);
    // Saves the current frame buffer as "ekrang.tga": 0 when written, 1 when the file could not be written.
    int saveScreenshot();
};

// Longest image name loadTexture takes: the paths built from it hold 200 bytes, suffix and terminator
// included.
constexpr int TEXTURE_NAME_MAX = 195;

extern TextureLoader g_textureLoader;
