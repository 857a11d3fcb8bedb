// Files for the tests: whole-file reads and writes, little-endian fields, and bitmap files put together by
// hand for what no tool writes.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testfiles {

using Bytes = std::vector<std::uint8_t>;

inline Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The low `bytes` bytes of v, least significant first; fields wider than 4 bytes are zero-filled.
inline void putLe(Bytes& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(i < 4 ? v >> (8 * i) : 0));
}

// A bitmap file's fields. The palette is R, G, B triples; the pixels are the rows as stored.
struct DibFields {
    std::uint32_t headerSize = 40;  // 12 (core) or 40
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    Bytes palette;
    Bytes pixels;
    bool fileHeader = true;  // false: a bare DIB, the info header first
};

inline Bytes makeDib(const DibFields& s) {
    const bool core = s.headerSize == 12;
    Bytes info;
    putLe(info, s.headerSize, 4);
    putLe(info, static_cast<std::uint32_t>(s.width), core ? 2 : 4);
    putLe(info, static_cast<std::uint32_t>(s.height), core ? 2 : 4);
    putLe(info, 1, 2);
    putLe(info, static_cast<std::uint32_t>(s.bitCount), 2);
    if (!core) {
        putLe(info, s.compression, 4);
        putLe(info, 0, 12);
        putLe(info, s.colorsUsed, 4);
        putLe(info, 0, 4);
    }
    for (std::size_t i = 0; i + 2 < s.palette.size(); i += 3) {
        info.insert(info.end(), {s.palette[i + 2], s.palette[i + 1], s.palette[i]});
        if (!core) info.push_back(0);
    }
    Bytes file;
    if (s.fileHeader) {
        file = {'B', 'M'};
        putLe(file, static_cast<std::uint32_t>(14 + info.size() + s.pixels.size()), 4);
        putLe(file, 0, 4);
        putLe(file, static_cast<std::uint32_t>(14 + info.size()), 4);
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), s.pixels.begin(), s.pixels.end());
    return file;
}

}  // namespace testfiles
