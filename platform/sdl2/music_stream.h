// The music as the mixer plays it: the MP3 decoded as it plays from its file image in memory, converted to
// the device's format, and joined to its own start without a gap when it loops.
//
// Where the decoding happens: in the audio callback, a slice at a time, from the whole file read into memory
// when the track was rendered. So start-up decodes only the track's first samples; the callback touches no
// file and allocates nothing (libmpg123 takes its buffers when the track is opened), and decoding a period of
// music costs a small fraction of the period's length (bench/audio). A ring filled ahead from the main thread
// would run dry whenever the engine's frames stop, as they do while its window is inactive, while the music
// is meant to play on; a decoding thread of its own would add a second lock and a wake-up for no gain.
//
// The loop: the engine answers the end of the track (an end event) by seeking back to 0, but only at its next
// frame, so the end would leave a gap and a click. Instead, at the end the stream goes on at once from the
// track's start, and takes the rewind to 0 that follows as already done. If no rewind comes while the start
// plays for `rewindWait` frames (the engine's frames have stopped), the stream stands at the track's end, as
// a finished track does, until a seek starts it again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/sdl2/mp3_decode.h"
#include "platform/sdl2/voice.h"

namespace sdl2 {

class MusicStream final : public VoiceStream {
public:
    // Opens the MP3 in `image` (not copied: it must outlive the stream) for output at `outputRate`, and
    // decodes its first samples. False when nothing in it can be played. Once per stream.
    bool open(const std::uint8_t* image, std::size_t size, int outputRate, std::size_t rewindWait);

    // The audio callback's side.
    std::size_t read(std::int16_t* out, std::size_t frames) override;

    // The main thread's side, each called with the mixer locked.
    // Takes one end of the track reached since the last one taken; false when there is none.
    bool takeEnd();
    // Plays on from output frame `frame` of the track. Right after an end, a seek to 0 is the rewind that
    // answers it, already done.
    void seek(std::size_t frame);
    // Back to the start, with no end to take.
    void reset();
    // The track stands at its end: nothing plays until a seek or a reset.
    bool atEnd() const { return standing; }

private:
    // Frames of decoded input held for conversion: one MPEG audio frame's worth.
    static constexpr std::size_t WINDOW_FRAMES = 1152;

    void startAt(std::size_t frame);
    void trackEnded();
    std::size_t convert(std::int16_t* out, std::size_t frames);
    void refill();
    std::int32_t sample(std::size_t frame, int channel) const;

    Mp3Decoder decoder;
    int channels = 0;
    int inputRate = 0;
    int outputRate = 0;
    std::size_t rewindWait = 0;

    // The callback's own: input frames [windowStart, windowStart + windowFrames) decoded and not yet done
    // with; the next output frame, and where it lies in the input (pcm_convert.h).
    std::int16_t window[WINDOW_FRAMES * 2] = {};
    std::size_t windowStart = 0;
    std::size_t windowFrames = 0;
    bool decoderDone = false;
    std::size_t nextOutput = 0;
    std::size_t inputFrame = 0;
    std::int64_t fraction = 0;
    std::size_t passFrames = 0;  // output frames made since the track last started

    // Shared with the main thread, under the mixer lock.
    int endsReached = 0;
    bool awaitingRewind = false;  // the track has ended and its start plays on
    std::size_t awaitedFrames = 0;
    bool standing = false;
    bool seekPending = false;
    std::size_t seekTarget = 0;
};

}  // namespace sdl2
