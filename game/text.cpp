#include "game/text.h"

#include "game/colors.h"

TextListener g_textListener = nullptr;

void printText(int x, int y, const char* text) {
    if (g_textListener) g_textListener(x, y, text, false);
}

void printLabel(int x, int y, const char* text) {
    if (g_textListener) g_textListener(x, y, text, true);
}
