#include "platform/replay/recording.h"

#include <array>
#include <cstring>

namespace replay {

namespace {

constexpr char MAGIC[8] = {'P', 'E', 'L', 'D', 'E', 'M', 'O', '\0'};
constexpr std::size_t VERSION_OFFSET = 8;
constexpr int VARINT_MAX_BYTES = 10;

constexpr const char* OP_NAMES[] = {
    "the end of the run",
    "the counter frequency",
    "a counter reading",
    "the millisecond clock",
    "a message box",
    "a display mode",
    "an empty queue",
    "a window message",
    "the pointer position",
    "the input object",
    "an input device",
    "an enumerated device",
    "the end of an enumeration",
    "a data format",
    "an input cooperative level",
    "an acquisition",
    "an unacquisition",
    "a device state",
    "an unchanged device state",
    "a device property",
    "a device's description",
    "a device interface",
    "a device poll",
    "the sound device",
    "a sound cooperative level",
    "a sound buffer",
    "a duplicated sound buffer",
    "a buffer lock",
    "a buffer unlock",
    "a buffer play",
    "a buffer stop",
    "a buffer status",
    "a buffer position",
    "a buffer position set",
    "a buffer restore",
    "COM start-up",
    "the music graph",
    "the music control",
    "the music events",
    "the music seeking",
    "the music file",
    "the music run",
    "the music stop",
    "no music event",
    "a music event",
    "a music event freed",
    "a music seek",
};
static_assert(sizeof OP_NAMES / sizeof OP_NAMES[0] == static_cast<std::size_t>(Op::count));

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? 0xEDB88320u ^ (value >> 1) : value >> 1;
        table[i] = value;
    }
    return table;
}
constexpr std::array<std::uint32_t, 256> CRC_TABLE = makeCrcTable();

void putU32(std::uint8_t* out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t getU32(const std::uint8_t* in) {
    return static_cast<std::uint32_t>(in[0]) | static_cast<std::uint32_t>(in[1]) << 8 |
           static_cast<std::uint32_t>(in[2]) << 16 | static_cast<std::uint32_t>(in[3]) << 24;
}

}  // namespace

const char* opName(Op op) {
    const auto index = static_cast<std::size_t>(op);
    return index < static_cast<std::size_t>(Op::count) ? OP_NAMES[index] : "an unknown record";
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = CRC_TABLE[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

bool Writer::begin(std::FILE* output) {
    file = output;
    std::uint8_t header[HEADER_SIZE] = {};
    std::memcpy(header, MAGIC, sizeof MAGIC);
    header[VERSION_OFFSET] = static_cast<std::uint8_t>(RECORDING_VERSION & 0xFF);
    header[VERSION_OFFSET + 1] = static_cast<std::uint8_t>(RECORDING_VERSION >> 8);
    writeFailed = std::fwrite(header, 1, sizeof header, file) != sizeof header;
    return !writeFailed;
}

void Writer::unsignedNumber(std::uint64_t value) {
    while (value >= 0x80) {
        byte(static_cast<std::uint8_t>(value | 0x80));
        value >>= 7;
    }
    byte(static_cast<std::uint8_t>(value));
}

void Writer::signedNumber(std::int64_t value) {
    const auto bits = static_cast<std::uint64_t>(value);
    unsignedNumber((bits << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0));
}

void Writer::bytes(const void* data, std::size_t size) {
    const auto* in = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i)
        byte(in[i]);
}

bool Writer::flush() {
    if (used == 0 || !file) return !writeFailed;
    std::uint8_t header[BLOCK_HEADER_SIZE];
    putU32(header, static_cast<std::uint32_t>(used));
    putU32(header + 4, crc32(block, used));
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header ||
        std::fwrite(block, 1, used, file) != used || std::fflush(file) != 0) {
        writeFailed = true;
    }
    used = 0;
    return !writeFailed;
}

bool Reader::load(std::vector<std::uint8_t> file) {
    if (file.size() < HEADER_SIZE || std::memcmp(file.data(), MAGIC, sizeof MAGIC) != 0) {
        error = "not a recording of this program";
        return false;
    }
    const unsigned version = file[VERSION_OFFSET] | file[VERSION_OFFSET + 1] << 8;
    if (version != RECORDING_VERSION) {
        error = "recorded by another version of the program (recording format " + std::to_string(version) +
                ", this program reads " + std::to_string(RECORDING_VERSION) + ")";
        return false;
    }
    // The payloads are moved down over the block headers, so the records end up in one piece in place.
    std::size_t in = HEADER_SIZE, out = 0;
    while (in < file.size()) {
        if (file.size() - in < BLOCK_HEADER_SIZE) {
            error = "cut short: the file ends inside a block header";
            return false;
        }
        const std::uint32_t length = getU32(&file[in]);
        const std::uint32_t crc = getU32(&file[in + 4]);
        in += BLOCK_HEADER_SIZE;
        if (length == 0 || length > BLOCK_PAYLOAD) {
            error = "corrupted: a block at byte " + std::to_string(in - BLOCK_HEADER_SIZE) +
                    " has a length of " + std::to_string(length);
            return false;
        }
        if (file.size() - in < length) {
            error = "cut short: the file ends inside a block";
            return false;
        }
        if (crc32(&file[in], length) != crc) {
            error = "corrupted: the block at byte " + std::to_string(in - BLOCK_HEADER_SIZE) +
                    " does not match its checksum";
            return false;
        }
        std::memmove(&file[out], &file[in], length);
        in += length;
        out += length;
    }
    file.resize(out);
    records = std::move(file);
    position = 0;
    return true;
}

Op Reader::nextOp() const {
    if (atEnd() || failed()) return Op::count;
    return records[position] < static_cast<std::uint8_t>(Op::count) ? static_cast<Op>(records[position])
                                                                    : Op::count;
}

std::uint8_t Reader::byte() {
    if (failed()) return 0;
    if (atEnd()) {
        error = "the recording ends here: it was cut short, or this run asks for more than the recorded one";
        return 0;
    }
    return records[position++];
}

Op Reader::op() {
    const std::uint8_t value = byte();
    if (value >= static_cast<std::uint8_t>(Op::count)) {
        if (!failed()) error = "corrupted: an unknown record " + std::to_string(value);
        return Op::count;
    }
    return static_cast<Op>(value);
}

std::uint64_t Reader::unsignedNumber() {
    std::uint64_t value = 0;
    for (int i = 0; i < VARINT_MAX_BYTES; ++i) {
        const std::uint8_t next = byte();
        value |= static_cast<std::uint64_t>(next & 0x7F) << (7 * i);
        if ((next & 0x80) == 0) return failed() ? 0 : value;
    }
    if (!failed()) error = "corrupted: a number runs over ten bytes";
    return 0;
}

std::int64_t Reader::signedNumber() {
    const std::uint64_t coded = unsignedNumber();
    return static_cast<std::int64_t>(coded >> 1) ^ -static_cast<std::int64_t>(coded & 1);
}

void Reader::bytes(void* data, std::size_t size) {
    auto* out = static_cast<std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = byte();
}

}  // namespace replay
