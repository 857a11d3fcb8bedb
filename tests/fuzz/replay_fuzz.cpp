// Any bytes as a recording, and any bytes as the records of a well-formed one: loading and reading must stop
// at the end of the data, with an error and bounded memory, whatever the numbers claim.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/replay/recording.h"

namespace {

// The input as the payload of one well-formed file, so that the reads past the header and checksums are
// fuzzed.
std::vector<std::uint8_t> wrapped(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(replay::HEADER_SIZE, 0);
    std::memcpy(file.data(), "PELDEMO", 8);
    file[8] = replay::RECORDING_VERSION;
    for (std::size_t at = 0; at < size; at += replay::BLOCK_PAYLOAD) {
        const std::size_t length = size - at < replay::BLOCK_PAYLOAD ? size - at : replay::BLOCK_PAYLOAD;
        const std::uint32_t fields[2] = {static_cast<std::uint32_t>(length),
                                         replay::crc32(data + at, length)};
        for (const std::uint32_t field : fields)
            for (int i = 0; i < 4; ++i)
                file.push_back(static_cast<std::uint8_t>(field >> (8 * i)));
        file.insert(file.end(), data + at, data + at + length);
    }
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    replay::Reader raw;
    raw.load(std::vector<std::uint8_t>(data, data + size));

    replay::Reader reader;
    if (!reader.load(wrapped(data, size))) __builtin_trap();
    // Each record's operation picks what is read next, as the replayed operations do.
    while (!reader.failed() && !reader.atEnd()) {
        const auto op = static_cast<unsigned>(reader.op());
        if (op % 3 == 0) reader.signedNumber();
        if (op % 3 == 1) reader.unsignedNumber();
        std::uint8_t guid[16];
        if (op % 3 == 2) reader.bytes(guid, sizeof guid);
    }
    return 0;
}
