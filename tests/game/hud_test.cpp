#include "game/hud.h"

#include "game_test_support.h"
#include "graphics/display.h"

namespace {

using HudTest = GameTest;

TEST_F(HudTest, FrameRateIsRoundedToAWholeNumber) {
    char text[HUD_TEXT_SIZE];
    formatFrameRate(text, sizeof text, 59.6f);
    EXPECT_STREQ(text, "FPS : 60");
    formatFrameRate(text, sizeof text, 0.0f);
    EXPECT_STREQ(text, "FPS : 0");
    formatFrameRate(text, sizeof text, 1234.4f);
    EXPECT_STREQ(text, "FPS : 1234");
}

TEST_F(HudTest, PrintsItsFiveTextsInOrder) {
    const float savedRate = g_display.framesPerSecond;
    g_display.framesPerSecond = 59.6f;
    drawPlayHud();
    g_display.framesPerSecond = savedRate;

    ASSERT_EQ(printed().size(), 5u);
    const PrintedText expected[] = {
        {10, 15, "FPS : 60", false}, {10, 30, "Brikatan", true}, {200, 15, "Oyuncu 1", true},
        {200, 30, "Puan = 0", true}, {350, 15, "Bolum 1", true},
    };
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(printed()[i].x, expected[i].x) << i;
        EXPECT_EQ(printed()[i].y, expected[i].y) << i;
        EXPECT_EQ(printed()[i].text, expected[i].text) << i;
        EXPECT_EQ(printed()[i].label, expected[i].label) << i;
    }
}

}  // namespace
