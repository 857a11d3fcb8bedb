// Runs what a benchmark measures and its baseline alternately, one of each per iteration, so that both see
// the same load on the machine. The iteration's time is the measured one's (use UseManualTime); the counters
// give both in milliseconds and their ratio, under the caller's names.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>

namespace benchharness {

// Wall time: for what waits on other threads or processes (drawing, presenting, start-up).
inline double wallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The process's processor time: for work on one thread, which time given to other programs does not lengthen.
inline double processorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

template <typename Measured, typename Baseline>
void runSideBySide(benchmark::State& state, double (*seconds)(), Measured measured, Baseline baseline,
                   const std::string& measuredName, const std::string& baselineName) {
    double measuredTotal = 0.0;
    double baselineTotal = 0.0;
    for (auto _ : state) {
        const double start = seconds();
        measured();
        const double middle = seconds();
        baseline();
        const double end = seconds();
        state.SetIterationTime(middle - start);
        measuredTotal += middle - start;
        baselineTotal += end - middle;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters[measuredName + "_ms"] = 1000.0 * measuredTotal / runs;
    state.counters[baselineName + "_ms"] = 1000.0 * baselineTotal / runs;
    state.counters["ratio"] = measuredTotal / baselineTotal;
}

}  // namespace benchharness
