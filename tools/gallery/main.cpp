// gallery [RUNFOLDER]: opens a 640 x 480 window, loads the asset catalogue from RUNFOLDER/data (the current
// folder by default; start it there, as the engine's log is emptied in the working folder before main), draws
// every picture over the play background in the mode the game uses for it, and saves the frame with the
// engine's screenshot routine (RUNFOLDER/ekrang.tga). run-gallery.sh runs it under Xvfb.
#include <GL/gl.h>

#include <cstdio>
#include <filesystem>

#include "graphics/asset_catalogue.h"
#include "graphics/display.h"

namespace {

constexpr bool BLEND = true;
constexpr bool MASKED = true;
constexpr int MODE_ADDITIVE = 1;
constexpr int MODE_OPAQUE = 2;
constexpr int MODE_DIAGONAL_RISING = 4;
constexpr int MODE_DIAGONAL_FALLING = 5;
constexpr int MODE_TILED = 6;
constexpr int MODE_HORIZONTAL_FALLING = 12;
constexpr int MODE_HORIZONTAL_RISING = 13;
constexpr unsigned char LABEL_RED = 240;
constexpr unsigned char LABEL_GREEN = 220;
constexpr unsigned char LABEL_BLUE = 255;
constexpr unsigned char LABEL_ALPHA = 255;

void place(Sprite& sprite, float x, float y, float w, float h) {
    sprite.setPosition(x, y);
    sprite.setSize(w, h);
}

// The play field as a game shows it: background, walls, three rows of the wall of bricks, paddle with its
// glow, the ball, and the status plates.
void drawPlayField() {
    place(g_spritePlayBackground, 0, 0, 640, 480);
    g_spritePlayBackground.draw(MODE_TILED, BLEND, !MASKED);
    place(g_spriteWall, 0, 0, 10, 480);
    g_spriteWall.draw(MODE_OPAQUE, BLEND, !MASKED);
    place(g_spriteWall, 630, 0, 10, 480);
    g_spriteWall.draw(MODE_OPAQUE, BLEND, !MASKED);
    place(g_spriteWall, 0, 0, 640, 30);
    g_spriteWall.draw(MODE_OPAQUE, BLEND, !MASKED);

    Sprite brick;
    float red = 0.0f, green = 0.0f, blue = 0.0f;
    for (int y = 50; y < 104; y += 18) {
        for (int x = 20; x < 614; x += 33) {
            red = red + 0.1f > 1.0f ? 0.0f : red + 0.1f;
            green = green + 0.1f > 1.0f ? 0.0f : green + 0.1f;
            blue = blue + 0.2f > 1.0f ? 0.0f : blue + 0.2f;
            if (g_brickTemplate) brick.initFromTemplate(*g_brickTemplate);
            brick.setPosition(static_cast<float>(x), static_cast<float>(y));
            brick.setColor(red, green, blue);
            brick.draw(MODE_ADDITIVE, BLEND, MASKED);
        }
    }
    place(g_spriteBall, 310, 355, 16, 16);
    g_spriteBall.draw(MODE_ADDITIVE, BLEND, MASKED);
    place(g_spriteBall, 560, 330, 48, 48);
    g_spriteBall.draw(MODE_ADDITIVE, BLEND, MASKED);

    place(g_spritePaddle, 245, 435, 64, 14);
    g_spritePaddle.draw(MODE_HORIZONTAL_RISING, BLEND, MASKED);
    place(g_spritePlayGlow, 245, 435, 64, 14);
    g_spritePlayGlow.draw(MODE_DIAGONAL_FALLING, BLEND, MASKED);

    for (float x = 440; x < 605; x += 55) {
        place(g_spritePlate, x, 10, 50, 15);
        g_spritePlate.setColor(1, 1, 1);
        g_spritePlate.draw(MODE_HORIZONTAL_RISING, BLEND, !MASKED);
        place(g_spriteMenuGlow, x, 14, 50, 9);
        g_spriteMenuGlow.draw(MODE_DIAGONAL_FALLING, BLEND, MASKED);
    }
}

// The menu's pictures: a small menu background, the logo block, a band, a lit and an unlit item, the cursor.
void drawMenuPieces() {
    place(g_spriteMenuBackground, 20, 120, 192, 144);
    g_spriteMenuBackground.draw(MODE_TILED, BLEND, MASKED);
    for (Sprite* layer : {&g_spriteLogo, &g_spriteLava, &g_spriteMenuGlow})
        place(*layer, 225, 120, 200, 100);
    g_spriteLogo.draw(MODE_OPAQUE, BLEND, MASKED);
    g_spriteLava.draw(MODE_DIAGONAL_RISING, BLEND, MASKED);
    g_spriteMenuGlow.setColor(1, 1, 1);
    g_spriteMenuGlow.draw(MODE_DIAGONAL_FALLING, BLEND, MASKED);

    place(g_spritePlate, 440, 120, 148, 32);
    g_spritePlate.draw(MODE_HORIZONTAL_RISING, BLEND, !MASKED);
    place(g_spriteMenuGlow, 440, 130, 148, 16);
    g_spriteMenuGlow.draw(MODE_DIAGONAL_FALLING, BLEND, MASKED);
    place(g_spritePlate, 440, 170, 148, 32);
    g_spritePlate.setColor(0.7f, 0.7f, 1.0f);
    g_spritePlate.draw(MODE_HORIZONTAL_RISING, BLEND, !MASKED);

    place(g_spritePlate, 20, 280, 600, 50);
    g_spritePlate.setColor(1, 1, 1);
    g_spritePlate.draw(MODE_HORIZONTAL_FALLING, BLEND, !MASKED);
    place(g_spritePlate, 20, 300, 600, 25);
    g_spritePlate.draw(MODE_HORIZONTAL_RISING, BLEND, !MASKED);
    place(g_spriteMenuGlow, 20, 303, 600, 10);
    g_spriteMenuGlow.setColor(1, 0, 1);
    g_spriteMenuGlow.draw(MODE_DIAGONAL_FALLING, BLEND, MASKED);

    g_spriteCursor.setPosition(330, 385);
    g_spriteCursor.setColor(0.3f, 0.8f, 1.0f);
    g_spriteCursor.draw(MODE_ADDITIVE, BLEND, MASKED);
}

// The explosion's fifteen frames side by side, added as the effect list adds them.
void drawExplosionFrames() {
    if (!g_explosionTemplate) return;
    Sprite frame;
    frame.initFromTemplate(*g_explosionTemplate);
    for (int i = 0; i < EXPLOSION_FRAME_COUNT; ++i) {
        frame.texture = g_explosionTemplate->frameTextures[i];
        place(frame, 20.0f + 40.0f * static_cast<float>(i), 228, 40, 40);
        frame.draw(MODE_ADDITIVE, BLEND, !MASKED);
    }
}

void drawTexts() {
    g_font.print(10, 15, "FPS : 60", 1);
    g_font.printColored(10, 30, "Brikatan", 1, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
    g_font.printColored(200, 15, "Oyuncu 1", 1, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
    g_font.printColored(200, 30, "Puan = 0", 1, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
    g_font.printColored(350, 15, "Bolum 1", 1, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
    g_font.printColored(450, 145, "<-Yeni Oyun->", 1, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
    g_font.printColored(460, 195, "<-Kapat->", 1, LABEL_RED, LABEL_GREEN, LABEL_BLUE, LABEL_ALPHA);
    g_font.print(20, 365, "Set 0: The quick brown fox 0123456789", 0);
    g_font.print(20, 385, "Set 1: The quick brown fox", 1);
    g_font.print(350, 440, "PEL2D/3D Engine", 1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: gallery [RUNFOLDER]\n");
        return 2;
    }
    if (argc == 2) std::filesystem::current_path(argv[1]);
    if (!g_display.createWindow(640, 480, 16, SCREEN_WINDOWED, "PEL2D - Gallery")) return 1;
    loadAssets();
    g_display.pumpMessages();
    g_display.clearScene();
    g_display.setOrtho2D(1);
    drawPlayField();
    drawMenuPieces();
    drawExplosionFrames();
    g_display.setOrtho2D(0);
    drawTexts();
    g_textureLoader.saveScreenshot();
    g_display.present();
    g_font.deleteLists();
    g_display.destroyWindow();
    return 0;
}
