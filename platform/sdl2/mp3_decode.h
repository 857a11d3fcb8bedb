// MP3 decoding with libmpg123 from a file image held in memory, a piece at a time, so that the music is
// decoded as it plays. The music stream plays what it decodes; the fuzz target of the music path drives it
// through that stream.
#pragma once

#include <cstddef>
#include <cstdint>

struct mpg123_handle_struct;

namespace sdl2 {

class Mp3Decoder {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // Opens the MP3 in `image` (not copied: it must outlive the decoder) and finds its format. False when it
    // holds no MPEG audio.
    bool open(const std::uint8_t* image, std::size_t size);
    int channels() const { return channelCount; }  // 1 or 2
    int rate() const { return sampleRate; }

    // Decodes up to `frames` frames of interleaved signed 16-bit samples in the stream's format, fewer only
    // at the end of the track. The encoder's delay and padding are left out, so that a track made to loop
    // loops without a gap. An error or a change of format ends the track there. Allocates nothing.
    std::size_t read(std::int16_t* out, std::size_t frames);
    // Goes to sample `frame` of the track, so that read continues from there. Allocates nothing.
    bool seek(std::size_t frame);

    // The image as a seekable file for libmpg123's reader callbacks.
    struct MemoryFile {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        std::size_t position = 0;
    };

private:
    void close();

    mpg123_handle_struct* decoder = nullptr;
    MemoryFile file;
    int channelCount = 0;
    int sampleRate = 0;
    bool finished = false;
};

}  // namespace sdl2
