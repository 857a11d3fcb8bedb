// The menu screen's items, cursor and background.
#include "game/menu.h"
#include "game_test_support.h"
#include "graphics/display.h"

namespace {

class MenuTest : public GameTest {
protected:
    std::vector<int> hoveredAt(int x, int y) {
        g_mouseX = x;
        g_mouseY = y;
        drawMenuItems(menu);
        std::vector<int> hovered;
        for (int item = 0; item < MENU_ITEM_COUNT; ++item)
            if (g_itemHovered[item]) hovered.push_back(item);
        return hovered;
    }
};

TEST_F(MenuTest, HotAreasReachBeyondThePlatesAndExcludeTheirBorders) {
    const std::tuple<int, int, std::vector<int>> cases[] = {
        {221, 211, {MENU_ITEM_NEW_GAME}},    {220, 230, {}},
        {215, 260, {MENU_ITEM_HIGH_SCORES}}, {380, 220, {MENU_ITEM_NEW_GAME}},
        {300, 320, {MENU_ITEM_CLOSE}},       {0, 0, {}}};
    for (const auto& [x, y, items] : cases)
        EXPECT_EQ(hoveredAt(x, y), items) << x << ", " << y;
    EXPECT_EQ(tintOf(plate), (std::vector<float>{0.7f, 0.7f, 1.0f})) << "the idle plate";
    EXPECT_EQ(hoveredAt(300, 260), std::vector<int>{MENU_ITEM_HIGH_SCORES});
    EXPECT_EQ(tintOf(glow), (std::vector<float>{0.4f, 0.4f, 1.0f})) << "the high-scores item's own glow";
}

TEST_F(MenuTest, CursorIsDrawnAtTheMouseWithATintThatWrapsRedGreenAfterAThousandFramesBlueAfterFiveHundred) {
    g_mouseX = 123;
    g_mouseY = 45;
    drawMenu(menu);
    EXPECT_EQ(std::make_pair(cursor.x, cursor.y), std::make_pair(123.0f, 45.0f));
    EXPECT_EQ(tintOf(background), (std::vector<float>{1.3f, 1.0f, 1.0f})) << "tinted after the first frame";
    const auto nearOne = [](float value) { return value > 0.99f && value < 1.0f ? 1.0f : value; };
    std::vector<float> edges;  // blue after frames 500 and 501; red and green after frames 1000 and 1001
    for (int frame = 2; frame <= 1001; ++frame) {
        drawMenu(menu);
        if (frame == 500 || frame == 501) edges.push_back(nearOne(g_cursorBlue));
        if (frame >= 1000) edges.insert(edges.end(), {nearOne(g_cursorRed), nearOne(g_cursorGreen)});
    }
    EXPECT_EQ(edges, (std::vector<float>{1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(tintOf(cursor), (std::vector<float>{0.0f, 0.0f, g_cursorBlue}));
}

}  // namespace
