#include "platform/sdl2/mp3_decode.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace sdl2 {

namespace {

constexpr std::size_t BYTES_PER_SAMPLE = 2;

ssize_t readMemory(void* handle, void* to, size_t bytes) {
    auto* file = static_cast<Mp3Decoder::MemoryFile*>(handle);
    const std::size_t count = std::min(bytes, file->size - file->position);
    if (count > 0) std::memcpy(to, file->data + file->position, count);
    file->position += count;
    return static_cast<ssize_t>(count);
}

off_t seekMemory(void* handle, off_t offset, int whence) {
    auto* file = static_cast<Mp3Decoder::MemoryFile*>(handle);
    const off_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? static_cast<off_t>(file->position)
                                            : static_cast<off_t>(file->size);
    const off_t target = base + offset;
    if (target < 0 || target > static_cast<off_t>(file->size)) return -1;
    file->position = static_cast<std::size_t>(target);
    return target;
}

// Every rate libmpg123 decodes, in signed 16-bit mono or stereo: no resampling inside the decoder.
void acceptSigned16(mpg123_handle* decoder) {
    mpg123_format_none(decoder);
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
}

}  // namespace

Mp3Decoder::~Mp3Decoder() {
    close();
}

void Mp3Decoder::close() {
    if (!decoder) return;
    mpg123_close(decoder);
    mpg123_delete(decoder);
    decoder = nullptr;
    channelCount = 0;
    sampleRate = 0;
}

bool Mp3Decoder::open(const std::uint8_t* image, std::size_t size) {
    close();
    if (!image || size == 0) return false;
    decoder = mpg123_new(nullptr, nullptr);
    if (!decoder) return false;
    // Tags are not needed, so they are skipped rather than parsed.
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS | MPG123_SKIP_ID3V2, 0.0);
    acceptSigned16(decoder);
    file = MemoryFile{image, size, 0};
    long formatRate = 0;
    int encoding = 0;
    // The format is taken once, here; read sees any later announcement of it as a change.
    if (mpg123_replace_reader_handle(decoder, &readMemory, &seekMemory, nullptr) != MPG123_OK ||
        mpg123_open_handle(decoder, &file) != MPG123_OK ||
        mpg123_getformat2(decoder, &formatRate, &channelCount, &encoding, 1) != MPG123_OK) {
        close();
        return false;
    }
    sampleRate = static_cast<int>(formatRate);
    finished = false;
    return true;
}

std::size_t Mp3Decoder::read(std::int16_t* out, std::size_t frames) {
    if (!decoder) return 0;
    const std::size_t frameBytes = BYTES_PER_SAMPLE * static_cast<std::size_t>(channelCount);
    auto* to = reinterpret_cast<unsigned char*>(out);
    std::size_t filled = 0;
    while (!finished && filled < frames * frameBytes) {
        std::size_t done = 0;
        const int result = mpg123_read(decoder, to + filled, frames * frameBytes - filled, &done);
        filled += done;
        if (result == MPG123_NEW_FORMAT) {
            long newRate = 0;
            int newChannels = 0;
            int encoding = 0;
            mpg123_getformat(decoder, &newRate, &newChannels, &encoding);
            finished = newChannels != channelCount || newRate != sampleRate;
        } else if (result != MPG123_OK) {
            finished = true;
        }
    }
    return filled / frameBytes;
}

bool Mp3Decoder::seek(std::size_t frame) {
    if (!decoder) return false;
    finished = mpg123_seek(decoder, static_cast<off_t>(frame), SEEK_SET) < 0;
    return !finished;
}

}  // namespace sdl2
