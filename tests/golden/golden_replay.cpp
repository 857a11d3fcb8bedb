// Replays a demo as the timedemo does and saves the frames asked for with the engine's own screenshot
// routine:
//   golden_replay DEMO OUT_DIR FRAME...   writes OUT_DIR/FRAME.tga for each frame number
// and prints the OpenGL renderer, which the golden comparison checks. Run it from a run folder.
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "core/entry.h"
#include "graphics/texture_loader.h"
#include "platform/replay/replay.h"

namespace {

std::set<unsigned> g_frames;
std::string g_outDir;

// Called just before the frame is presented, when the back buffer holds it, as an F1 screenshot finds it.
void saveChosenFrame(unsigned frame) {
    if (frame == 0) std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    if (g_frames.count(frame) == 0) return;
    const std::string name = g_outDir + "/" + std::to_string(frame) + ".tga";
    if (g_textureLoader.saveScreenshot() != 0 || std::rename("ekrang.tga", name.c_str()) != 0) {
        std::fprintf(stderr, "golden_replay: cannot save frame %u as %s\n", frame, name.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: golden_replay DEMO OUT_DIR FRAME...\n");
        return 2;
    }
    g_outDir = argv[2];
    for (int i = 3; i < argc; ++i)
        g_frames.insert(static_cast<unsigned>(std::strtoul(argv[i], nullptr, 10)));
    char option[] = "--timedemo";
    char* replayArgs[] = {argv[0], option, argv[1], nullptr};
    int status = 0;
    if (!replay::start(3, replayArgs, &status)) return status;
    replay::setFrameObserver(saveChosenFrame);
    return replay::finish(WinMain(nullptr, nullptr, nullptr, SW_SHOW));
}
