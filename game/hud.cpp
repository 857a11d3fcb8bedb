#include "game/hud.h"

#include <cstdio>

#include "game/text.h"
#include "graphics/display.h"

namespace {

constexpr int FRAME_RATE_X = 10;
// Five pixels higher than the menu's frame-rate line.
constexpr int FRAME_RATE_Y = 15;

struct HudLabel {
    int x;
    int y;
    const char* text;
};

// The game keeps no score and has one player and one level, so these never change.
constexpr HudLabel PLAY_HUD_LABELS[] = {
    {10, 30, "Brikatan"},
    {200, 15, "Oyuncu 1"},
    {200, 30, "Puan = 0"},
    {350, 15, "Bolum 1"},
};

}  // namespace

void formatFrameRate(char* buffer, std::size_t size, float framesPerSecond) {
    std::snprintf(buffer, size, "FPS : %.0f", static_cast<double>(framesPerSecond));
}

void drawPlayHud() {
    char text[HUD_TEXT_SIZE];
    formatFrameRate(text, sizeof text, g_display.framesPerSecond);
    printText(FRAME_RATE_X, FRAME_RATE_Y, text);
    for (const HudLabel& label : PLAY_HUD_LABELS)
        printLabel(label.x, label.y, label.text);
}
