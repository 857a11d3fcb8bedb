#include "platform/sdl2/music_stream.h"

#include <algorithm>
#include <cstring>

#include "platform/sdl2/pcm_convert.h"

namespace sdl2 {

bool MusicStream::open(const std::uint8_t* image, std::size_t size, int rate, std::size_t wait) {
    if (!decoder.open(image, size)) return false;
    channels = decoder.channels();
    inputRate = decoder.rate();
    outputRate = rate;
    rewindWait = wait;
    if (!isConvertible({channels, 16, inputRate}) || !isConvertible({MIXER_CHANNELS, 16, outputRate})) {
        return false;
    }
    // The start is decoded here, so that a file with nothing playable is known before it is played.
    refill();
    return windowFrames > 0;
}

std::size_t MusicStream::read(std::int16_t* out, std::size_t frames) {
    if (seekPending) {
        seekPending = false;
        startAt(seekTarget);
    }
    std::size_t made = 0;
    while (made < frames && !standing) {
        std::size_t wanted = frames - made;
        if (awaitingRewind) {
            if (awaitedFrames == rewindWait) {
                awaitingRewind = false;
                standing = true;
                break;
            }
            wanted = std::min(wanted, rewindWait - awaitedFrames);
        }
        const std::size_t got = convert(out + made * MIXER_CHANNELS, wanted);
        made += got;
        passFrames += got;
        if (awaitingRewind) awaitedFrames += got;
        if (got < wanted) trackEnded();
    }
    return made;
}

bool MusicStream::takeEnd() {
    if (endsReached == 0) return false;
    --endsReached;
    return true;
}

void MusicStream::seek(std::size_t frame) {
    const bool answersEnd = awaitingRewind && frame == 0;
    awaitingRewind = false;
    if (answersEnd) return;
    standing = false;
    seekPending = true;
    seekTarget = frame;
}

void MusicStream::reset() {
    awaitingRewind = false;
    standing = false;
    seekPending = true;
    seekTarget = 0;
    endsReached = 0;
}

void MusicStream::startAt(std::size_t frame) {
    const std::uint64_t scaled = static_cast<std::uint64_t>(frame) * static_cast<std::uint64_t>(inputRate);
    inputFrame = static_cast<std::size_t>(scaled / static_cast<std::uint64_t>(outputRate));
    fraction = static_cast<std::int64_t>(scaled % static_cast<std::uint64_t>(outputRate));
    nextOutput = frame;
    windowStart = inputFrame;
    windowFrames = 0;
    passFrames = 0;
    decoderDone = !decoder.seek(inputFrame);
}

// Straight on from the start, unless the track has nothing to play (a seek past its end) or ran out again
// before the rewind of its last end came.
void MusicStream::trackEnded() {
    if (passFrames == 0 || awaitingRewind) {
        awaitingRewind = false;
        standing = true;
        return;
    }
    ++endsReached;
    awaitingRewind = true;
    awaitedFrames = 0;
    startAt(0);
}

// Up to `frames` output frames of the track from nextOutput on; fewer at its end.
std::size_t MusicStream::convert(std::int16_t* out, std::size_t frames) {
    std::size_t made = 0;
    while (made < frames) {
        const std::size_t windowEnd = windowStart + windowFrames;
        if (!decoderDone && inputFrame + 1 >= windowEnd) {
            refill();
            continue;
        }
        if (decoderDone && nextOutput >= outputFrameCount(windowEnd, inputRate, outputRate)) break;
        const std::size_t following = std::min(inputFrame + 1, windowEnd - 1);
        for (int channel = 0; channel < MIXER_CHANNELS; ++channel) {
            *out++ =
                interpolate(sample(inputFrame, channel), sample(following, channel), fraction, outputRate);
        }
        ++made;
        ++nextOutput;
        for (fraction += inputRate; fraction >= outputRate; fraction -= outputRate)
            ++inputFrame;
    }
    return made;
}

// Drops the input before the frame the next output starts at and decodes more behind what is left.
void MusicStream::refill() {
    const std::size_t windowEnd = windowStart + windowFrames;
    const std::size_t keepFrom = std::min(inputFrame, windowEnd);
    const std::size_t kept = windowEnd - keepFrom;
    const auto width = static_cast<std::size_t>(channels);
    std::memmove(window, window + (keepFrom - windowStart) * width, kept * width * sizeof window[0]);
    windowStart = keepFrom;
    const std::size_t got = decoder.read(window + kept * width, WINDOW_FRAMES - kept);
    windowFrames = kept + got;
    decoderDone = got == 0;
}

std::int32_t MusicStream::sample(std::size_t frame, int channel) const {
    return window[(frame - windowStart) * static_cast<std::size_t>(channels) + (channels == 2 ? channel : 0)];
}

}  // namespace sdl2
