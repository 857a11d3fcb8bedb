// Compresses any file into the .spr form that SprDecoder expands: the 16-byte header, then the LZARI code
// stream. Used by the tools that make the game's images and by the tests of the decoder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The three bytes a .spr file made here starts with; the decoder does not look at them.
constexpr std::uint8_t SPR_TAG[3] = {'P', 'E', 'L'};

// The whole .spr file for `size` bytes of `data` in `out` (replaced). False, with `out` empty, when size is 0
// or above SPR_MAX_DECODED_SIZE: the decoder refuses such files.
bool encodeSpr(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out);
