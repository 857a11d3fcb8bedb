#include <gtest/gtest.h>

#include "support/engine_fixture.h"

using FrameClockTest = EngineTest;

TEST_F(FrameClockTest, TwentyThousandTicksAtOneMegahertzAreFiftyFramesASecond) {
    fake::system().counterFrequency = 1000000;
    fake::system().counter = 5000;
    ASSERT_TRUE(g_display.startFrameClock());
    EXPECT_EQ(g_display.counterStart, 5000);

    fake::system().counter = 25000;
    g_display.measureFrame();
    EXPECT_FLOAT_EQ(g_display.frameTime, 0.02f);
    EXPECT_FLOAT_EQ(g_display.framesPerSecond, 50.0f);

    fake::system().counter = 45000;
    g_display.measureFrame();
    EXPECT_FLOAT_EQ(g_display.frameTime, 0.02f) << "each frame is measured from the previous one";
}

TEST_F(FrameClockTest, RateAndTimeUseSeparateReadings) {
    fake::system().counterFrequency = 1000;
    ASSERT_TRUE(g_display.startFrameClock());  // reads 0
    fake::system().counter = 100;
    fake::system().counterStep = 10;  // the second reading of a frame is 10 ticks later
    g_display.measureFrame();
    EXPECT_FLOAT_EQ(g_display.framesPerSecond, 10.0f);  // 1000 / 100
    EXPECT_FLOAT_EQ(g_display.frameTime, 0.11f);        // 110 / 1000
}

TEST_F(FrameClockTest, WithoutACounterTheClockReportsFailure) {
    fake::system().hasCounter = false;
    EXPECT_FALSE(g_display.startFrameClock());
    EXPECT_EQ(g_display.counterFrequency, 0);
    EXPECT_EQ(g_display.counterStart, 0);
    EXPECT_EQ(g_display.frameTime, 0.0f);
}

// A frame too short for the counter keeps the last rate on screen; a clock without a frequency moves nothing.
TEST_F(FrameClockTest, FramesOutsideTheCounterRangeGiveFiniteNumbers) {
    fake::system().counterFrequency = 1000;
    ASSERT_TRUE(g_display.startFrameClock());
    fake::system().counter = 20;
    g_display.measureFrame();
    ASSERT_FLOAT_EQ(g_display.framesPerSecond, 50.0f);
    g_display.measureFrame();  // no tick since the last frame
    EXPECT_FLOAT_EQ(g_display.framesPerSecond, 50.0f);
    EXPECT_EQ(g_display.frameTime, 0.0f);

    resetEngineGlobals();
    fake::system().hasCounter = false;
    ASSERT_FALSE(g_display.startFrameClock());
    fake::system().counter = 100;
    g_display.measureFrame();
    EXPECT_EQ(g_display.frameTime, 0.0f);
    EXPECT_EQ(g_display.framesPerSecond, 0.0f);
}
