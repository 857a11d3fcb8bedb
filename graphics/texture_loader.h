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

// While one of these lives, loadTexture keeps every picture it reads, and a later load of the same name
// uploads the kept picture instead of expanding and reading the image's files again. The asset catalogue
// holds one over its loads, since several of its sprites load the same image. The kept pictures are freed
// with it; a second one made while the first lives changes nothing.
class TexturePictureReuse {
public:
    TexturePictureReuse();
    ~TexturePictureReuse();

    TexturePictureReuse(const TexturePictureReuse&) = delete;
    TexturePictureReuse& operator=(const TexturePictureReuse&) = delete;

private:
    bool owner;
};

// Longest image name loadTexture takes: the paths built from it hold 200 bytes, suffix and terminator
// included.
constexpr int TEXTURE_NAME_MAX = 195;

extern TextureLoader g_textureLoader;
