#include "game/text.h"

#include "game/colors.h"
#include "graphics/bitmap_font.h"

TextListener g_textListener = nullptr;

void printText(int x, int y, const char* text) {
    if (g_textListener) g_textListener(x, y, text, false);
    g_font.print(x, y, text, TEXT_FONT_SET);
}

void printLabel(int x, int y, const char* text) {
    if (g_textListener) g_textListener(x, y, text, true);
    g_font.printColored(x, y, text, TEXT_FONT_SET, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
}
