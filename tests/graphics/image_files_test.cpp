// Image files on the fake backend: the bitmap reader against ImageMagick and hand-made files, the .spr codec
// round trip (the fuzzer holds the decoder to the reference decoder), and texture loading up to the upload.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <tuple>
#include <utility>

#include "graphics/bitmap_reader.h"
#include "graphics/spr_decoder.h"
#include "graphics/spr_encoder.h"
#include "graphics/sprite.h"
#include "graphics/texture_loader.h"
#include "platform/fake/fake_platform.h"
#include "support/engine_fixture.h"
#include "support/test_files.h"

namespace {

using testfiles::Bytes;
using testfiles::makeDib;
using testfiles::readFile;
using testfiles::writeFile;

// The picture our reader makes of a file, R, G, B rows bottom row first; empty when it refuses the file.
Bytes picture(const std::string& path, int* width = nullptr, int* height = nullptr) {
    RgbImage* image = loadDibImage(path.c_str());
    if (!image) return {};
    if (width) *width = image->sizeX;
    if (height) *height = image->sizeY;
    EXPECT_GT(image->sizeY, 0);
    const auto rows = static_cast<std::size_t>(std::max(image->sizeY, 0));
    Bytes rgb(image->data, image->data + static_cast<std::size_t>(image->sizeX) * rows * 3);
    freeRgbImage(image);
    return rgb;
}

void expectSameAsImageMagick(const std::string& bmp, int width, int height) {
    SCOPED_TRACE(bmp);
    ASSERT_EQ(std::system(("convert '" + bmp + "' -flip -depth 8 rgb:decoded.rgb").c_str()), 0);
    int w = 0;
    int h = 0;
    EXPECT_EQ(picture(bmp, &w, &h), readFile("decoded.rgb"));
    EXPECT_EQ(std::make_tuple(w, h), std::make_tuple(width, height));
}

using BitmapReader = EngineTest;

TEST_F(BitmapReader, DecodesEveryLayoutImageMagickWritesAsItDoes) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
    // Random noise, so a misplaced pixel shows; 30 pixels make 90-byte rows at 24 bits, with 2 padding bytes.
    ASSERT_EQ(std::system("convert -size 30x7 xc: -seed 5 +noise Random -depth 8 source.ppm"), 0);
    // One file per pixel layout the reader has a branch for; BMP2 writes the core header.
    const std::pair<const char*, const char*> written[] = {
        {"-type truecolor", "BMP3:rgb24.bmp"},
        {"-alpha set -define bmp3:alpha=true", "BMP3:rgb32.bmp"},
        {"-compress None -colors 200 -type palette", "BMP3:pal8.bmp"},
        {"-colors 200 -type palette", "BMP2:core8.bmp"},
        {"-compress None -colors 12 -type palette", "BMP3:pal4.bmp"},
        {"-monochrome", "BMP3:pal1.bmp"},
        {"-colors 200 -type palette -compress RLE", "BMP3:rle8.bmp"},
    };
    for (const auto& [options, file] : written) {
        ASSERT_EQ(std::system((std::string("convert source.ppm ") + options + " " + file).c_str()), 0);
        expectSameAsImageMagick(std::string(file).substr(5), 30, 7);
    }
    EXPECT_TRUE(fake::system().messageBoxes.empty());
    // RLE4, which ImageMagick reads but does not write: runs, a padded literal run, the end marks.
    const Bytes palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 250, 250, 10};
    const Bytes rle4 = {7, 0x12, 0, 5, 0x34, 0x12, 0x30, 0, 0, 0, 0, 4, 0x43, 0x21, 6, 0x40, 0, 0, 0, 1};
    writeFile("rle4.bmp", makeDib({40, 12, 2, 4, 2, 5, palette, rle4}));
    expectSameAsImageMagick("rle4.bmp", 12, 2);
}

// Hand-made files: the pixels each must give, or the message each failure shows.
TEST_F(BitmapReader, HandMadeFilesGiveTheirPixelsOrTheirFailuresMessage) {
    const Bytes good = makeDib({40, 2, 2, 24, 0, 0, {}, Bytes(16, 7)});
    const auto patched = [](Bytes file, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
        for (const auto& [at, value] : bytes)
            file[at] = value;
        return file;
    };
    Bytes rleCut = makeDib({40, 2, 2, 8, 1, 2, {0, 0, 0, 9, 9, 9}, {2, 1, 0, 0, 2, 1, 0, 1}});
    rleCut.resize(rleCut.size() - 4);
    Bytes rleSkipped(36, 0);
    std::fill_n(rleSkipped.begin(), 12, 9);
    std::fill_n(rleSkipped.begin() + 27, 3, 9);
    const char* const CONVERSION = "Image file conversion error.";
    const char* const UNKNOWN = "Unknown DIB file format.";
    // Bare 1 bit with colours-used 0 (two entries), bare 8 bits past colours-used 3 (black), 16 bits 5-5-5,
    // stored top row first, RLE8 with a run past the row's end and a delta.
    const std::pair<Bytes, Bytes> pictures[] = {
        {makeDib({40, 2, 1, 1, 0, 0, {1, 2, 3, 4, 5, 6}, {0x80, 0, 0, 0}, false}), {4, 5, 6, 1, 2, 3}},
        {makeDib({40, 2, 1, 8, 0, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {2, 7, 0, 0}, false}), {7, 8, 9, 0, 0, 0}},
        {makeDib({40, 2, 1, 16, 0, 0, {}, {0, 0x7C, 0x21, 4}}), {255, 0, 0, 8, 8, 8}},
        {makeDib({40, 1, -2, 24, 0, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}}), {6, 5, 4, 3, 2, 1}},
        {makeDib({40, 4, 3, 8, 1, 2, {0, 0, 0, 9, 9, 9}, {9, 1, 0, 0, 0, 2, 1, 1, 1, 1, 0, 1}}), rleSkipped},
    };
    for (const auto& [file, rgb] : pictures) {
        writeFile("case.bmp", file);
        EXPECT_EQ(picture("case.bmp"), rgb) << testing::PrintToString(file);
    }
    EXPECT_TRUE(fake::system().messageBoxes.empty());
    const std::tuple<const char*, Bytes, const char*> failures[] = {
        {"empty", {}, "Failed to open DIB file case.bmp.\n"},
        {"3 bytes", {'B', 'M', 0}, UNKNOWN},
        {"header 108", patched(good, {{14, 108}}), UNKNOWN},
        {"header cut", Bytes(good.begin(), good.begin() + 40), UNKNOWN},
        {"bit-field masks", patched(good, {{30, 3}}), CONVERSION},
        {"palette", patched(makeDib({40, 2, 2, 8, 0, 0, {}, {}, false}), {{32, 255}, {35, 127}}), CONVERSION},
        {"pixels past the end", patched(good, {{10, 0xFF}, {12, 0x01}}), CONVERSION},
        {"pixels cut", Bytes(good.begin(), good.end() - 4), CONVERSION},
        {"literal cut", makeDib({40, 8, 1, 8, 1, 0, {}, {0, 9, 1, 2}, false}), CONVERSION},
        {"codes end before the end mark and the stated size", rleCut, CONVERSION},
        {"width 0", makeDib({40, 0, 2, 24, 0, 0, {}, {}}), CONVERSION},
        {"too large", makeDib({40, 60000, 60000, 24, 0, 0, {}, {}}), "Out of memory."},
    };
    for (const auto& [what, file, message] : failures) {
        fake::reset();
        writeFile("case.bmp", file);
        EXPECT_EQ(picture("case.bmp"), Bytes{}) << what;
        ASSERT_EQ(fake::system().messageBoxes.size(), 1u) << what;
        EXPECT_EQ(shownBox(0), std::make_tuple("Error", message, MB_OK)) << what;
    }
    fake::reset();
    EXPECT_EQ(picture("data\\missing.bmp"), Bytes{});
    EXPECT_EQ(fake::system().messageBoxes.at(0).text, "Failed to open DIB file data\\missing.bmp.\n");
}

// Random bytes, or something like a picture: smooth gradients with a little noise, as the game's images are.
Bytes sample(std::size_t size, std::uint32_t seed, bool pictureLike = false) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(pictureLike ? (i / 3 % 640) / 3 + random() % 4 : random());
    return bytes;
}

Bytes encode(const Bytes& data) {
    Bytes spr;
    EXPECT_TRUE(encodeSpr(data.data(), data.size(), spr));
    return spr;
}

Bytes decode(const Bytes& spr) {
    Bytes decoded;
    EXPECT_TRUE(SprDecoder().decodeMemory(spr.data(), spr.size(), decoded));
    return decoded;
}

Bytes sprHeader(std::uint32_t decodedSize) {
    Bytes header = {'P', 'E', 'L'};
    testfiles::putLe(header, decodedSize, 4);
    header.resize(SPR_HEADER_SIZE, 0);
    return header;
}

TEST(SprCodec, EncodedDataDecodesByteForByte) {
    // Past the longest match, the space-filled start of the window and the window; long runs halve the model
    // many times over, and the bytes after them need its order of the other symbols.
    for (std::size_t size : {1u, 61u, 4036u, 4097u}) {
        EXPECT_EQ(decode(encode(sample(size, 7, true))), sample(size, 7, true)) << "picture of " << size;
        EXPECT_EQ(decode(encode(sample(size, 1))), sample(size, 1)) << "noise of " << size;
    }
    Bytes longRuns(250000, 0xAB);
    const Bytes tail = sample(5000, 3);
    longRuns.insert(longRuns.end(), tail.begin(), tail.end());
    const std::tuple<const char*, Bytes, std::size_t> cases[] = {
        {"spaces match the initial window", Bytes(5000, ' '), SPR_HEADER_SIZE + 200},
        {"incompressible data stays near its size", sample(100000, 2), 102000},
        {"long runs halve the model", longRuns, longRuns.size()},
    };
    for (const auto& [what, data, largestSpr] : cases) {
        const Bytes spr = encode(data);
        EXPECT_LT(spr.size(), largestSpr) << what;
        EXPECT_EQ(decode(spr), data) << what;
    }
}

TEST(SprCodec, SizeLimitsAndConvertingOverOrBesideABitmap) {
    Bytes spr;
    const std::uint8_t byte = 0;
    EXPECT_FALSE(encodeSpr(&byte, 0, spr));
    EXPECT_FALSE(encodeSpr(&byte, SPR_MAX_DECODED_SIZE + std::size_t{1}, spr));
    EXPECT_TRUE(spr.empty());

    // More than one output chunk, through a backslash path, over a longer stale file that must be replaced,
    // not overwritten in place.
    const Bytes data = sample(70000, 7, true);
    std::filesystem::create_directories("sub");
    writeFile("sub/image.spr", encode(data));
    writeFile("sub/image.bmp", Bytes(200000, 1));
    EXPECT_EQ(SprDecoder().convert("sub\\image.spr", "sub\\image.bmp"), 1);
    EXPECT_EQ(readFile("sub/image.bmp"), data);

    // No .spr file: the bitmap stays as it is.
    writeFile("kept.bmp", Bytes{1, 2, 3});
    EXPECT_EQ(SprDecoder().convert("kept.spr", "kept.bmp"), 0);
    EXPECT_EQ(readFile("kept.bmp"), (Bytes{1, 2, 3}));

    // A header of decodedSize 0, one too short, one claiming more than any bitmap: an empty bitmap.
    for (const Bytes& bad : {sprHeader(0), Bytes{'P', 'E', 'L', 5}, sprHeader(SPR_MAX_DECODED_SIZE + 1)}) {
        writeFile("bad.spr", bad);
        writeFile("bad.bmp", Bytes{1, 2, 3});
        EXPECT_EQ(SprDecoder().convert("bad.spr", "bad.bmp"), 0);
        EXPECT_TRUE(readFile("bad.bmp").empty());
    }
}

// Which names fail to load, silently or with a message, and what a .spr file does to the .bmp beside it.
TEST_F(BitmapReader, TexturesFailSilentlyWithoutFilesAndASprRewritesItsBitmap) {
    GLuint texture = 77;
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, nullptr));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "absent"));
    EXPECT_FALSE(std::filesystem::exists("absent.bmp"));
    // Too long for the 200-byte paths: refused before any file is touched, even if it exists.
    const std::string longName(TEXTURE_NAME_MAX + 1, 'n');
    writeFile(longName + ".bmp", Bytes{'B', 'M'});
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, longName.c_str()));
    EXPECT_TRUE(fake::system().messageBoxes.empty());

    // A decodedSize of 0 leaves an empty bitmap, which then fails to open; a packed file the reader refuses
    // still rewrites its bitmap, then stops before the upload.
    writeFile("zero.spr", sprHeader(0));
    writeFile("zero.bmp", Bytes(100, 1));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "zero"));
    EXPECT_TRUE(readFile("zero.bmp").empty());
    const Bytes unreadable = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 108, 0, 0, 0};
    writeFile("img.spr", encode(unreadable));
    writeFile("img.bmp", Bytes(50, 9));
    EXPECT_FALSE(g_textureLoader.loadTexture(&texture, "img"));
    EXPECT_EQ(readFile("img.bmp"), unreadable);
    ASSERT_EQ(fake::system().messageBoxes.size(), 2u);
    EXPECT_EQ(fake::system().messageBoxes[0].text, "Failed to open DIB file zero.bmp.\n");
    EXPECT_EQ(fake::system().messageBoxes[1].text, "Unknown DIB file format.");
    EXPECT_EQ(texture, 77u);

    // A template loads at most as many frames as its array holds; no name, or a negative count, loads none.
    SpriteTemplate explosion;
    explosion.texture = 5;
    EXPECT_TRUE(explosion.loadFrames(TextureLoader(), 480, "data/spr/none", 55, 55, 40, 20.0f));
    EXPECT_EQ(std::tie(explosion.frameCount, explosion.startFrame, explosion.frameDelay, explosion.texture),
              std::make_tuple(SPRITE_MAX_FRAMES, 1, 20.0f, 5u));
    explosion.loadFrames(TextureLoader(), 480, nullptr, 55, 55, 15, 20.0f);
    EXPECT_EQ(explosion.frameCount, 0);
    explosion.loadFrames(TextureLoader(), 480, "data/spr/none", 55, 55, -3, 20.0f);
    EXPECT_EQ(explosion.frameCount, 0);
}

}  // namespace
