// artgen OUTDIR [FONTFILE]: draws every picture of the game as a 24-bit bitmap under OUTDIR, named as the
// game names them (font.bmp, mouse.bmp, ..., efek/exp0.bmp ...). make-art.sh packs them into data/spr. The
// pictures depend on nothing but this program and the font file, so regenerating gives the same files.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/artgen/glyphs.h"
#include "tools/artgen/pictures.h"

namespace {

constexpr int EXPLOSION_FRAMES = 15;

struct Picture {
    const char* name;
    art::Canvas (*draw)(const std::string& fontFile);
};

art::Canvas fontSheet(const std::string& fontFile) {
    art::Canvas sheet(1, 1);
    if (!art::makeFontSheet(fontFile, sheet))
        std::fprintf(stderr, "artgen: cannot read %s\n", fontFile.c_str());
    return sheet;
}

const Picture PICTURES[] = {
    {"font", fontSheet},
    {"mouse", [](const std::string&) { return art::cursor(); }},
    {"mouse_m", [](const std::string&) { return art::cursorMask(); }},
    {"pel3d", [](const std::string& fontFile) { return art::logo(fontFile); }},
    {"lava", [](const std::string&) { return art::lava(); }},
    {"lava2", [](const std::string&) { return art::glowStrip(); }},
    {"arka", [](const std::string&) { return art::menuBackground(); }},
    {"arka2", [](const std::string&) { return art::playBackground(); }},
    {"top", [](const std::string&) { return art::ball(); }},
    {"topm", [](const std::string&) { return art::ballMask(); }},
    {"sopa", [](const std::string&) { return art::plate(); }},
    {"duvar", [](const std::string&) { return art::brick(); }},
    {"duvarm", [](const std::string&) { return art::brickMask(); }},
    {"menus", [](const std::string&) { return art::wallStrip(); }},
};

bool write(const art::Canvas& canvas, const std::filesystem::path& path) {
    if (canvas.writeBmp(path.string())) return true;
    std::fprintf(stderr, "artgen: cannot write %s\n", path.string().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: artgen OUTDIR [FONTFILE]\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::string fontFile = argc == 3 ? argv[2] : ARTGEN_FONT_DIR "/DejaVuSans-Bold.ttf";
    std::error_code error;
    std::filesystem::create_directories(out / "efek", error);
    bool ok = !error;
    for (const Picture& picture : PICTURES) {
        const art::Canvas canvas = picture.draw(fontFile);
        ok = canvas.width() > 1 && write(canvas, out / (std::string(picture.name) + ".bmp")) && ok;
    }
    for (int frame = 0; frame < EXPLOSION_FRAMES; ++frame) {
        const std::string name = "exp" + std::to_string(frame) + ".bmp";
        ok = write(art::explosionFrame(frame, EXPLOSION_FRAMES), out / "efek" / name) && ok;
    }
    return ok ? 0 : 1;
}
