// The one SDL audio device and the small mixer behind the sound buffers and the music stream.
//
// Everything the audio callback reads (the voice list, each voice's samples, position and flags) changes only
// while the device is locked: the callback runs with SDL's device lock held, and the main thread takes it
// with Mixer::Lock around a few field assignments at a time, never around decoding, conversion or allocation.
// So the callback waits at most for such an assignment, and the main thread at most for one callback. The
// callback allocates nothing: it mixes from samples prepared on the main thread, and from streams that make
// theirs as they play (voice.h), into an accumulator on its stack.
#pragma once

#include <SDL.h>

#include "platform/sdl2/voice.h"

namespace sdl2 {

class Mixer {
public:
    static Mixer& instance();

    // Opens the device on the first call; false (and nothing held) when there is none. A device that failed
    // to open is given up for good: later calls fail at once, so a machine without sound starts as quickly
    // as one with it. Each successful open is matched by one close; the last closes the device.
    bool open();
    void close();
    bool isOpen() const { return device != 0; }
    // Frames per second of the device's output.
    int rate() const { return deviceRate; }

    // A voice takes part in mixing from attach to detach. Both take the lock themselves.
    void attach(Voice* voice);
    void detach(Voice* voice);

    // Holds the callback off for a short state change.
    class Lock {
    public:
        explicit Lock(Mixer& mixer);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        SDL_AudioDeviceID device;
    };

private:
    static void SDLCALL callback(void* self, Uint8* stream, int bytes);
    bool openDevice();

    SDL_AudioDeviceID device = 0;
    bool unavailable = false;
    int references = 0;
    int deviceRate = 0;
    Voice* voices = nullptr;
};

}  // namespace sdl2
