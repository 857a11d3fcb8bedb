// Any bytes as a .spr file: the decoder must stop within its output limit, without reading outside the input.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/spr_decoder.h"

namespace {

// Past one output chunk of the decoder (so its flushes run), small enough to keep each run fast.
constexpr std::uint32_t FUZZ_MAX_DECODED_SIZE = 1u << 17;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    SprDecoder decoder;
    if (decoder.decodeMemory(data, size, out, FUZZ_MAX_DECODED_SIZE)) {
        // Every byte asked for is produced; only the last match may run past it.
        if (out.size() < decoder.decodedSize || out.size() >= decoder.decodedSize + LZARI_F) __builtin_trap();
    }
    return 0;
}
