#include "platform/sdl2/mp3_decode.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace sdl2 {

namespace {

constexpr std::size_t DECODE_CHUNK_BYTES = 16384;
constexpr std::size_t BYTES_PER_SAMPLE = 2;

// The image as a seekable file for libmpg123's reader callbacks.
struct MemoryFile {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

ssize_t readMemory(void* handle, void* to, size_t bytes) {
    auto* file = static_cast<MemoryFile*>(handle);
    const std::size_t count = std::min(bytes, file->size - file->position);
    if (count > 0) std::memcpy(to, file->data + file->position, count);
    file->position += count;
    return static_cast<ssize_t>(count);
}

off_t seekMemory(void* handle, off_t offset, int whence) {
    auto* file = static_cast<MemoryFile*>(handle);
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

// Reads samples until the end, an error, a change of format or the frame limit.
void readAll(mpg123_handle* decoder, std::size_t maxFrames, DecodedPcm* out) {
    std::uint8_t chunk[DECODE_CHUNK_BYTES];
    for (;;) {
        std::size_t done = 0;
        const int result = mpg123_read(decoder, chunk, sizeof chunk, &done);
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(decoder, &rate, &channels, &encoding);
            if (out->channels != 0 && (channels != out->channels || rate != out->rate)) return;
            out->channels = channels;
            out->rate = static_cast<int>(rate);
        }
        if (out->channels != 0 && done > 0) {
            const std::size_t frameBytes = BYTES_PER_SAMPLE * static_cast<std::size_t>(out->channels);
            const std::size_t room = maxFrames * frameBytes - out->bytes.size();
            const std::size_t keep = std::min(done - done % frameBytes, room);
            out->bytes.insert(out->bytes.end(), chunk, chunk + keep);
            if (keep < done) return;
        }
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) return;
    }
}

}  // namespace

bool decodeMp3(const std::uint8_t* image, std::size_t size, std::size_t maxFrames, DecodedPcm* out) {
    *out = DecodedPcm{};
    if (!image || size == 0) return false;
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (!decoder) return false;
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    acceptSigned16(decoder);
    MemoryFile file{image, size, 0};
    if (mpg123_replace_reader_handle(decoder, &readMemory, &seekMemory, nullptr) == MPG123_OK &&
        mpg123_open_handle(decoder, &file) == MPG123_OK) {
        readAll(decoder, maxFrames, out);
        mpg123_close(decoder);
    }
    mpg123_delete(decoder);
    return !out->bytes.empty();
}

}  // namespace sdl2
