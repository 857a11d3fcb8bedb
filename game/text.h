// How the game prints its texts: one line at a time with font set 1, in white or in the label colour. x and y
// give the bottom-left corner of the first character, y measured down from the top edge.
#pragma once

void printText(int x, int y, const char* text);
void printLabel(int x, int y, const char* text);

// Reads every line the game prints, just before it is printed; null unless a test listens.
using TextListener = void (*)(int x, int y, const char* text, bool label);
extern TextListener g_textListener;
