#include "game/menu.h"

#include "core/game_state.h"
#include "game/collision.h"
#include "game/text.h"
#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/window.h"

std::int32_t g_mouseX = 0;
std::int32_t g_mouseY = 0;
bool g_itemHovered[MENU_ITEM_COUNT] = {};
float g_cursorRed = 0.0f;
float g_cursorGreen = 0.0f;
float g_cursorBlue = 0.0f;

namespace {

constexpr int BACKGROUND_DRAW_MODE = 6;
// Takes effect from the next frame on: the first menu frame shows the background untinted.
constexpr Tint BACKGROUND_TINT{1.3f, 1.0f, 1.0f};

constexpr float LOGO_X = 430.0f;
constexpr float LOGO_Y = 10.0f;
constexpr int LOGO_WIDTH = 200;
constexpr int LOGO_HEIGHT = 100;
constexpr int LOGO_DRAW_MODE = 2;
constexpr int LAVA_DRAW_MODE = 4;
constexpr int GLOW_DRAW_MODE = 5;

constexpr int ITEM_PLATE_WIDTH = 148;
constexpr int ITEM_PLATE_HEIGHT = 32;
constexpr int ITEM_GLOW_HEIGHT = 16;
constexpr float ITEM_PLATE_X = 230.0f;
// The hot area reaches 20 pixels beyond the plate's right end.
constexpr float ITEM_HOT_EXTRA_WIDTH = 20.0f;
constexpr int ITEM_PLATE_DRAW_MODE = 13;
constexpr Tint ITEM_PLATE_IDLE{0.7f, 0.7f, 1.0f};

constexpr double CURSOR_RED_STEP = 0.001;
constexpr double CURSOR_GREEN_STEP = 0.001;
constexpr double CURSOR_BLUE_STEP = 0.002;
constexpr int CURSOR_DRAW_MODE = 1;

enum BandSprite { BAND_PLATE, BAND_GLOW };

struct Band {
    BandSprite sprite;
    int width;
    int height;
    float x;
    float y;
    Tint tint;
    int mode;
};

// Plates are drawn unmasked, the glow strips masked.
constexpr Band MENU_BANDS[] = {
    {BAND_PLATE, 640, 50, 0.0f, 160.0f, TINT_WHITE, 12},
    {BAND_PLATE, 640, 50, 0.0f, 340.0f, TINT_WHITE, 12},
    {BAND_PLATE, 640, 25, 0.0f, 180.0f, TINT_WHITE, 13},
    {BAND_GLOW, 640, 10, 0.0f, 185.0f, TINT_WHITE, 5},
    {BAND_PLATE, 640, 25, 0.0f, 360.0f, TINT_WHITE, 13},
    {BAND_GLOW, 640, 10, 0.0f, 363.0f, {1.0f, 0.0f, 1.0f}, 5},
};

void setTint(Sprite& sprite, const Tint& tint) {
    sprite.setColor(tint.red, tint.green, tint.blue);
}

void closeMainWindow() {
    plat::sendMessage(g_hWnd, WM_CLOSE, 0, 0);
}

void perform(MenuAction action) {
    if (action == MENU_ACTION_NEW_GAME) GameState = STATE_NEW_GAME;
    if (action == MENU_ACTION_CLOSE) closeMainWindow();
}

bool cursorOver(const MenuItem& item, const Sprite& plate) {
    return g_collision.pointInRect(item.hotX, item.hotY, plate.getWidth() + ITEM_HOT_EXTRA_WIDTH,
                                   plate.getHeight(), static_cast<float>(g_mouseX),
                                   static_cast<float>(g_mouseY)) == 1;
}

// A click is the release of the left button over the item, wherever it went down. The press tint shows only
// on the one poll in which the button went down.
void updateMenuItem(int index, const MenuScene& scene) {
    const MenuItem& item = MENU_ITEMS[index];
    if (!cursorOver(item, scene.plate)) {
        setTint(scene.plate, ITEM_PLATE_IDLE);
        g_itemHovered[index] = false;
        return;
    }
    setTint(scene.plate, item.plateHover);
    setTint(scene.glow, item.glowHover);
    g_itemHovered[index] = true;
    if (!item.pressable) return;
    const std::uint16_t button = g_input.keyState(KEY_MOUSE_LEFT);
    if (button == KEYSTATE_PRESSED) {
        setTint(scene.plate, item.platePress);
        setTint(scene.glow, item.glowPress);
    }
    if (button == KEYSTATE_RELEASED) perform(item.action);
}

void drawMenuItem(int index, const MenuScene& scene) {
    const MenuItem& item = MENU_ITEMS[index];
    scene.glow.width = ITEM_PLATE_WIDTH;
    scene.glow.height = ITEM_GLOW_HEIGHT;
    scene.glow.setPosition(ITEM_PLATE_X, item.glowY);
    if (g_itemHovered[index]) scene.glow.draw(GLOW_DRAW_MODE, true, true);
    scene.plate.setPosition(ITEM_PLATE_X, item.plateY);
    scene.plate.draw(ITEM_PLATE_DRAW_MODE, true, false);
}

void drawLogoLayer(Sprite& layer, int mode) {
    layer.width = LOGO_WIDTH;
    layer.height = LOGO_HEIGHT;
    layer.setPosition(LOGO_X, LOGO_Y);
    layer.draw(mode, true, true);
}

void advanceCursorTint() {
    g_cursorRed = cycledChannel(g_cursorRed, CURSOR_RED_STEP);
    g_cursorGreen = cycledChannel(g_cursorGreen, CURSOR_GREEN_STEP);
    g_cursorBlue = cycledChannel(g_cursorBlue, CURSOR_BLUE_STEP);
}

void drawCursor(Sprite& cursor) {
    cursor.setPosition(static_cast<float>(g_mouseX), static_cast<float>(g_mouseY));
    cursor.setColor(g_cursorRed, g_cursorGreen, g_cursorBlue);
    cursor.draw(CURSOR_DRAW_MODE, true, true);
}

}  // namespace

void menuInput() {
    g_input.getCursor(&g_mouseX, &g_mouseY);
    if (g_input.keyState(KEY_F12) != KEYSTATE_UP) closeMainWindow();
}

void drawMenu() {
    drawMenu(menuScene());
}

void drawMenu(const MenuScene& scene) {
    scene.background.setPosition(0.0f, 0.0f);
    scene.background.draw(BACKGROUND_DRAW_MODE, true, true);
    setTint(scene.background, BACKGROUND_TINT);
    drawMenuLogo(scene);
    drawMenuBands(scene);
    drawMenuItems(scene);
    advanceCursorTint();
    drawCursor(scene.cursor);
}

void drawMenuLogo(const MenuScene& scene) {
    drawLogoLayer(scene.logo, LOGO_DRAW_MODE);
    drawLogoLayer(scene.lava, LAVA_DRAW_MODE);
    setTint(scene.glow, TINT_WHITE);
    drawLogoLayer(scene.glow, GLOW_DRAW_MODE);
}

void drawMenuBands(const MenuScene& scene) {
    for (const Band& band : MENU_BANDS) {
        const bool isGlow = band.sprite == BAND_GLOW;
        Sprite& sprite = isGlow ? scene.glow : scene.plate;
        sprite.width = band.width;
        sprite.height = band.height;
        setTint(sprite, band.tint);
        sprite.setPosition(band.x, band.y);
        sprite.draw(band.mode, true, isGlow);
    }
}

void drawMenuItems(const MenuScene& scene) {
    scene.plate.width = ITEM_PLATE_WIDTH;  // this size also serves the three hit tests
    scene.plate.height = ITEM_PLATE_HEIGHT;
    updateNewGameItem(scene);
    drawMenuItem(MENU_ITEM_NEW_GAME, scene);
    updateHighScoresItem(scene);
    drawMenuItem(MENU_ITEM_HIGH_SCORES, scene);
    updateQuitItem(scene);
    drawMenuItem(MENU_ITEM_CLOSE, scene);
    drawMenuLabels();
}

void updateNewGameItem(const MenuScene& scene) {
    updateMenuItem(MENU_ITEM_NEW_GAME, scene);
}

void updateHighScoresItem(const MenuScene& scene) {
    updateMenuItem(MENU_ITEM_HIGH_SCORES, scene);
}

void updateQuitItem(const MenuScene& scene) {
    updateMenuItem(MENU_ITEM_CLOSE, scene);
}

void drawMenuLabels() {
    for (const MenuLabel& label : MENU_LABELS)
        printLabel(label.x, label.y, label.text);
}
