#include "game/menu.h"

#include "game_test_support.h"

namespace {

class MenuTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        GameState = STATE_MENU;
        plate.width = 148;
        plate.height = 32;
    }

    std::vector<int> hoveredAt(int x, int y) {
        g_mouseX = x;
        g_mouseY = y;
        drawMenuItems(menu);
        std::vector<int> hovered;
        for (int item = 0; item < MENU_ITEM_COUNT; ++item) {
            if (g_itemHovered[item]) hovered.push_back(item);
        }
        return hovered;
    }
};

void expectTint(const Sprite& sprite, float red, float green, float blue) {
    EXPECT_FLOAT_EQ(sprite.red, red);
    EXPECT_FLOAT_EQ(sprite.green, green);
    EXPECT_FLOAT_EQ(sprite.blue, blue);
}

TEST_F(MenuTest, HotAreasReachBeyondThePlatesAndExcludeTheirBorders) {
    EXPECT_EQ(hoveredAt(221, 211), std::vector<int>{MENU_ITEM_NEW_GAME});
    EXPECT_EQ(hoveredAt(220, 230), std::vector<int>{});
    EXPECT_EQ(hoveredAt(215, 260), std::vector<int>{MENU_ITEM_HIGH_SCORES});
    EXPECT_EQ(hoveredAt(380, 220), std::vector<int>{MENU_ITEM_NEW_GAME});
    EXPECT_EQ(hoveredAt(300, 320), std::vector<int>{MENU_ITEM_CLOSE});
    EXPECT_EQ(hoveredAt(0, 0), std::vector<int>{});
}

TEST_F(MenuTest, HoveredItemsLightPlateAndGlowOthersShowTheIdlePlate) {
    g_mouseX = 300;
    g_mouseY = 260;
    updateHighScoresItem(menu);
    expectTint(plate, 1.0f, 0.6f, 1.0f);
    expectTint(glow, 0.4f, 0.4f, 1.0f);
    updateNewGameItem(menu);
    expectTint(plate, 0.7f, 0.7f, 1.0f);
    expectTint(glow, 0.4f, 0.4f, 1.0f);  // the glow keeps its tint; it is not drawn for this item
    EXPECT_FALSE(g_itemHovered[MENU_ITEM_NEW_GAME]);
    g_mouseY = 310;
    updateQuitItem(menu);
    expectTint(plate, 1.0f, 1.0f, 1.0f);
    expectTint(glow, 1.0f, 1.0f, 1.0f);
}

TEST_F(MenuTest, CursorTintClimbsAndWrapsRedGreenAfterAThousandFramesBlueAfterFiveHundred) {
    for (int frame = 1; frame <= 500; ++frame)
        drawMenu(menu);
    EXPECT_GT(g_cursorBlue, 0.99f);
    drawMenu(menu);
    EXPECT_EQ(g_cursorBlue, 0.0f);
    for (int frame = 502; frame <= 1000; ++frame)
        drawMenu(menu);
    EXPECT_GT(g_cursorRed, 0.99f);
    EXPECT_LT(g_cursorRed, 1.0f);
    EXPECT_EQ(g_cursorGreen, g_cursorRed);
    drawMenu(menu);
    EXPECT_EQ(g_cursorRed, 0.0f);
    EXPECT_EQ(g_cursorGreen, 0.0f);
    expectTint(cursor, 0.0f, 0.0f, g_cursorBlue);
}

TEST_F(MenuTest, FrameDrawsCursorWhereTheMouseIsAndTintsTheBackgroundForTheNextFrame) {
    g_mouseX = 123;
    g_mouseY = 45;
    drawMenu(menu);
    EXPECT_FLOAT_EQ(cursor.x, 123.0f);
    EXPECT_FLOAT_EQ(cursor.y, 45.0f);
    expectTint(background, 1.3f, 1.0f, 1.0f);
}

TEST_F(MenuTest, LabelsArePrintedInTheLabelColourOverThePlates) {
    drawMenuLabels();
    ASSERT_EQ(printed().size(), 3u);
    EXPECT_EQ(printed()[0].text, "<-Yeni Oyun->");
    EXPECT_EQ(printed()[1].text, "<-Yuksek Skorlar->");
    EXPECT_EQ(printed()[2].text, "<-Kapat->");
    EXPECT_EQ(printed()[2].x, 250);
    EXPECT_EQ(printed()[2].y, 310);
    for (const PrintedText& text : printed())
        EXPECT_TRUE(text.label);
}

}  // namespace
