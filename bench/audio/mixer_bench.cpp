// What one audio callback costs with the game's sounds or the music playing, beside a plain copy of the same
// output; and what rendering the music costs at start-up, beside reading its file.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/sdl2/music_stream.h"
#include "platform/sdl2/sdl_mixer.h"

namespace {

constexpr std::size_t PERIOD_FRAMES = 1024;  // one callback of the device as opened
constexpr std::size_t SOUND_FRAMES = 44100;  // one second of sound per voice

void BM_CopyPeriod(benchmark::State& state) {
    const std::vector<std::int16_t> source(PERIOD_FRAMES * 2, 1000);
    std::vector<std::int16_t> out(PERIOD_FRAMES * 2);
    for (auto _ : state) {
        std::memcpy(out.data(), source.data(), out.size() * sizeof(std::int16_t));
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyPeriod);

void BM_MixPeriod(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    const sdl2::DeviceSamples samples(SOUND_FRAMES * 2, 1000);
    std::vector<sdl2::Voice> voices(count);
    for (std::size_t i = 0; i < count; ++i) {
        voices[i].samples = &samples;
        voices[i].playing = true;
        voices[i].looping = true;
        voices[i].next = i + 1 < count ? &voices[i + 1] : nullptr;
    }
    std::vector<std::int16_t> out(PERIOD_FRAMES * 2);
    for (auto _ : state) {
        sdl2::mixInto(voices.data(), out.data(), PERIOD_FRAMES);
        benchmark::DoNotOptimize(out.data());
    }
}
// One voice; the sixteen copies of the game's five sounds all sounding; and the music besides.
BENCHMARK(BM_MixPeriod)->Arg(1)->Arg(16)->Arg(17);

std::vector<std::uint8_t> musicFile() {
    std::ifstream in(std::string(PEL_SOURCE_DIR) + "/data/snd/oyun.mp3", std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_ReadMusicFile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(musicFile());
}
BENCHMARK(BM_ReadMusicFile)->Unit(benchmark::kMillisecond);

// What rendering the music costs before its first note: its file read and its first samples decoded.
void BM_OpenMusic(benchmark::State& state) {
    for (auto _ : state) {
        const auto image = musicFile();
        sdl2::MusicStream music;
        music.open(image.data(), image.size(), static_cast<int>(state.range(0)), 0);
        benchmark::DoNotOptimize(&music);
    }
}
BENCHMARK(BM_OpenMusic)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

// One callback's worth of music decoded and converted as it plays, the track looping with each end answered
// as the engine does; at the track's own rate and resampled.
void BM_MusicPeriod(benchmark::State& state) {
    const auto image = musicFile();
    sdl2::MusicStream music;
    music.open(image.data(), image.size(), static_cast<int>(state.range(0)), PERIOD_FRAMES);
    std::vector<std::int16_t> out(PERIOD_FRAMES * 2);
    for (auto _ : state) {
        music.read(out.data(), PERIOD_FRAMES);
        if (music.takeEnd()) music.seek(0);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MusicPeriod)->Arg(44100)->Arg(48000);

}  // namespace

BENCHMARK_MAIN();
