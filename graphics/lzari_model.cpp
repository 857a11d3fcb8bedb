#include "graphics/lzari_model.h"

namespace {

// Weight of a match position: 10000 / (position + 200), so near matches cost fewer bits.
constexpr int POSITION_WEIGHT = 10000;
constexpr int POSITION_BIAS = 200;

}  // namespace

LzariPositionModel::LzariPositionModel() {
    positionCum[LZARI_N] = 0;
    for (int i = LZARI_N; i >= 1; --i) {
        positionCum[i - 1] =
            static_cast<std::uint16_t>(positionCum[i] + POSITION_WEIGHT / (i + POSITION_BIAS));
    }
    positionAt.resize(positionCum[0]);
    for (int p = 0; p < LZARI_N; ++p) {
        for (std::uint32_t x = positionCum[p + 1]; x < positionCum[p]; ++x)
            positionAt[x] = static_cast<std::uint16_t>(p);
    }
}

const LzariPositionModel& lzariPositionModel() {
    static const LzariPositionModel model;
    return model;
}

LzariSymbolModel::LzariSymbolModel() : symFreq(), withinBlock(), laterBlocks() {
    for (int sym = LZARI_N_CHAR; sym >= 1; --sym) {
        charToSym[sym - 1] = static_cast<std::uint16_t>(sym);
        symToChar[sym] = static_cast<std::uint16_t>(sym - 1);
        symFreq[sym] = 1;
    }
    // Symbol 0 and the slots past N_CHAR have frequency 0. Symbol 0's stops the walk of update below symbol
    // 1, since every symbol counts at least once.
    sumBlocks();
}

void LzariSymbolModel::sumBlocks() {
    int later = 0;
    for (int block = LZARI_SYMBOL_BLOCKS - 1; block >= 0; --block) {
        laterBlocks[block] = static_cast<std::int16_t>(later);
        int within = 0;
        for (int i = (block + 1) * LZARI_SYMBOL_BLOCK - 1; i >= block * LZARI_SYMBOL_BLOCK; --i) {
            withinBlock[i] = static_cast<std::int16_t>(within);
            within += symFreq[i];
        }
        later += within;
    }
}

int LzariSymbolModel::findSymbol(std::uint32_t x) const {
    // Cumulative frequencies fall with the symbol, so the symbols above x come first: counting them finds
    // the block, then the symbol within it.
    const std::int16_t key = static_cast<std::int16_t>(x);
    int block = 0;
    for (const std::int16_t later : laterBlocks)
        block += later > key ? 1 : 0;
    const std::int16_t keyWithin = static_cast<std::int16_t>(key - laterBlocks[block]);
    const int first = block * LZARI_SYMBOL_BLOCK;
    int above = 0;
    for (int i = 0; i < LZARI_SYMBOL_BLOCK; ++i)
        above += withinBlock[first + i] > keyWithin ? 1 : 0;
    return first + above;
}

void LzariSymbolModel::halve() {
    for (int i = 1; i <= LZARI_N_CHAR; ++i)
        symFreq[i] = static_cast<std::uint16_t>((symFreq[i] + 1) / 2);
    sumBlocks();
}

void LzariSymbolModel::update(int sym) {
    if (total() >= LZARI_MAX_CUM) halve();
    // Move sym to the front of its run of equal frequencies, so that incrementing it keeps the order.
    int i = sym;
    while (symFreq[i] == symFreq[i - 1])
        --i;
    if (i < sym) {
        const std::uint16_t charI = symToChar[i];
        const std::uint16_t charSym = symToChar[sym];
        symToChar[i] = charSym;
        symToChar[sym] = charI;
        charToSym[charI] = static_cast<std::uint16_t>(sym);
        charToSym[charSym] = static_cast<std::uint16_t>(i);
    }
    ++symFreq[i];
    // Every symbol before i gains one: the earlier blocks through their later total, the symbols before i in
    // its own block through their own.
    const int block = i / LZARI_SYMBOL_BLOCK;
    for (int b = 0; b < LZARI_SYMBOL_BLOCK_ROOM; ++b)
        laterBlocks[b] = static_cast<std::int16_t>(laterBlocks[b] + (b < block ? 1 : 0));
    const int first = block * LZARI_SYMBOL_BLOCK;
    for (int k = 0; k < LZARI_SYMBOL_BLOCK; ++k)
        withinBlock[first + k] = static_cast<std::int16_t>(withinBlock[first + k] + (first + k < i ? 1 : 0));
}
