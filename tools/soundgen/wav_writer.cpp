#include "wav_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::uint32_t FORMAT_BYTES = 16;
constexpr std::uint16_t PCM = 1;
constexpr std::uint16_t BITS = 16;
constexpr double FULL_SCALE = 32767.0;

void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

void putId(std::vector<std::uint8_t>& out, const char* id) {
    out.insert(out.end(), id, id + 4);
}

}  // namespace

bool writeWav16(const std::string& path, const std::vector<double>& samples, int channels, int rate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    const auto blockAlign = static_cast<std::uint32_t>(channels * 2);
    std::vector<std::uint8_t> out;
    putId(out, "RIFF");
    put32(out, 4 + 8 + FORMAT_BYTES + 8 + dataBytes);
    putId(out, "WAVE");
    putId(out, "fmt ");
    put32(out, FORMAT_BYTES);
    put16(out, PCM);
    put16(out, static_cast<std::uint32_t>(channels));
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate) * blockAlign);
    put16(out, blockAlign);
    put16(out, BITS);
    putId(out, "data");
    put32(out, dataBytes);
    for (double sample : samples) {
        const long value = std::lround(std::clamp(sample, -1.0, 1.0) * FULL_SCALE);
        put16(out, static_cast<std::uint32_t>(static_cast<std::uint16_t>(static_cast<std::int16_t>(value))));
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
