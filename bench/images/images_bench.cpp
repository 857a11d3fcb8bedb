// How fast images get from disk into textures at start-up.
//   images_bench                                          .spr expansion and bitmap conversion
//   tests/support/with-xvfb.sh 1024x768x24 images_bench    the same, plus texture upload
// The expansion runs side by side with the plain byte-at-a-time decoder of tests/support, timed in processor
// time so that time the machine gives to other work counts for neither, on every kind of picture: flat art,
// the game's own art, gradients, noise, text and photographs. Text is rendered and photographs are converted
// with ImageMagick when it is installed; the photographs are the desktop wallpapers of Debian's
// gnome-backgrounds, when that package is installed. Counters: both decoders' milliseconds and their ratio.
#include <GL/gl.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <algorithm>
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
#include "harness/side_by_side.h"
#include "support/lzari_reference.h"
#include "support/test_files.h"

namespace {

using testfiles::Bytes;

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
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    Bytes pixels;
    pixels.reserve(stride * static_cast<std::size_t>(height));
    std::mt19937 random(11);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            putPixel(pixels, look, x, y, width, height, random);
        pixels.resize(stride * static_cast<std::size_t>(y + 1), 0);
    }
    return testfiles::makeDib({40, width, height, 24, 0, 0, {}, pixels, true});
}

// A picture to expand: its .spr file in the working folder and the size it expands to.
struct Picture {
    std::string name;
    std::string spr;
    std::uint32_t size;
};

bool pack(const std::string& name, const Bytes& bitmap, std::vector<Picture>& into) {
    Bytes spr;
    if (bitmap.empty() || !encodeSpr(bitmap.data(), bitmap.size(), spr)) return false;
    const std::string path = name + ".spr";
    testfiles::writeFile(path, spr);
    into.push_back({name, path, static_cast<std::uint32_t>(bitmap.size())});
    return true;
}

// A 640 x 480 24-bit bitmap made by ImageMagick from `source` (its arguments before the output); empty
// without ImageMagick.
Bytes imageMagick(const std::string& source) {
    const std::string command =
        "convert " + source + " -resize '640x480!' -type TrueColor BMP3:made.bmp >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return {};
    return testfiles::readFile("made.bmp");
}

constexpr const char* TEXT =
    "Brikatan is a small brick-breaking game: a paddle that follows the mouse,\\n"
    "a ball that bounces off the walls, the paddle and a wall of 216 coloured\\n"
    "bricks that shrink away when hit, a menu, sound effects and looped music.\\n"
    "It is built on PEL2D, a small 2D/3D game engine written in C++ for OpenGL.\\n"
    "0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz (){}[]<>";

// The pictures, made by main before the benchmarks run.
std::vector<Picture>& pictures() {
    static std::vector<Picture> made;
    return made;
}

void makePictures() {
    std::vector<Picture>& made = pictures();
    pack("flat_art", gameBitmap(256, 256, LOOK_BRICKS), made);
    pack("gradient", gameBitmap(640, 480, LOOK_SHADED), made);
    pack("noise", gameBitmap(256, 256, LOOK_GRAINY), made);
    // The menu background and the font, as the game ships them.
    for (const char* art : {"arka", "font"}) {
        Bytes spr;
        Bytes bitmap;
        const std::string path = std::string(PEL_SOURCE_DIR) + "/data/spr/" + art + ".spr";
        if (readWholeFile(path.c_str(), spr) && SprDecoder().decodeMemory(spr.data(), spr.size(), bitmap))
            pack(std::string("game_art_") + art, bitmap, made);
    }
    pack("text",
         imageMagick("-size 640x480 xc:white -font DejaVu-Sans -pointsize 15 -fill black -annotate +8+24 '" +
                     std::string(TEXT) + "'"),
         made);
    const std::filesystem::path wallpapers = "/usr/share/backgrounds/gnome";
    for (const char* photo : {"wood", "adwaita", "pixels"}) {
        const std::filesystem::path file = wallpapers / (std::string(photo) + "-l.webp");
        if (std::filesystem::exists(file))
            pack(std::string("photo_") + photo, imageMagick(file.string()), made);
    }
}

// Both decoders write to the null device: the figures are the decoders', not the file system's.
constexpr const char* OUTPUT = "/dev/null";

// The baseline: the same algorithm one getc and one putc at a time over a ring buffer.
void expandByteAtATime(const Picture& picture) {
    std::FILE* in = std::fopen(picture.spr.c_str(), "rb");
    std::FILE* out = std::fopen(OUTPUT, "wb");
    std::fseek(in, SPR_HEADER_SIZE, SEEK_SET);
    reference::LzariDecoder().decode(in, out, picture.size);
    std::fclose(in);
    std::fclose(out);
}

void BM_SprExpandSideBySide(benchmark::State& state, const char* name) {
    const auto found = std::find_if(pictures().begin(), pictures().end(),
                                    [name](const Picture& picture) { return picture.name == name; });
    if (found == pictures().end()) {
        state.SkipWithError("picture not made: ImageMagick or gnome-backgrounds is not installed");
        return;
    }
    const Picture& picture = *found;
    benchharness::runSideBySide(
        state, benchharness::processorSeconds,
        [&picture] { benchmark::DoNotOptimize(SprDecoder().convert(picture.spr.c_str(), OUTPUT)); },
        [&picture] { expandByteAtATime(picture); }, "engine", "byte_at_a_time");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * picture.size);
}

// One benchmark per picture, named as makePictures names it.
#define PICTURE_BENCHMARK(picture)                               \
    BENCHMARK_CAPTURE(BM_SprExpandSideBySide, picture, #picture) \
        ->UseManualTime()                                        \
        ->Unit(benchmark::kMillisecond)
PICTURE_BENCHMARK(flat_art);
PICTURE_BENCHMARK(game_art_arka);
PICTURE_BENCHMARK(game_art_font);
PICTURE_BENCHMARK(gradient);
PICTURE_BENCHMARK(noise);
PICTURE_BENCHMARK(text);
PICTURE_BENCHMARK(photo_wood);
PICTURE_BENCHMARK(photo_adwaita);
PICTURE_BENCHMARK(photo_pixels);

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
BENCHMARK(BM_BitmapConversion);

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
BENCHMARK(BM_TextureUpload)
    ->Args({640, 480})
    ->Args({512, 512})
    ->Args({256, 256})
    ->Unit(benchmark::kMillisecond);

// The whole road of one image: .spr to .bmp, bitmap to pixels, pixels to texture.
void BM_LoadTexture(benchmark::State& state) {
    if (!haveContext()) {
        state.SkipWithError("no display: run under tests/support/with-xvfb.sh");
        return;
    }
    std::vector<Picture> loaded;
    pack("load", gameBitmap(640, 480, LOOK_SHADED), loaded);
    for (auto _ : state) {
        GLuint texture = 0;
        g_textureLoader.loadTexture(&texture, "load");
        glFinish();
        glDeleteTextures(1, &texture);
    }
}
BENCHMARK(BM_LoadTexture)->Unit(benchmark::kMillisecond);

}  // namespace

// The pictures and the files the benchmarks write go to a scratch folder of our own.
int main(int argc, char** argv) {
    std::string scratch = (std::filesystem::temp_directory_path() / "pel2d-images-bench-XXXXXX").string();
    if (!mkdtemp(scratch.data())) return 1;
    std::filesystem::current_path(scratch);
    makePictures();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::current_path("/");
    std::filesystem::remove_all(scratch);
    return 0;
}
