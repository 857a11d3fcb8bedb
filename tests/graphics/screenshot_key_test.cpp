// F1 saves a screenshot from either frame routine, once per press.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "core/game_state.h"
#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "support/engine_fixture.h"

namespace {

using ScreenshotKey = EngineTest;

bool screenshotSaved() {
    const bool saved = std::ifstream("ekrang.tga").good();
    std::remove("ekrang.tga");
    return saved;
}

TEST_F(ScreenshotKey, F1JustPressedSavesFromMenuAndPlayFrames) {
    ASSERT_EQ(g_input.init(nullptr, fake::fakeWindowHandle()), DI_OK);
    const auto frames = {runMenuFrame, runPlayFrame};
    for (bool (*frame)() : frames) {
        fake::pressKey(DIK_F1);
        g_input.poll();
        frame();
        EXPECT_TRUE(screenshotSaved());
        g_input.poll();  // held: no second screenshot
        frame();
        EXPECT_FALSE(screenshotSaved());
        fake::releaseKey(DIK_F1);
        g_input.poll();
        frame();
        EXPECT_FALSE(screenshotSaved());
    }
}

}  // namespace
