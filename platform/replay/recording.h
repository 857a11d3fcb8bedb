// The recording file: what a run of the program took in through the platform contract, in the order it asked.
//
// Layout, every number little-endian:
//   header, 16 bytes: the magic "PELDEMO" and a zero byte, the format version (u16, RECORDING_VERSION), a u16
//     and a u32 that are zero.
//   blocks, one after the other to the end of the file: the payload's length (u32, 1 to BLOCK_PAYLOAD), the
//     CRC-32 (IEEE 802.3) of the payload (u32), the payload. A block is written whole as soon as it is full,
//     so a recording cut short by a crash keeps everything up to its last block.
//   the payloads joined together are the records. A record is one byte naming the operation (Op) and then its
//     values, each a variable-length number: unsigned numbers in LEB128 (7 bits a byte, low bits first, at
//     most 10 bytes); signed numbers zigzag-coded first (0, -1, 1, -2 ... become 0, 1, 2, 3 ...); results
//     (HRESULT) as their 32 bits rotated left by one, so that S_OK and the usual failure codes (0x8000xxxx,
//     0x8007xxxx) take one to three bytes; clock readings as the difference from the previous reading of the
//     same clock; a device state as the 32-bit words that changed since the previous state of the same size
//     (each as the gap from the previous changed word and the difference of its value); strings and GUIDs as
//     a length and their bytes. The last record of a finished run is Op::end.
// A typical frame takes about a dozen bytes: no message, two counter readings, the keyboard and the mouse
// unchanged or a few words changed, no music event.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace replay {

constexpr std::uint16_t RECORDING_VERSION = 1;
constexpr std::size_t HEADER_SIZE = 16;
constexpr std::size_t BLOCK_HEADER_SIZE = 8;
constexpr std::size_t BLOCK_PAYLOAD = 4096;
// A recording is read whole before the program starts; no game gives one this long (about 20 hours of play).
constexpr std::size_t RECORDING_MAX_BYTES = 256u << 20;

// The operations a record can name. The numbers are part of the format: new ones go at the end.
enum class Op : std::uint8_t {
    end,
    frequency,
    counter,
    clockMilliseconds,
    messageBox,
    displayMode,
    noMessage,
    message,
    cursorPos,
    inputCreate,
    createDevice,
    enumItem,
    enumEnd,
    setDataFormat,
    inputCooperativeLevel,
    acquire,
    unacquire,
    deviceState,
    deviceStateSame,
    setProperty,
    deviceInfo,
    queryInterface,
    poll,
    soundCreate,
    soundCooperativeLevel,
    createBuffer,
    duplicateBuffer,
    lockBuffer,
    unlockBuffer,
    playBuffer,
    stopBuffer,
    bufferStatus,
    currentPosition,
    setCurrentPosition,
    restoreBuffer,
    coInitialize,
    createGraph,
    queryControl,
    queryEvents,
    querySeeking,
    renderFile,
    run,
    stop,
    noEvent,
    event,
    freeEventParams,
    setPositions,
    count
};

const char* opName(Op op);

std::uint32_t crc32(const std::uint8_t* data, std::size_t size);

// Writes records into blocks of a file opened for writing. Never allocates: a block is a fixed array.
class Writer {
public:
    // Writes the header; false when the file cannot take it.
    bool begin(std::FILE* output);
    void op(Op op) { byte(static_cast<std::uint8_t>(op)); }
    void unsignedNumber(std::uint64_t value);
    void signedNumber(std::int64_t value);
    void bytes(const void* data, std::size_t size);
    // Writes what the last block holds; false when some block could not be written.
    bool flush();
    bool failed() const { return writeFailed; }

private:
    void byte(std::uint8_t value) {
        if (used == BLOCK_PAYLOAD) flush();
        block[used++] = value;
    }

    std::FILE* file = nullptr;
    std::uint8_t block[BLOCK_PAYLOAD] = {};
    std::size_t used = 0;
    bool writeFailed = false;
};

// Reads the records of a recording held in memory. Every read is checked against the end of the records; a
// read that fails leaves `error` set and returns zeros from then on, so a caller can stop at its own pace.
class Reader {
public:
    // Takes the whole file: checks its header and every block, and keeps the records. False, with a message
    // for the player in `error`, when the file is not a recording of this version or is cut short or
    // corrupted.
    bool load(std::vector<std::uint8_t> file);
    bool atEnd() const { return position >= records.size(); }
    // The operation of the next record without taking it; Op::count at the end.
    Op nextOp() const;
    Op op();
    std::uint64_t unsignedNumber();
    std::int64_t signedNumber();
    void bytes(void* data, std::size_t size);
    bool failed() const { return !error.empty(); }

    std::string error;

private:
    std::uint8_t byte();

    std::vector<std::uint8_t> records;
    std::size_t position = 0;
};

}  // namespace replay
