// Pictures drawn from DejaVu Sans Bold with FreeType: the font sheet and the text of the logo.
#pragma once

#include <string>
#include <vector>

#include "tools/artgen/canvas.h"

namespace art {

// Coverage of rendered text, 0..1 per pixel, top row first.
struct Coverage {
    int width = 0;
    int height = 0;
    std::vector<float> alpha;
    float at(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
        return alpha[pixelIndex(x, y, width)];
    }
};

// The font sheet: 16 x 16 cells of 16 pixels, white glyphs on black. Cells 0..127 hold set 0, 128..255 the
// bolder set 1; in each set cell c - 32 holds character c of the Windows Turkish code page, from the space
// on. Empty on failure (missing font file).
bool makeFontSheet(const std::string& fontFile, Canvas& sheet);

// One line of text in a box of boxWidth x boxHeight pixels, centred, with its baseline at baselineY.
bool renderText(const std::string& fontFile, const char* text, int pixelSize, int boxWidth, int boxHeight,
                int baselineY, Coverage& out);

}  // namespace art
