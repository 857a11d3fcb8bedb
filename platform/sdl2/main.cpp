// The process entry on systems without WinMain: the replay layer's options, then the engine.
#include "core/entry.h"
#include "platform/replay/replay.h"

int main(int argc, char** argv) {
    int status = 0;
    if (!replay::start(argc, argv, &status)) return status;
    return replay::finish(WinMain(nullptr, nullptr, nullptr, SW_SHOW));
}
