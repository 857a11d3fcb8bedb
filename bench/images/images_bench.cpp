// How fast images get from disk into textures at start-up.
//   images_bench                                   .spr expansion and bitmap conversion
//   tests/support/with-xvfb.sh 1024x768x24 images_bench   the same, plus texture upload
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "graphics/bitmap_reader.h"
#include "graphics/display.h"
#include "graphics/spr_decoder.h"
#include "graphics/spr_encoder.h"
#include "graphics/texture_loader.h"
#include "lzari_reference.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void putLe(Bytes& out, std::uint32_t v, int bytes) {
    // Fields wider than 4 bytes are zero-filled.
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(i < 4 ? v >> (8 * i) : 0));
}

enum Look { LOOK_SHADED, LOOK_BRICKS, LOOK_GRAINY };

// One pixel of a picture like the game's artwork: a shaded backdrop, bevelled bricks on flat colour, or a
// gradient under heavy grain (the worst case for the coder: almost every byte a literal).
void putPixel(Bytes& file, Look look, int x, int y, int width, int height, std::mt19937& random) {
    std::uint8_t b = static_cast<std::uint8_t>(x * 255 / width);
    std::uint8_t g = static_cast<std::uint8_t>(y * 255 / height);
    std::uint8_t r = static_cast<std::uint8_t>((x + y) / 4);
    if (look == LOOK_BRICKS) {
        const bool mortar = x % 32 < 2 || y % 16 < 2;
        const bool bevel = x % 32 < 4 || y % 16 < 4;
        r = mortar ? 40 : bevel ? 230 : 180;
        g = mortar ? 40 : bevel ? 120 : 60;
        b = mortar ? 40 : bevel ? 90 : 30;
    } else if (look == LOOK_GRAINY) {
        const int grain = static_cast<int>(random() % 64);
        b = static_cast<std::uint8_t>(b + grain);
        g = static_cast<std::uint8_t>(g + grain);
        r = static_cast<std::uint8_t>(r + grain);
    }
    file.insert(file.end(), {b, g, r});
}

// A 24-bit bitmap file with its file header, bottom row first.
Bytes gameBitmap(int width, int height, Look look) {
    const std::uint32_t stride = static_cast<std::uint32_t>((width * 3 + 3) / 4 * 4);
    Bytes file = {'B', 'M'};
    putLe(file, 54 + stride * static_cast<std::uint32_t>(height), 4);
    putLe(file, 0, 4);
    putLe(file, 54, 4);
    putLe(file, 40, 4);
    putLe(file, static_cast<std::uint32_t>(width), 4);
    putLe(file, static_cast<std::uint32_t>(height), 4);
    putLe(file, 1, 2);
    putLe(file, 24, 2);
    putLe(file, 0, 24);
    std::mt19937 random(11);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            putPixel(file, look, x, y, width, height, random);
        while ((file.size() - 54) % 4 != 0)
            file.push_back(0);
    }
    return file;
}

struct Sample {
    const char* name;
    int width;
    int height;
    Look look;
};

const Sample SAMPLES[] = {
    {"640x480_shaded", 640, 480, LOOK_SHADED},
    {"256x256_bricks", 256, 256, LOOK_BRICKS},
    {"256x256_grainy", 256, 256, LOOK_GRAINY},
};

std::string writeSpr(const Sample& sample, std::uint32_t* decodedSize) {
    const Bytes bitmap = gameBitmap(sample.width, sample.height, sample.look);
    Bytes spr;
    encodeSpr(bitmap.data(), bitmap.size(), spr);
    std::string path = std::string("/tmp/pel2d_bench_") + sample.name + ".spr";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(spr.data(), 1, spr.size(), file);
    std::fclose(file);
    *decodedSize = static_cast<std::uint32_t>(bitmap.size());
    return path;
}

// Both decoders write to the null device: the figures are the decoders', not the file system's.
constexpr const char* OUTPUT = "/dev/null";

void BM_SprExpand(benchmark::State& state, const Sample sample) {
    std::uint32_t size = 0;
    const std::string spr = writeSpr(sample, &size);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SprDecoder().convert(spr.c_str(), OUTPUT));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
}

// The baseline: the same algorithm one getc and one putc at a time over a ring buffer.
void BM_SprExpandByteAtATime(benchmark::State& state, const Sample sample) {
    std::uint32_t size = 0;
    const std::string spr = writeSpr(sample, &size);
    for (auto _ : state) {
        std::FILE* in = std::fopen(spr.c_str(), "rb");
        std::FILE* out = std::fopen(OUTPUT, "wb");
        std::fseek(in, 16, SEEK_SET);
        reference::LzariDecoder().decode(in, out, size);
        std::fclose(in);
        std::fclose(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
}

void BM_BitmapConversion(benchmark::State& state) {
    const Bytes bitmap = gameBitmap(640, 480, LOOK_SHADED);
    for (auto _ : state) {
        RgbImage* image = nullptr;
        decodeDibImage(bitmap.data(), bitmap.size(), &image);
        benchmark::DoNotOptimize(image);
        freeRgbImage(image);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bitmap.size()));
}

bool haveContext() {
    static const bool created =
        std::getenv("DISPLAY") && g_display.createWindow(640, 480, 16, SCREEN_WINDOWED, "images bench");
    return created;
}

// gluBuild2DMipmaps alone, with the arguments loadTexture uses, for a picture already converted.
void BM_TextureUpload(benchmark::State& state) {
    if (!haveContext()) {
        state.SkipWithError("no display: run under tests/support/with-xvfb.sh");
        return;
    }
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const Bytes pixels(static_cast<std::size_t>(width * height * 3), 128);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (auto _ : state) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        glFinish();
        glDeleteTextures(1, &texture);
    }
}

// The whole road of one image: .spr to .bmp, bitmap to pixels, pixels to texture.
void BM_LoadTexture(benchmark::State& state) {
    if (!haveContext()) {
        state.SkipWithError("no display: run under tests/support/with-xvfb.sh");
        return;
    }
    std::uint32_t size = 0;
    const std::string spr = writeSpr(SAMPLES[0], &size);
    const std::string name = spr.substr(0, spr.size() - 4);
    for (auto _ : state) {
        GLuint texture = 0;
        g_textureLoader.loadTexture(&texture, name.c_str());
        glFinish();
        glDeleteTextures(1, &texture);
    }
}

}  // namespace

BENCHMARK_CAPTURE(BM_SprExpand, 640x480_shaded, SAMPLES[0]);
BENCHMARK_CAPTURE(BM_SprExpandByteAtATime, 640x480_shaded, SAMPLES[0]);
BENCHMARK_CAPTURE(BM_SprExpand, 256x256_bricks, SAMPLES[1]);
BENCHMARK_CAPTURE(BM_SprExpandByteAtATime, 256x256_bricks, SAMPLES[1]);
BENCHMARK_CAPTURE(BM_SprExpand, 256x256_grainy, SAMPLES[2]);
BENCHMARK_CAPTURE(BM_SprExpandByteAtATime, 256x256_grainy, SAMPLES[2]);
BENCHMARK(BM_BitmapConversion);
BENCHMARK(BM_TextureUpload)->Args({640, 480})->Args({256, 256})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadTexture)->Unit(benchmark::kMillisecond);

// Creating the window writes the engine's log into the working directory: run in a scratch folder of our own.
int main(int argc, char** argv) {
    std::string scratch = (std::filesystem::temp_directory_path() / "pel2d-images-bench-XXXXXX").string();
    if (!mkdtemp(scratch.data())) return 1;
    std::filesystem::current_path(scratch);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(scratch);
    return 0;
}
