// Any bytes as a .spr file: the decoder must stop within its output limit, without reading outside the input,
// and expand exactly as the plain reference decoder does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/spr_decoder.h"
#include "support/lzari_reference.h"

namespace {

// Past one output chunk of the decoder (so its flushes run), small enough to keep each run fast.
constexpr std::uint32_t FUZZ_MAX_DECODED_SIZE = 1u << 17;

// The reference decoder's output for the same file, through in-memory streams.
std::vector<std::uint8_t> referenceExpansion(const std::uint8_t* data, std::size_t size,
                                             std::uint32_t decodedSize) {
    std::vector<std::uint8_t> spr(data, data + size);
    char* expanded = nullptr;
    std::size_t expandedSize = 0;
    std::FILE* in = fmemopen(spr.data(), spr.size(), "rb");
    std::FILE* out = open_memstream(&expanded, &expandedSize);
    if (!in || !out) __builtin_trap();
    std::fseek(in, SPR_HEADER_SIZE, SEEK_SET);
    reference::LzariDecoder().decode(in, out, decodedSize);
    std::fclose(in);
    std::fclose(out);
    std::vector<std::uint8_t> bytes(expanded, expanded + expandedSize);
    std::free(expanded);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> out;
    SprDecoder decoder;
    if (decoder.decodeMemory(data, size, out, FUZZ_MAX_DECODED_SIZE)) {
        // Every byte asked for is produced; only the last match may run past it.
        if (out.size() < decoder.decodedSize || out.size() >= decoder.decodedSize + LZARI_F) __builtin_trap();
        if (out != referenceExpansion(data, size, decoder.decodedSize)) __builtin_trap();
    }
    return 0;
}
