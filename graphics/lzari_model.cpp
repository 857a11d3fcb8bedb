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

LzariSymbolModel::LzariSymbolModel() {
    symCum[LZARI_N_CHAR] = 0;
    for (int sym = LZARI_N_CHAR; sym >= 1; --sym) {
        charToSym[sym - 1] = static_cast<std::uint16_t>(sym);
        symToChar[sym] = static_cast<std::uint16_t>(sym - 1);
        symFreq[sym] = 1;
        symCum[sym - 1] = static_cast<std::uint16_t>(symCum[sym] + 1);
    }
    symFreq[0] = 0;  // sentinel: stops the walk of update below symbol 1
}

void LzariSymbolModel::halve() {
    std::uint32_t cum = 0;
    for (int i = LZARI_N_CHAR; i >= 1; --i) {
        symCum[i] = static_cast<std::uint16_t>(cum);
        symFreq[i] = static_cast<std::uint16_t>((symFreq[i] + 1) / 2);
        cum += symFreq[i];
    }
    symCum[0] = static_cast<std::uint16_t>(cum);
}

void LzariSymbolModel::update(int sym) {
    if (symCum[0] >= LZARI_MAX_CUM) halve();
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
    for (int j = 0; j < i; ++j)
        ++symCum[j];
}
