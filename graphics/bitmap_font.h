// Text from one texture of 256 glyph cells (16 x 16), drawn through one display list per cell.
#pragma once

#include <GL/gl.h>

#include <cstdint>

#include "graphics/texture_loader.h"

constexpr int FONT_GLYPH_COUNT = 256;
constexpr int FONT_GLYPHS_PER_SET = 128;
constexpr int FONT_FIRST_CHARACTER = 32;  // each set starts with the space character
constexpr int FONT_CELL_SIZE = 16;        // pixels of one glyph quad
constexpr int FONT_ADVANCE = 10;          // pixels the pen moves per character

class BitmapFont {
public:
    BitmapFont() = default;
    // Releases nothing: the lists are deleted by the shutdown sequence while the context still exists.
    virtual ~BitmapFont() = default;

    // Loads the texture (a failure leaves it 0, and text then draws as plain quads), builds the lists and
    // logs the load. Always true.
    bool load(TextureLoader loader, int screenHeight, const char* name);
    void buildLists();
    void deleteLists();

    // (x, y) is the bottom-left corner of the first glyph cell, y counted down from the top edge of a 640 x
    // 480 text space. set 0 or 1 picks the character set; larger values mean 1.
    void print(int x, int y, const char* text, int set);
    void printColored(int x, int y, const char* text, int set, unsigned char r, unsigned char g,
                      unsigned char b, unsigned char a);

    GLuint texture = 0;
    GLuint listBase = 0;
    std::int32_t screenHeight = 0;

private:
    void printText(int x, int y, const char* text, int set);
};

extern BitmapFont g_font;
