// The LZARI code of .spr files: LZSS over a 4096-byte window whose literals and match lengths go through an
// adaptive arithmetic model and whose match positions go through a fixed one. The constants and the models
// are shared by the decoder the engine runs and the encoder the tools run, so both sides stay in step.
#pragma once

#include <cstdint>
#include <vector>

constexpr int LZARI_N = 4096;                                  // ring-buffer size
constexpr int LZARI_F = 60;                                    // longest match
constexpr int LZARI_THRESHOLD = 2;                             // matches code lengths THRESHOLD + 1 .. F
constexpr int LZARI_N_CHAR = 256 - LZARI_THRESHOLD + LZARI_F;  // 256 literals + 58 match lengths = 314
constexpr int LZARI_M = 15;                                    // precision bits of the coder
constexpr std::uint32_t LZARI_Q1 = 1u << LZARI_M;
constexpr std::uint32_t LZARI_Q2 = 2 * LZARI_Q1;
constexpr std::uint32_t LZARI_Q3 = 3 * LZARI_Q1;
constexpr std::uint32_t LZARI_Q4 = 4 * LZARI_Q1;
constexpr std::uint32_t LZARI_MAX_CUM = LZARI_Q1 - 1;  // total frequency at which the symbol model halves
constexpr int LZARI_WINDOW_START = LZARI_N - LZARI_F;  // first write position; the ring below it is spaces
constexpr std::uint8_t LZARI_FILL = 0x20;
// A symbol at or above this codes a match of length symbol - LZARI_MATCH_BASE.
constexpr int LZARI_MATCH_BASE = 255 - LZARI_THRESHOLD;

// .spr file header: tag (3), decodedSize (4), three ignored fields (4, 4, 1); the code stream follows.
constexpr int SPR_HEADER_SIZE = 16;
constexpr int SPR_DECODED_SIZE_OFFSET = 3;
// Refused as corrupt: no bitmap the engine can use is this large, and a forged header must not fill the disk.
constexpr std::uint32_t SPR_MAX_DECODED_SIZE = 256u << 20;

// Cumulative frequencies of the match positions: near positions are likelier. Entry i is the total weight of
// positions i and above; entry 0 is the whole.
struct LzariPositionModel {
    LzariPositionModel();
    std::uint16_t positionCum[LZARI_N + 1];
    // The inverse, since the model never changes: positionAt[x] is the position p with
    // positionCum[p + 1] <= x < positionCum[p], for every x below positionCum[0].
    std::vector<std::uint16_t> positionAt;
};

// The adaptive model of literals and match lengths. Symbols are kept sorted by falling frequency (symbol 1 is
// the commonest) so that the frequent ones are found and updated quickly. The cumulative frequency of symbol
// i is the total frequency of the symbols above i; that of symbol 0 is the whole.
//
// The cumulative frequencies are kept per block of LZARI_SYMBOL_BLOCK symbols, as the total of the later
// blocks plus the total within the block after the symbol. Counting an occurrence then adds to one block and
// the block totals instead of to every symbol before it, and finding the symbol of a code value compares two
// short rows; every loop over them has a fixed length, which the compiler turns into vector code.
constexpr int LZARI_SYMBOL_BLOCK = 16;
// Whole blocks for the symbols 0 .. N_CHAR.
constexpr int LZARI_SYMBOL_BLOCKS = (LZARI_N_CHAR + LZARI_SYMBOL_BLOCK) / LZARI_SYMBOL_BLOCK;
// Room for whole vectors: the blocks past the last one have no symbols and total 0.
constexpr int LZARI_SYMBOL_BLOCK_ROOM = 24;
static_assert(LZARI_SYMBOL_BLOCK_ROOM >= LZARI_SYMBOL_BLOCKS, "every block has its later total");
static_assert(LZARI_MAX_CUM < 32768, "cumulative frequencies fit 16-bit signed lanes");

struct LzariSymbolModel {
    LzariSymbolModel();

    std::uint32_t cumulative(int sym) const {
        return static_cast<std::uint32_t>(withinBlock[sym] + laterBlocks[sym / LZARI_SYMBOL_BLOCK]);
    }
    std::uint32_t total() const { return cumulative(0); }
    // The symbol sym in 1 .. N_CHAR with cumulative(sym) <= x < cumulative(sym - 1), for x below total().
    int findSymbol(std::uint32_t x) const;
    // Counts one more occurrence of sym, halving every frequency first when the total reached MAX_CUM.
    void update(int sym);

    std::uint16_t charToSym[LZARI_N_CHAR];
    std::uint16_t symToChar[LZARI_N_CHAR + 1];

private:
    static constexpr int SLOTS = LZARI_SYMBOL_BLOCKS * LZARI_SYMBOL_BLOCK;

    void halve();
    void sumBlocks();

    // Frequencies stay below 2^15, so every sum fits a signed 16-bit lane.
    std::uint16_t symFreq[SLOTS];
    std::int16_t withinBlock[SLOTS];
    std::int16_t laterBlocks[LZARI_SYMBOL_BLOCK_ROOM];
};

// The one position model: it never changes, so it is built once.
const LzariPositionModel& lzariPositionModel();
