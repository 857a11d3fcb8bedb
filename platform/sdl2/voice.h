// What the mixer plays: voices, each a sound buffer's samples held whole or a stream made as it plays (the
// music), and the mixing of them into the device's output. Nothing here needs SDL or a device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sdl2 {

constexpr int MIXER_CHANNELS = 2;

// Samples in the device's format: interleaved signed 16-bit stereo at Mixer::rate().
using DeviceSamples = std::vector<std::int16_t>;

// A source whose samples are made as it plays. read runs on the audio callback's thread: it must not
// allocate, lock or touch files.
class VoiceStream {
public:
    virtual ~VoiceStream() = default;
    // Up to `frames` frames in the device's format into `out`; fewer only when the stream has nothing more to
    // play.
    virtual std::size_t read(std::int16_t* out, std::size_t frames) = 0;
};

// One source the callback mixes: a sound buffer or the music. Owned by whoever attached it.
struct Voice {
    const DeviceSamples* samples = nullptr;  // what it plays, held whole; or
    VoiceStream* stream = nullptr;           // what it plays, made as it plays
    std::size_t position = 0;                // next frame of `samples` to mix
    bool playing = false;
    bool looping = false;
    int endsReached = 0;  // times a voice of samples played once reached its end; its owner takes them
    Voice* prev = nullptr;
    Voice* next = nullptr;
};

// What the callback does with the device's buffer: the sum of every playing voice in the list, clipped, over
// `frames` frames of `out`. Voices that reach their end stop (or loop) and count it; a stream that runs out
// stops. Allocates nothing.
void mixInto(Voice* voices, std::int16_t* out, std::size_t frames);

}  // namespace sdl2
