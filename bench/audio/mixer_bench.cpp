// What one audio callback costs with the game's sounds playing, beside a plain copy of the same output; and
// what decoding the music at start-up costs, beside reading its file.
#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/sdl2/mp3_decode.h"
#include "platform/sdl2/pcm_convert.h"
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

void BM_DecodeMusic(benchmark::State& state) {
    for (auto _ : state) {
        const auto image = musicFile();
        sdl2::DecodedPcm pcm;
        sdl2::decodeMp3(image.data(), image.size(), std::size_t{48000} * 300, &pcm);
        std::vector<std::int16_t> converted;
        sdl2::convertToStereo16(pcm.bytes.data(), pcm.bytes.size(), {pcm.channels, 16, pcm.rate}, 48000,
                                &converted);
        benchmark::DoNotOptimize(converted.data());
    }
}
BENCHMARK(BM_DecodeMusic)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
