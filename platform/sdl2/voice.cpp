#include "platform/sdl2/voice.h"

#include <algorithm>
#include <cstring>

namespace sdl2 {

namespace {

// The callback mixes in slices of this many frames, so its accumulator fits on the stack.
constexpr std::size_t MIX_SLICE_FRAMES = 256;
constexpr std::int32_t SAMPLE_MIN = -32768;
constexpr std::int32_t SAMPLE_MAX = 32767;

void addSamples(const std::int16_t* from, std::int32_t* to, std::size_t frames) {
    for (std::size_t i = 0; i < frames * MIXER_CHANNELS; ++i)
        to[i] += from[i];
}

// Adds up to `frames` frames of a voice of samples to the accumulator.
void mixSamples(Voice& voice, std::int32_t* accumulator, std::size_t frames) {
    const DeviceSamples& samples = *voice.samples;
    const std::size_t total = samples.size() / MIXER_CHANNELS;
    std::size_t mixed = 0;
    while (mixed < frames && voice.playing) {
        if (voice.position >= total) {
            if (voice.looping && total > 0) {
                voice.position = 0;
                continue;
            }
            voice.playing = false;
            voice.position = total;
            ++voice.endsReached;
            break;
        }
        const std::size_t run = std::min(frames - mixed, total - voice.position);
        addSamples(samples.data() + voice.position * MIXER_CHANNELS, accumulator + mixed * MIXER_CHANNELS,
                   run);
        voice.position += run;
        mixed += run;
    }
}

// Adds up to `frames` (at most one slice) frames of a stream to the accumulator.
void mixStream(Voice& voice, std::int32_t* accumulator, std::size_t frames) {
    std::int16_t made[MIX_SLICE_FRAMES * MIXER_CHANNELS];
    const std::size_t got = voice.stream->read(made, frames);
    addSamples(made, accumulator, got);
    if (got < frames) voice.playing = false;
}

}  // namespace

void mixInto(Voice* voices, std::int16_t* out, std::size_t frames) {
    std::int32_t accumulator[MIX_SLICE_FRAMES * MIXER_CHANNELS];
    for (std::size_t done = 0; done < frames;) {
        const std::size_t slice = std::min(MIX_SLICE_FRAMES, frames - done);
        std::memset(accumulator, 0, sizeof accumulator);
        for (Voice* voice = voices; voice; voice = voice->next) {
            if (!voice->playing) continue;
            if (voice->stream) {
                mixStream(*voice, accumulator, slice);
            } else if (voice->samples) {
                mixSamples(*voice, accumulator, slice);
            }
        }
        std::int16_t* to = out + done * MIXER_CHANNELS;
        for (std::size_t i = 0; i < slice * MIXER_CHANNELS; ++i) {
            to[i] = static_cast<std::int16_t>(std::clamp(accumulator[i], SAMPLE_MIN, SAMPLE_MAX));
        }
        done += slice;
    }
}

}  // namespace sdl2
