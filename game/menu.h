// The main menu: three items chosen with the mouse, a tinted cursor, and F12 to leave.
#pragma once

#include <cstdint>

#include "game/colors.h"
#include "game/scene.h"

constexpr int MENU_ITEM_NEW_GAME = 0;
constexpr int MENU_ITEM_HIGH_SCORES = 1;
constexpr int MENU_ITEM_CLOSE = 2;
constexpr int MENU_ITEM_COUNT = 3;

enum MenuAction { MENU_ACTION_NONE, MENU_ACTION_NEW_GAME, MENU_ACTION_CLOSE };

struct MenuItem {
    float hotX;  // corner of the hot area, whose size is that of the plate plus 20 pixels of width
    float hotY;
    Tint plateHover;
    Tint glowHover;
    bool pressable;  // shows the press tints on the frame the left button goes down
    Tint platePress;
    Tint glowPress;
    MenuAction action;  // on the release of the left button over the item
    float glowY;
    float plateY;
};

// The high-scores item lights up under the cursor but has nothing to do. Its hot area starts 10 pixels
// further left than the others'.
inline constexpr MenuItem MENU_ITEMS[MENU_ITEM_COUNT] = {
    {220.0f,
     210.0f,
     TINT_WHITE,
     TINT_WHITE,
     true,
     {0.0f, 0.0f, 1.0f},
     {0.0f, 1.0f, 0.0f},
     MENU_ACTION_NEW_GAME,
     220.0f,
     210.0f},
    {210.0f, 255.0f, {1.0f, 0.6f, 1.0f}, {0.4f, 0.4f, 1.0f}, false, {}, {}, MENU_ACTION_NONE, 265.0f, 255.0f},
    {220.0f,
     300.0f,
     TINT_WHITE,
     TINT_WHITE,
     true,
     {0.0f, 0.0f, 1.0f},
     {0.0f, 1.0f, 0.0f},
     MENU_ACTION_CLOSE,
     310.0f,
     300.0f},
};

struct MenuLabel {
    int x;
    int y;
    const char* text;
};

inline constexpr MenuLabel MENU_LABELS[MENU_ITEM_COUNT] = {
    {240, 220, "<-Yeni Oyun->"},
    {220, 265, "<-Yuksek Skorlar->"},
    {250, 310, "<-Kapat->"},
};

// The cursor position read at the start of each menu frame, and which item it is over.
extern std::int32_t g_mouseX;
extern std::int32_t g_mouseY;
extern bool g_itemHovered[MENU_ITEM_COUNT];
// The cursor's tint cycles in menu frames only and keeps its value during a game.
extern float g_cursorRed;
extern float g_cursorGreen;
extern float g_cursorBlue;

// Copies the cursor position; F12 in any state but up asks the window to close.
void menuInput();

// Draws the menu and runs the items' hover and click logic. The cursor is drawn last, over everything.
void drawMenu();
void drawMenu(const MenuScene& scene);
void drawMenuLogo(const MenuScene& scene);
void drawMenuBands(const MenuScene& scene);
void drawMenuItems(const MenuScene& scene);
void drawMenuLabels();

// Hover and click logic of the three items; they tint the plate and the glow that are drawn next.
void updateNewGameItem(const MenuScene& scene);
void updateHighScoresItem(const MenuScene& scene);
void updateQuitItem(const MenuScene& scene);
