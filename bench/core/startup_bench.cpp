// Start-up to the first presented frame, the engine's side by side with its baseline (one of each per
// iteration, so both see the same load on the machine): the engine's start-up to its first menu frame
// (startup_engine) against the matched bare window (startup_bare: the engine's GL attributes in the same
// full-screen mode), once with no sound device and once with one (SDL's dummy driver). Counters: both
// start-ups' milliseconds and their ratio. Run it from a run folder, on an X server whose screen is 640 x 480
// at 16 bits so that both go full screen (bench/core/startup.sh does).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* AUDIO_DRIVER_VARIABLE = "SDL_AUDIODRIVER=";
constexpr const char* PRESENTED = "presented\n";

// The environment with SDL's audio driver set to `audioDriver`, or left as it is when that is null.
std::vector<std::string> environmentWith(const char* audioDriver) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        if (!audioDriver ||
            std::strncmp(*variable, AUDIO_DRIVER_VARIABLE, std::strlen(AUDIO_DRIVER_VARIABLE)) != 0)
            variables.emplace_back(*variable);
    }
    if (audioDriver) variables.push_back(std::string(AUDIO_DRIVER_VARIABLE) + audioDriver);
    return variables;
}

// Runs `program` and returns the seconds from its start until it says it has presented its first frame, or a
// negative number when it failed. Waits for it to end, outside the time.
double secondsToFirstFrame(const char* program, const char* audioDriver) {
    int output[2];
    if (pipe(output) != 0) return -1.0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    std::vector<std::string> variables = environmentWith(audioDriver);
    std::vector<char*> envp;
    envp.reserve(variables.size() + 1);
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    std::string name = program;
    char* argv[] = {name.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string said;
    double seconds = -1.0;
    char chunk[256];
    ssize_t got = 0;
    while (spawned == 0 && (got = read(output[0], chunk, sizeof chunk)) > 0) {
        said.append(chunk, static_cast<std::size_t>(got));
        if (seconds < 0.0 && said.find(PRESENTED) != std::string::npos)
            seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    close(output[0]);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1.0;
    return seconds;
}

void BM_StartUpSideBySide(benchmark::State& state, const char* audioDriver) {
    double engine = 0.0;
    double bare = 0.0;
    for (auto _ : state) {
        const double bareSeconds = secondsToFirstFrame(STARTUP_BARE, nullptr);
        const double engineSeconds = secondsToFirstFrame(STARTUP_ENGINE, audioDriver);
        if (bareSeconds < 0.0 || engineSeconds < 0.0) {
            state.SkipWithError("a start-up failed: run under an X server, from a run folder");
            return;
        }
        state.SetIterationTime(engineSeconds);
        engine += engineSeconds;
        bare += bareSeconds;
    }
    const auto runs = static_cast<double>(state.iterations());
    state.counters["engine_ms"] = 1000.0 * engine / runs;
    state.counters["bare_ms"] = 1000.0 * bare / runs;
    state.counters["ratio"] = engine / bare;
}

// ALSA with a device that does not exist (bench/core/startup.sh sets AUDIODEV) stands for a machine without a
// sound card: the driver starts, the device does not open.
BENCHMARK_CAPTURE(BM_StartUpSideBySide, no_sound_device, "alsa")
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUpSideBySide, dummy_sound_device, "dummy")
    ->Iterations(10)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
