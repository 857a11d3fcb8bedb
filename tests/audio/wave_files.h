// WAV test files: made by sox where it can make them, built byte by byte where it cannot.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace wave_files {

// A RIFF/WAVE image put together chunk by chunk.
class Builder {
public:
    // "RIFF", size, "WAVE", then a "fmt " chunk of `formatBytes` bytes (16 or more) holding the given format.
    Builder(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
            std::uint32_t formatBytes = 16);
    Builder& chunk(const char* id, const std::vector<std::uint8_t>& payload);
    // A chunk header whose size field claims `claimed` bytes, followed by nothing.
    Builder& header(const char* id, std::uint32_t claimed);
    std::vector<std::uint8_t> bytes() const { return image; }

private:
    std::vector<std::uint8_t> image;
};

// Runs "sox -n OPTIONS PATH synth SECONDS sine 440": a tone in the output format OPTIONS name. False when sox
// fails.
inline bool makeWithSox(const std::string& options, const std::string& path, const char* seconds = "0.01") {
    const std::string command =
        "sox -n " + options + " '" + path + "' synth " + seconds + " sine 440 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

inline std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

inline void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

inline Builder::Builder(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                        std::uint32_t formatBytes) {
    const std::uint32_t blockAlign = channels * bits / 8u;
    image = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    put32(image, formatBytes);
    put16(image, tag);
    put16(image, channels);
    put32(image, rate);
    put32(image, rate * blockAlign);
    put16(image, blockAlign);
    put16(image, bits);
    image.resize(image.size() + formatBytes - 16, 0);
}

inline Builder& Builder::chunk(const char* id, const std::vector<std::uint8_t>& payload) {
    header(id, static_cast<std::uint32_t>(payload.size()));
    image.insert(image.end(), payload.begin(), payload.end());
    return *this;
}

inline Builder& Builder::header(const char* id, std::uint32_t claimed) {
    image.insert(image.end(), id, id + 4);
    put32(image, claimed);
    return *this;
}

}  // namespace wave_files
