// The bitmap reader against pictures written and decoded by a third-party tool (ImageMagick), and against
// hand-made files for what that tool does not write.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "graphics/bitmap_reader.h"
#include "platform/fake/fake_platform.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int WIDTH = 30;  // 90 bytes a row at 24 bits: 2 padding bytes
constexpr int HEIGHT = 7;

struct Picture {
    int width = 0;
    int height = 0;
    Bytes rgb;  // top row first
};

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void putLe(Bytes& out, std::uint32_t v, int bytes) {
    // Fields wider than 4 bytes are zero-filled.
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(i < 4 ? v >> (8 * i) : 0));
}

// Gradients with noise: every channel value differs from its neighbours, so a misplaced pixel shows.
Picture sourcePicture() {
    std::mt19937 random(5);
    Picture p{WIDTH, HEIGHT, {}};
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            p.rgb.push_back(static_cast<std::uint8_t>(x * 8 + random() % 8));
            p.rgb.push_back(static_cast<std::uint8_t>(y * 36 + random() % 8));
            p.rgb.push_back(static_cast<std::uint8_t>(255 - x * 8));
        }
    }
    return p;
}

void writePpm(const std::string& path, const Picture& p) {
    const std::string head = "P6\n" + std::to_string(p.width) + " " + std::to_string(p.height) + "\n255\n";
    Bytes bytes(head.begin(), head.end());
    bytes.insert(bytes.end(), p.rgb.begin(), p.rgb.end());
    writeFile(path, bytes);
}

// ImageMagick's own decode of a file, as an 8-bit PPM.
Picture decodeWithImageMagick(const std::string& bmp) {
    Picture p;
    const std::string command = "convert '" + bmp + "' -depth 8 ppm:decoded.ppm";
    if (std::system(command.c_str()) != 0) return p;
    const Bytes bytes = readFile("decoded.ppm");
    const std::string text(bytes.begin(), bytes.end());
    int maxValue = 0;
    int consumed = 0;
    if (std::sscanf(text.c_str(), "P6 %d %d %d%n", &p.width, &p.height, &maxValue, &consumed) != 3) return p;
    p.rgb.assign(bytes.begin() + consumed + 1, bytes.end());
    return p;
}

// The picture as loadDibImage sees it, flipped to top row first.
Picture loadFlipped(const std::string& bmp) {
    Picture p;
    RgbImage* image = loadDibImage(bmp.c_str());
    if (!image) return p;
    p.width = image->sizeX;
    p.height = image->sizeY;
    const std::size_t row = static_cast<std::size_t>(p.width) * 3;
    for (int y = p.height - 1; y >= 0; --y) {
        p.rgb.insert(p.rgb.end(), image->data + y * row, image->data + (y + 1) * row);
    }
    freeRgbImage(image);
    return p;
}

void expectSameAsImageMagick(const std::string& bmp, const std::string& decodedBy = "") {
    const Picture theirs = decodeWithImageMagick(decodedBy.empty() ? bmp : decodedBy);
    const Picture ours = loadFlipped(bmp);
    ASSERT_GT(theirs.width, 0) << bmp;
    EXPECT_EQ(ours.width, theirs.width) << bmp;
    EXPECT_EQ(ours.height, theirs.height) << bmp;
    EXPECT_EQ(ours.rgb, theirs.rgb) << bmp;
}

// A bitmap file put together by hand. The palette is R, G, B triples; rows are given as stored.
struct DibFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    Bytes palette;
    Bytes pixels;
    bool fileHeader = true;
};

Bytes makeDib(const DibFields& s) {
    Bytes info;
    putLe(info, s.headerSize, 4);
    if (s.headerSize == 12) {
        putLe(info, static_cast<std::uint32_t>(s.width), 2);
        putLe(info, static_cast<std::uint32_t>(s.height), 2);
        putLe(info, 1, 2);
        putLe(info, static_cast<std::uint32_t>(s.bitCount), 2);
    } else {
        putLe(info, static_cast<std::uint32_t>(s.width), 4);
        putLe(info, static_cast<std::uint32_t>(s.height), 4);
        putLe(info, 1, 2);
        putLe(info, static_cast<std::uint32_t>(s.bitCount), 2);
        putLe(info, s.compression, 4);
        putLe(info, 0, 12);
        putLe(info, s.colorsUsed, 4);
        putLe(info, 0, 4);
    }
    for (std::size_t i = 0; i + 2 < s.palette.size(); i += 3) {
        info.insert(info.end(), {s.palette[i + 2], s.palette[i + 1], s.palette[i]});
        if (s.headerSize == 40) info.push_back(0);
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

// The source picture stored at 16 (5-5-5) or 32 bits, bottom row first or, for a negative height, top first.
Bytes storedRows(const Picture& p, int bitCount, bool topDown) {
    Bytes rows;
    for (int r = 0; r < p.height; ++r) {
        const int y = topDown ? r : p.height - 1 - r;
        const std::size_t start = rows.size();
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* px = &p.rgb[static_cast<std::size_t>((y * p.width + x) * 3)];
            if (bitCount == 16) {
                putLe(rows, static_cast<std::uint32_t>((px[0] >> 3) << 10 | (px[1] >> 3) << 5 | px[2] >> 3),
                      2);
            } else {
                rows.insert(rows.end(), {px[2], px[1], px[0]});
                if (bitCount == 32) rows.push_back(0x5A);
            }
        }
        while ((rows.size() - start) % 4 != 0)
            rows.push_back(0);
    }
    return rows;
}

class BitmapReader : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    static bool haveImageMagick() { return std::system("convert -version >/dev/null 2>&1") == 0; }

    void convertSource(const std::string& options, const std::string& out) {
        writePpm("source.ppm", sourcePicture());
        ASSERT_EQ(std::system(("convert source.ppm " + options + " " + out).c_str()), 0) << options;
    }

    std::string lastMessage() const {
        const auto& boxes = fake::system().messageBoxes;
        return boxes.empty() ? "" : boxes.back().text;
    }
};

TEST_F(BitmapReader, ReadsEveryFormatImageMagickWrites) {
    if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const struct {
        const char* options;
        const char* file;
    } formats[] = {
        {"-type truecolor", "BMP3:rgb24.bmp"},
        {"-type truecolor", "BMP2:core24.bmp"},
        {"-alpha set -define bmp3:alpha=true", "BMP3:rgb32.bmp"},
        {"-compress None -colors 200 -type palette", "BMP3:pal8.bmp"},
        {"-colors 200 -type palette", "BMP2:core8.bmp"},
        {"-compress None -colors 12 -type palette", "BMP3:pal4.bmp"},
        {"-monochrome", "BMP3:pal1.bmp"},
        {"-colors 200 -type palette -compress RLE", "BMP3:rle8.bmp"},
    };
    for (const auto& format : formats) {
        convertSource(format.options, format.file);
        expectSameAsImageMagick(std::string(format.file).substr(5));
    }
    EXPECT_TRUE(fake::system().messageBoxes.empty());

    // The same bitmap without its file header: the pixels follow the palette directly.
    const Bytes pal8 = readFile("pal8.bmp");
    writeFile("bare8.dib", Bytes(pal8.begin() + 14, pal8.end()));
    expectSameAsImageMagick("bare8.dib", "pal8.bmp");
}

TEST_F(BitmapReader, ReadsHandMadeFormatsAsImageMagickDoes) {
    if (!haveImageMagick()) GTEST_SKIP() << "ImageMagick's convert is not installed";
    const Picture source = sourcePicture();
    writeFile("rgb16.bmp", makeDib({40, WIDTH, HEIGHT, 16, 0, 0, {}, storedRows(source, 16, false), true}));
    expectSameAsImageMagick("rgb16.bmp");
    writeFile("rgb32.bmp", makeDib({40, WIDTH, HEIGHT, 32, 0, 0, {}, storedRows(source, 32, false), true}));
    expectSameAsImageMagick("rgb32.bmp");
    // Stored top-down: the picture still comes out bottom row first, with a positive height.
    writeFile("topdown.bmp", makeDib({40, WIDTH, -HEIGHT, 24, 0, 0, {}, storedRows(source, 24, true), true}));
    expectSameAsImageMagick("topdown.bmp");

    // RLE4: runs alternating two colours, a literal run with its padding, and the end marks.
    const Bytes palette = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 250, 250, 10};
    const Bytes rle4 = {7, 0x12, 0, 5, 0x34, 0x12, 0x30, 0, 0, 0, 0, 4, 0x43, 0x21, 6, 0x40, 0, 0, 0, 1};
    writeFile("rle4.bmp", makeDib({40, 12, 2, 4, 2, 5, palette, rle4, true}));
    expectSameAsImageMagick("rle4.bmp");
}

TEST_F(BitmapReader, PaletteCountsDecideWherePixelsStart) {
    // 1 bit, colours-used 0: two entries, then the pixels (a bare DIB, so only the count can place them).
    RgbImage* image = nullptr;
    Bytes bytes = makeDib({40, 3, 1, 1, 0, 0, {10, 20, 30, 200, 210, 220}, {0xA0, 0, 0, 0}, false});
    ASSERT_EQ(decodeDibImage(bytes.data(), bytes.size(), &image), DIB_OK);
    EXPECT_EQ(Bytes(image->data, image->data + 9), (Bytes{200, 210, 220, 10, 20, 30, 200, 210, 220}));
    freeRgbImage(image);

    // 8 bits with colours-used 3: three entries; index 7, past them, reads black.
    bytes = makeDib({40, 2, 1, 8, 0, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {2, 7, 0, 0}, false});
    ASSERT_EQ(decodeDibImage(bytes.data(), bytes.size(), &image), DIB_OK);
    EXPECT_EQ(Bytes(image->data, image->data + 6), (Bytes{7, 8, 9, 0, 0, 0}));
    freeRgbImage(image);

    // 24 bits: no palette; a 12-byte header bare DIB with 3-byte entries for 4 bits.
    bytes = makeDib({40, 1, 1, 24, 0, 0, {}, {3, 2, 1, 0}, false});
    ASSERT_EQ(decodeDibImage(bytes.data(), bytes.size(), &image), DIB_OK);
    EXPECT_EQ(Bytes(image->data, image->data + 3), (Bytes{1, 2, 3}));
    freeRgbImage(image);
    Bytes palette16(48, 0);
    palette16[45] = 9;
    bytes = makeDib({12, 2, 1, 4, 0, 0, palette16, {0xF0, 0, 0, 0}, false});
    ASSERT_EQ(decodeDibImage(bytes.data(), bytes.size(), &image), DIB_OK);
    EXPECT_EQ(Bytes(image->data, image->data + 6), (Bytes{9, 0, 0, 0, 0, 0}));
    freeRgbImage(image);
}

TEST_F(BitmapReader, RleSkipsLeaveBlackAndLongRunsStopAtTheRowEnd) {
    const Bytes palette = {0, 0, 0, 100, 100, 100};
    // Row 0: a run of 9 into a row of 4, end of line; a delta of one pixel right and one row up, one pixel,
    // end.
    const Bytes rle8 = {9, 1, 0, 0, 0, 2, 1, 1, 1, 1, 0, 1};
    const Bytes bytes = makeDib({40, 4, 3, 8, 1, 2, palette, rle8, true});
    RgbImage* image = nullptr;
    ASSERT_EQ(decodeDibImage(bytes.data(), bytes.size(), &image), DIB_OK);
    Bytes expected(4 * 3 * 3, 0);
    for (int i = 0; i < 12; ++i)
        expected[static_cast<std::size_t>(i)] = 100;
    for (int i = 0; i < 3; ++i)
        expected[static_cast<std::size_t>(2 * 12 + 3 + i)] = 100;
    EXPECT_EQ(Bytes(image->data, image->data + expected.size()), expected);
    freeRgbImage(image);
}

TEST_F(BitmapReader, EachFailureShowsItsMessage) {
    const Bytes good = makeDib({40, 2, 2, 24, 0, 0, {}, Bytes(16, 7), true});
    Bytes header108 = good;
    header108[14] = 108;
    Bytes badCompression = good;
    badCompression[30] = 3;  // bit-field masks
    Bytes hugePalette = makeDib({40, 2, 2, 8, 0, 0, {}, {}, false});
    hugePalette[32] = 0xFF;
    hugePalette[35] = 0x7F;
    Bytes farPixels = good;
    farPixels[10] = 0xFF;
    farPixels[12] = 0x01;
    const Bytes badRle = makeDib({40, 8, 1, 8, 1, 0, {}, {0, 9, 1, 2}, false});

    const struct {
        Bytes bytes;
        const char* message;
    } cases[] = {
        {Bytes{}, "Failed to open DIB file case.bmp.\n"},
        {Bytes{'B', 'M', 0}, "Unknown DIB file format."},
        {header108, "Unknown DIB file format."},
        {Bytes(good.begin(), good.begin() + 40), "Unknown DIB file format."},
        {badCompression, "Image file conversion error."},
        {hugePalette, "Image file conversion error."},
        {farPixels, "Image file conversion error."},
        {Bytes(good.begin(), good.end() - 4), "Image file conversion error."},
        {badRle, "Image file conversion error."},
        {makeDib({40, 0, 2, 24, 0, 0, {}, {}, true}), "Image file conversion error."},
        {makeDib({40, 60000, 60000, 24, 0, 0, {}, {}, true}), "Out of memory."},
    };
    for (const auto& c : cases) {
        fake::reset();
        writeFile("case.bmp", c.bytes);
        EXPECT_EQ(loadDibImage("case.bmp"), nullptr) << c.message;
        ASSERT_EQ(fake::system().messageBoxes.size(), 1u) << c.message;
        EXPECT_EQ(fake::system().messageBoxes[0].text, c.message);
        EXPECT_EQ(fake::system().messageBoxes[0].caption, "Error");
        EXPECT_EQ(fake::system().messageBoxes[0].style, MB_OK);
    }
    fake::reset();
    EXPECT_EQ(loadDibImage("data\\missing.bmp"), nullptr);
    EXPECT_EQ(lastMessage(), "Failed to open DIB file data\\missing.bmp.\n");
}

}  // namespace
