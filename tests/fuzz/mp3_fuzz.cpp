// The music path as the SDL2 media graph plays it: the track opened from a file image in memory, then read a
// period at a time as the audio callback does, decoded and converted to the mixer's format as it goes. Its
// first end is answered with the rewind the engine makes, so the join is played too; the next end is left
// unanswered, which stops the stream.
#include <cstddef>
#include <cstdint>

#include "platform/sdl2/music_stream.h"

namespace {

constexpr int MIXER_RATE = 44100;
constexpr std::size_t PERIOD_FRAMES = 1024;
constexpr std::size_t REWIND_WAIT_FRAMES = 4096;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sdl2::MusicStream music;
    if (!music.open(data, size, MIXER_RATE, REWIND_WAIT_FRAMES)) return 0;
    std::int16_t period[PERIOD_FRAMES * sdl2::MIXER_CHANNELS];
    bool answered = false;
    while (music.read(period, PERIOD_FRAMES) == PERIOD_FRAMES) {
        if (!answered && music.takeEnd()) {
            music.seek(0);
            answered = true;
        }
    }
    return 0;
}
