#include "graphics/texture_loader.h"

#include <GL/glu.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/bitmap_reader.h"
#include "graphics/spr_decoder.h"
#include "platform/system.h"

namespace {

constexpr std::size_t TEXTURE_PATH_SIZE = TEXTURE_NAME_MAX + 5;
constexpr const char* BMP_SUFFIX = ".bmp";
constexpr const char* SPR_SUFFIX = ".spr";
constexpr GLint RGB_COMPONENTS = 3;

// name + suffix into path; false when it does not fit.
bool buildPath(char (&path)[TEXTURE_PATH_SIZE], const char* name, const char* suffix) {
    const int written = std::snprintf(path, sizeof path, "%s%s", name, suffix);
    return written >= 0 && static_cast<std::size_t>(written) < sizeof path;
}

bool fileExists(const char* path) {
    std::FILE* probe = plat::openFile(path, "rb");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

struct KeptPicture {
    std::string name;
    RgbImage* image;
};

// The pictures kept while a TexturePictureReuse lives; null otherwise.
std::vector<KeptPicture>* g_keptPictures = nullptr;

const RgbImage* keptPicture(const char* name) {
    if (!g_keptPictures) return nullptr;
    for (const KeptPicture& kept : *g_keptPictures) {
        if (kept.name == name) return kept.image;
    }
    return nullptr;
}

// Expands the .spr file and reads the bitmap it was expanded into, from the bytes just written rather than
// from the disk. Without a .spr file, or when the bitmap could not be written, the bitmap on disk (from an
// earlier run, say) is read instead. A missing bitmap is silent: only one that exists but cannot be read is
// worth a message.
RgbImage* readPicture(const char* sprPath, const char* bmpPath) {
    std::vector<std::uint8_t> expanded;
    const bool written = SprDecoder().convert(sprPath, bmpPath, &expanded) == 1;
    if (!fileExists(bmpPath)) return nullptr;
    return written ? loadDibImage(bmpPath, expanded.data(), expanded.size()) : loadDibImage(bmpPath);
}

void upload(GLuint* texture, const RgbImage& image) {
    glGenTextures(1, texture);
    // The picture's rows are tightly packed; the setting stays for every later upload.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, *texture);
    // GLU rescales sides that are not powers of two. The wrap modes stay GL_REPEAT, which tiling relies on.
    gluBuild2DMipmaps(GL_TEXTURE_2D, RGB_COMPONENTS, image.sizeX, image.sizeY, GL_RGB, GL_UNSIGNED_BYTE,
                      image.data);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    // Texels are multiplied by the current colour: that is how a sprite's tint applies.
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace

bool TextureLoader::loadTexture(GLuint* texture, const char* name) {
    if (!texture || !name) return false;
    char bmpPath[TEXTURE_PATH_SIZE];
    char sprPath[TEXTURE_PATH_SIZE];
    if (!buildPath(bmpPath, name, BMP_SUFFIX) || !buildPath(sprPath, name, SPR_SUFFIX)) return false;
    if (const RgbImage* kept = keptPicture(name)) {
        upload(texture, *kept);
        return true;
    }
    RgbImage* image = readPicture(sprPath, bmpPath);
    if (!image) return false;
    upload(texture, *image);
    if (g_keptPictures) {
        g_keptPictures->push_back({name, image});
    } else {
        freeRgbImage(image);
    }
    return true;
}

TexturePictureReuse::TexturePictureReuse() : owner(g_keptPictures == nullptr) {
    if (owner) g_keptPictures = new std::vector<KeptPicture>();
}

TexturePictureReuse::~TexturePictureReuse() {
    if (!owner) return;
    for (const KeptPicture& kept : *g_keptPictures)
        freeRgbImage(kept.image);
    delete g_keptPictures;
    g_keptPictures = nullptr;
}
