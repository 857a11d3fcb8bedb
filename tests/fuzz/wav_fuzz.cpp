// The WAV reader: the chunk walk, then a whole sound load and a few plays on the fake sound device.
#include <cstddef>
#include <cstdint>

#include "audio/sound.h"
#include "audio/wav_reader.h"
#include "platform/fake/fake_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WaveLayout layout{};
    walkWave(data, size, &layout);

    fake::reset();
    SoundSystem system;
    system.init(nullptr);
    Sound sound;
    if (SUCCEEDED(sound.createFromMemory(&system, size, data, 3))) {
        for (int i = 0; i < 4; ++i)
            sound.play(0);
    }
    return 0;
}
