// The frame clock of the Display: how long the last drawn frame took, from the high-resolution counter.
#include "graphics/display.h"
#include "platform/system.h"

bool Display::startFrameClock() {
    if (!plat::queryPerformanceFrequency(&counterFrequency)) return false;
    plat::queryPerformanceCounter(&counterStart);
    return true;
}

// Two readings, two saved values: the rate and the time are measured separately, so framesPerSecond is close
// to but not exactly 1 / frameTime. Neither is smoothed; both describe the single last frame.
// A frame shorter than one tick has no rate to show, so the last one stays on screen rather than "inf";
// without a counter frequency nothing moves, rather than every speed becoming infinite.
void Display::measureFrame() {
    if (!clockRunning) {
        lastRateCounter = counterStart;
        lastTimeCounter = counterStart;
        clockRunning = true;
    }

    std::int64_t rateCounter = 0;
    plat::queryPerformanceCounter(&rateCounter);
    const std::int64_t rateTicks = rateCounter - lastRateCounter;
    if (rateTicks > 0)
        framesPerSecond =
            static_cast<float>(static_cast<double>(counterFrequency) / static_cast<double>(rateTicks));
    lastRateCounter = rateCounter;

    std::int64_t timeCounter = 0;
    plat::queryPerformanceCounter(&timeCounter);
    frameTime = counterFrequency > 0 ? static_cast<float>(static_cast<double>(timeCounter - lastTimeCounter) /
                                                          static_cast<double>(counterFrequency))
                                     : 0.0f;
    lastTimeCounter = timeCounter;
}
