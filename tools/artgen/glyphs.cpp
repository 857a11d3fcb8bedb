#include "tools/artgen/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cstdint>

namespace art {

namespace {

constexpr int SHEET_CELLS = 16;
constexpr int CELL = 16;
constexpr int ADVANCE = 10;            // the engine moves the pen 10 pixels per character
constexpr int BASELINE_FROM_TOP = 12;  // leaves 4 pixels of the cell for descenders
constexpr int GLYPH_PIXEL_SIZE = 15;
// Narrows the glyphs so the widest capitals fit the 10-pixel advance.
constexpr float CONDENSE = 0.8f;
constexpr FT_Pos SET1_EMBOLDEN = 40;  // 26.6 fixed point: about 0.6 pixel more stroke
constexpr int CHARACTERS_PER_SET = 128;
constexpr int FIRST_CHARACTER = 32;

// Characters 128..159 of the Windows Turkish code page; 0 where the page leaves a code unused.
constexpr std::uint32_t CP1254_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0,      0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0,      0x0178,
};

std::uint32_t codePoint(int character) {
    if (character == 127) return 0;  // DEL has no picture
    if (character < 128) return static_cast<std::uint32_t>(character);
    return CP1254_HIGH[character - 128];
}

class Face {
public:
    explicit Face(const std::string& path) {
        if (FT_Init_FreeType(&library) != 0) return;
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) face = nullptr;
    }
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;

    FT_Face get() const { return face; }

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

// Renders one glyph outline, emboldened by `embolden`, into face->glyph->bitmap as 8-bit coverage.
bool renderGlyph(FT_Face face, std::uint32_t code, FT_Pos embolden) {
    if (FT_Load_Char(face, code, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0) return false;
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    if (embolden > 0) FT_Outline_Embolden(&face->glyph->outline, embolden);
    return FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

// Adds the rendered bitmap of the current glyph with its origin at (originX, baselineY) in pixels.
void blitGlyph(FT_GlyphSlot glyph, int originX, int baselineY, int clipLeft, int clipTop, int clipRight,
               int clipBottom, float* target, int targetWidth) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const int x = originX + glyph->bitmap_left + static_cast<int>(column);
            const int y = baselineY - glyph->bitmap_top + static_cast<int>(row);
            if (x < clipLeft || x >= clipRight || y < clipTop || y >= clipBottom) continue;
            const std::uint8_t value =
                bitmap.buffer[static_cast<int>(row) * bitmap.pitch + static_cast<int>(column)];
            float& cell = target[y * targetWidth + x];
            cell += static_cast<float>(value) / 255.0f;
            if (cell > 1.0f) cell = 1.0f;
        }
    }
}

void drawCell(FT_Face face, int cell, std::uint32_t code, FT_Pos embolden, std::vector<float>& coverage) {
    if (code == 0 || !renderGlyph(face, code, embolden)) return;
    const int left = cell % SHEET_CELLS * CELL;
    const int top = cell / SHEET_CELLS * CELL;
    // Centre the inked part of the glyph over the advance, so neighbours sit evenly.
    const int inkWidth = static_cast<int>(face->glyph->bitmap.width);
    const int originX = left + (ADVANCE - inkWidth) / 2 - face->glyph->bitmap_left;
    blitGlyph(face->glyph, originX, top + BASELINE_FROM_TOP, left, top, left + CELL, top + CELL,
              coverage.data(), SHEET_CELLS * CELL);
}

}  // namespace

bool makeFontSheet(const std::string& fontFile, Canvas& sheet) {
    Face face(fontFile);
    if (!face.get()) return false;
    FT_Set_Pixel_Sizes(face.get(), 0, GLYPH_PIXEL_SIZE);
    FT_Matrix condense{static_cast<FT_Fixed>(CONDENSE * 65536.0f), 0, 0, 0x10000};
    FT_Set_Transform(face.get(), &condense, nullptr);
    const int side = SHEET_CELLS * CELL;
    std::vector<float> coverage(static_cast<std::size_t>(side * side), 0.0f);
    for (int set = 0; set < 2; ++set) {
        for (int i = 0; i < CHARACTERS_PER_SET; ++i) {
            drawCell(face.get(), set * CHARACTERS_PER_SET + i, codePoint(i + FIRST_CHARACTER),
                     set == 1 ? SET1_EMBOLDEN : 0, coverage);
        }
    }
    sheet = Canvas(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const float a = coverage[pixelIndex(x, y, side)];
            sheet.at(x, y) = {a, a, a};
        }
    }
    return true;
}

bool renderText(const std::string& fontFile, const char* text, int pixelSize, int boxWidth, int boxHeight,
                int baselineY, Coverage& out) {
    Face face(fontFile);
    if (!face.get()) return false;
    FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixelSize));
    int penWidth = 0;
    for (const char* p = text; *p; ++p) {
        if (FT_Load_Char(face.get(), static_cast<FT_ULong>(*p), FT_LOAD_NO_HINTING) != 0) return false;
        penWidth += static_cast<int>(face.get()->glyph->advance.x >> 6);
    }
    out.width = boxWidth;
    out.height = boxHeight;
    out.alpha.assign(static_cast<std::size_t>(boxWidth) * static_cast<std::size_t>(boxHeight), 0.0f);
    int pen = (boxWidth - penWidth) / 2;
    for (const char* p = text; *p; ++p) {
        if (!renderGlyph(face.get(), static_cast<std::uint32_t>(*p), 0)) return false;
        blitGlyph(face.get()->glyph, pen, baselineY, 0, 0, boxWidth, boxHeight, out.alpha.data(), boxWidth);
        pen += static_cast<int>(face.get()->glyph->advance.x >> 6);
    }
    return true;
}

}  // namespace art
