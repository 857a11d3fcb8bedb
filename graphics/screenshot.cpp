#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "graphics/texture_loader.h"
#include "platform/system.h"

namespace {

constexpr const char* SCREENSHOT_FILE = "ekrang.tga";
constexpr std::size_t TGA_HEADER_SIZE = 18;
constexpr std::uint8_t TGA_TRUE_COLOR = 2;
constexpr std::uint8_t TGA_PIXEL_BITS = 24;
constexpr std::size_t TGA_TYPE_OFFSET = 2;
constexpr std::size_t TGA_WIDTH_OFFSET = 12;
constexpr std::size_t TGA_HEIGHT_OFFSET = 14;
constexpr std::size_t TGA_DEPTH_OFFSET = 16;

// Uncompressed true colour, no identification field or colour map, origin at the lower left.
void fillHeader(std::uint8_t (&header)[TGA_HEADER_SIZE], GLint width, GLint height) {
    for (std::uint8_t& byte : header)
        byte = 0;
    header[TGA_TYPE_OFFSET] = TGA_TRUE_COLOR;
    header[TGA_WIDTH_OFFSET] = static_cast<std::uint8_t>(width % 256);
    header[TGA_WIDTH_OFFSET + 1] = static_cast<std::uint8_t>(width / 256);
    header[TGA_HEIGHT_OFFSET] = static_cast<std::uint8_t>(height % 256);
    header[TGA_HEIGHT_OFFSET + 1] = static_cast<std::uint8_t>(height / 256);
    header[TGA_DEPTH_OFFSET] = TGA_PIXEL_BITS;
}

}  // namespace

int TextureLoader::saveScreenshot() {
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const GLint width = viewport[2] > 0 ? viewport[2] : 0;
    const GLint height = viewport[3] > 0 ? viewport[3] : 0;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    // Rows without fill bytes, bottom row first and B, G, R: exactly the TGA's pixel layout.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty()) glReadPixels(0, 0, width, height, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels.data());

    std::FILE* file = plat::openFile(SCREENSHOT_FILE, "wb");
    if (!file) return 1;
    std::uint8_t header[TGA_HEADER_SIZE];
    fillHeader(header, width, height);
    bool written = std::fwrite(header, 1, sizeof header, file) == sizeof header &&
                   (pixels.empty() || std::fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size());
    if (std::fclose(file) != 0) written = false;
    return written ? 0 : 1;
}
