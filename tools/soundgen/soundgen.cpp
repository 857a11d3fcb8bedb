// soundgen OUTDIR: writes the game's effects to OUTDIR/ses/*.WAV and the music loop to OUTDIR/oyun.wav, which
// make-sounds.sh encodes to OUTDIR/oyun.mp3.
#include <cstdio>
#include <string>
#include <vector>

#include "effects.h"
#include "music.h"
#include "wav_writer.h"

namespace {

struct Effect {
    const char* file;
    std::vector<double> (*make)();
};

// The names keep the case the game asks for.
const Effect EFFECTS[] = {
    {"top.WAV", &makeBrickHit},      {"yan.WAV", &makeSideWall},      {"ykr.WAV", &makeTopWall},
    {"patlama.WAV", &makeExplosion}, {"tops.WAV", &makePaddleBounce},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: soundgen OUTDIR   (OUTDIR/ses must exist)\n");
        return 2;
    }
    const std::string outDir = argv[1];
    for (const Effect& effect : EFFECTS) {
        const std::string path = outDir + "/ses/" + effect.file;
        if (!writeWav16(path, effect.make(), 1, EFFECT_RATE)) {
            std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    const std::string music = outDir + "/oyun.wav";
    if (!writeWav16(music, makeMusicLoop(), 2, MUSIC_RATE)) {
        std::fprintf(stderr, "soundgen: cannot write %s\n", music.c_str());
        return 1;
    }
    return 0;
}
