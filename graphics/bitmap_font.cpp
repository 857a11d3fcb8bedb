#include "graphics/bitmap_font.h"

#include <cstring>

#include "core/debug_log.h"

namespace {

constexpr int FONT_GRID = 16;  // cells per row and per column of the font image
constexpr float FONT_CELL_SPAN = 1.0f / FONT_GRID;
// Text is laid out in this space whatever the window size.
constexpr double TEXT_SPACE_WIDTH = 640.0;
constexpr double TEXT_SPACE_HEIGHT = 480.0;
constexpr unsigned char OPAQUE_WHITE = 255;

void compileGlyph(GLuint list, int cell) {
    const float cx = static_cast<float>(cell % FONT_GRID) / FONT_GRID;
    const int row = cell / FONT_GRID;
    const float cy = static_cast<float>(row) / FONT_GRID;
    glNewList(list, GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2f(cx, 1.0f - cy - FONT_CELL_SPAN);
    glVertex2i(0, 0);
    glTexCoord2f(cx + FONT_CELL_SPAN, 1.0f - cy - FONT_CELL_SPAN);
    glVertex2i(FONT_CELL_SIZE, 0);
    glTexCoord2f(cx + FONT_CELL_SPAN, 1.0f - cy);
    glVertex2i(FONT_CELL_SIZE, FONT_CELL_SIZE);
    glTexCoord2f(cx, 1.0f - cy);
    glVertex2i(0, FONT_CELL_SIZE);
    glEnd();
    glTranslated(FONT_ADVANCE, 0.0, 0.0);
    glEndList();
}

}  // namespace

bool BitmapFont::load(TextureLoader loader, int newScreenHeight, const char* name) {
    loader.loadTexture(&texture, name);
    buildLists();
    screenHeight = newScreenHeight;
    g_debugLog.writeLine("|--------->  Font yuklendi...");
    return true;
}

void BitmapFont::buildLists() {
    listBase = glGenLists(FONT_GLYPH_COUNT);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (int i = 0; i < FONT_GLYPH_COUNT; ++i)
        compileGlyph(listBase + static_cast<GLuint>(i), i);
}

void BitmapFont::deleteLists() {
    glDeleteLists(listBase, FONT_GLYPH_COUNT);
}

void BitmapFont::print(int x, int y, const char* text, int set) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4ub(OPAQUE_WHITE, OPAQUE_WHITE, OPAQUE_WHITE, OPAQUE_WHITE);
    printText(x, y, text, set);
}

void BitmapFont::printColored(int x, int y, const char* text, int set, unsigned char r, unsigned char g,
                              unsigned char b, unsigned char a) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glBindTexture(GL_TEXTURE_2D, texture);
    glColor4ub(r, g, b, a);
    printText(x, y, text, set);
}

// Everything after the colour: set selection, the fixed text projection, the list calls and the restore.
void BitmapFont::printText(int x, int y, const char* text, int set) {
    if (set > 1) set = 1;
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, TEXT_SPACE_WIDTH, 0.0, TEXT_SPACE_HEIGHT, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, screenHeight - y, 0.0);
    // Character c names list listBase - 32 + 128 * set + c; names outside the 256 built draw nothing.
    glListBase(listBase - FONT_FIRST_CHARACTER + static_cast<GLuint>(FONT_GLYPHS_PER_SET * set));
    if (text) glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
}
