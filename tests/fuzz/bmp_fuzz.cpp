// Any bytes as a bitmap file: the reader must either refuse them or return a picture of the size it states,
// never reading outside the input.
#include <cstddef>
#include <cstdint>

#include "graphics/bitmap_reader.h"

namespace {

constexpr std::size_t FUZZ_MAX_PIXEL_BYTES = std::size_t{16} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RgbImage* image = nullptr;
    if (decodeDibImage(data, size, &image, FUZZ_MAX_PIXEL_BYTES) == DIB_OK) {
        if (!image || image->sizeX <= 0 || image->sizeY <= 0) __builtin_trap();
        // Touch the last pixel byte: the buffer must be as large as the picture says.
        volatile std::uint8_t last =
            image->data[static_cast<std::size_t>(image->sizeX) * static_cast<std::size_t>(image->sizeY) * 3 -
                        1];
        (void)last;
        freeRgbImage(image);
    }
    return 0;
}
