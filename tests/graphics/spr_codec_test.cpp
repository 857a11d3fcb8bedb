// The .spr codec: what the encoder packs the decoder must give back byte for byte, from memory and from
// files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "graphics/spr_decoder.h"
#include "graphics/spr_encoder.h"
#include "support/lzari_reference.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes noise(std::size_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

// Something like a picture: smooth gradients with a little noise, as the game's images are.
Bytes pictureLike(std::size_t size) {
    std::mt19937 random(7);
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>((i / 3 % 640) / 3 + random() % 4);
    return bytes;
}

Bytes roundTrip(const Bytes& data) {
    Bytes spr;
    EXPECT_TRUE(encodeSpr(data.data(), data.size(), spr));
    Bytes decoded;
    EXPECT_TRUE(SprDecoder().decodeMemory(spr.data(), spr.size(), decoded));
    return decoded;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

Bytes sprHeader(std::uint32_t decodedSize) {
    Bytes header = {'P', 'E', 'L'};
    for (int shift = 0; shift < 32; shift += 8)
        header.push_back(static_cast<std::uint8_t>(decodedSize >> shift));
    header.resize(16, 0);
    return header;
}

TEST(SprCodec, RoundTripsAtWindowAndMatchBoundaries) {
    for (std::size_t size : {1u, 2u, 3u, 59u, 60u, 61u, 4035u, 4036u, 4037u, 4095u, 4096u, 4097u, 10000u}) {
        EXPECT_EQ(roundTrip(pictureLike(size)), pictureLike(size)) << "picture of " << size;
        EXPECT_EQ(roundTrip(noise(size, 1)), noise(size, 1)) << "noise of " << size;
    }
}

TEST(SprCodec, SpacesAtTheStartMatchTheInitialWindow) {
    const Bytes spaces(5000, ' ');
    Bytes spr;
    ASSERT_TRUE(encodeSpr(spaces.data(), spaces.size(), spr));
    EXPECT_LT(spr.size(), 16u + 200u);
    EXPECT_EQ(roundTrip(spaces), spaces);
}

TEST(SprCodec, IncompressibleDataStaysNearItsSize) {
    const Bytes data = noise(100000, 2);
    Bytes spr;
    ASSERT_TRUE(encodeSpr(data.data(), data.size(), spr));
    EXPECT_LT(spr.size(), data.size() + data.size() / 50);
    EXPECT_EQ(roundTrip(data), data);
}

TEST(SprCodec, LongRunsHalveTheModelAndStillRoundTrip) {
    // A quarter million copies of one byte push the symbol total past its limit many times over; the byte
    // changing afterwards checks that the halved model still orders the other symbols correctly.
    Bytes data(250000, 0xAB);
    const Bytes tail = noise(5000, 3);
    data.insert(data.end(), tail.begin(), tail.end());
    data.insert(data.end(), 70000, 0x00);
    EXPECT_EQ(roundTrip(data), data);
}

TEST(SprCodec, AFewMegabytesRoundTrip) {
    const Bytes data = pictureLike(3 * 1024 * 1024 + 17);
    EXPECT_EQ(roundTrip(data), data);
}

TEST(SprCodec, EncoderRefusesWhatTheDecoderWouldRefuse) {
    Bytes spr;
    const std::uint8_t byte = 0;
    EXPECT_FALSE(encodeSpr(&byte, 0, spr));
    EXPECT_FALSE(encodeSpr(&byte, SPR_MAX_DECODED_SIZE + std::size_t{1}, spr));
    EXPECT_TRUE(spr.empty());
}

TEST(SprCodec, TruncatedStreamContinuesWithOneBitsAndStopsAtDecodedSize) {
    // An empty code stream reads as all one bits: the decoder still produces decodedSize bytes (a last match
    // may run past it, whole) and stops.
    const Bytes header = sprHeader(1000);
    Bytes decoded;
    ASSERT_TRUE(SprDecoder().decodeMemory(header.data(), header.size(), decoded));
    EXPECT_GE(decoded.size(), 1000u);
    EXPECT_LT(decoded.size(), 1000u + 60u);

    // Cutting a real stream short keeps the bytes decoded before the cut.
    const Bytes data = pictureLike(20000);
    Bytes spr;
    ASSERT_TRUE(encodeSpr(data.data(), data.size(), spr));
    spr.resize(spr.size() / 2);
    ASSERT_TRUE(SprDecoder().decodeMemory(spr.data(), spr.size(), decoded));
    ASSERT_GE(decoded.size(), data.size());
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 1000, decoded.begin()));
}

// Any code stream, not only ours, must expand exactly as the plain decoder expands it: random streams reach
// every symbol, position and model state the encoder here may never produce (positions 4036 to 4095 of the
// ring before they are written, matches that overlap themselves, halving with arbitrary frequencies).
TEST(SprCodec, ArbitraryStreamsExpandLikeThePlainDecoder) {
    for (std::uint32_t seed = 1; seed <= 30; ++seed) {
        Bytes spr = sprHeader(seed * 997);
        Bytes code = noise(seed * 113, seed);
        // Every third stream leans to long runs of equal bits, which keep the coder in the middle of its
        // scale.
        if (seed % 3 == 0) {
            for (std::uint8_t& b : code)
                b = (b & 0x0F) == 0 ? b : (b & 0x80 ? 0xFF : 0x00);
        }
        spr.insert(spr.end(), code.begin(), code.end());
        writeFile("stream.spr", spr);

        std::FILE* in = std::fopen("stream.spr", "rb");
        std::FILE* out = std::fopen("expected.bmp", "wb");
        ASSERT_TRUE(in && out);
        std::fseek(in, 16, SEEK_SET);
        reference::LzariDecoder().decode(in, out, seed * 997);
        std::fclose(in);
        std::fclose(out);

        EXPECT_EQ(SprDecoder().convert("stream.spr", "stream.bmp"), 1);
        EXPECT_EQ(readFile("stream.bmp"), readFile("expected.bmp")) << "seed " << seed;
    }
}

TEST(SprCodec, ConvertWritesTheBitmapFile) {
    const Bytes data = pictureLike(70000);  // more than one output chunk
    Bytes spr;
    ASSERT_TRUE(encodeSpr(data.data(), data.size(), spr));
    writeFile("image.spr", spr);
    writeFile("image.bmp", Bytes(200000, 1));  // a longer stale file is replaced, not overwritten in place
    EXPECT_EQ(SprDecoder().convert("image.spr", "image.bmp"), 1);
    EXPECT_EQ(readFile("image.bmp"), data);
}

TEST(SprCodec, ConvertLeavesBitmapsAloneOrEmptyOnFailure) {
    writeFile("kept.bmp", Bytes{1, 2, 3});
    EXPECT_EQ(SprDecoder().convert("kept.spr", "kept.bmp"), 0);
    EXPECT_EQ(readFile("kept.bmp"), (Bytes{1, 2, 3}));

    // A header of decodedSize 0, a header too short, and one claiming more than any bitmap: empty bitmap.
    const Bytes refused[] = {sprHeader(0), Bytes{'P', 'E', 'L', 5}, sprHeader(SPR_MAX_DECODED_SIZE + 1)};
    for (const Bytes& spr : refused) {
        writeFile("bad.spr", spr);
        writeFile("bad.bmp", Bytes{1, 2, 3});
        EXPECT_EQ(SprDecoder().convert("bad.spr", "bad.bmp"), 0);
        EXPECT_TRUE(readFile("bad.bmp").empty());
    }
}

TEST(SprCodec, ConvertMapsBackslashPaths) {
    const Bytes data = pictureLike(100);
    Bytes spr;
    ASSERT_TRUE(encodeSpr(data.data(), data.size(), spr));
    std::filesystem::create_directories("sub");
    writeFile("sub/a.spr", spr);
    EXPECT_EQ(SprDecoder().convert("sub\\a.spr", "sub\\a.bmp"), 1);
    EXPECT_EQ(readFile("sub/a.bmp"), data);
}

}  // namespace
