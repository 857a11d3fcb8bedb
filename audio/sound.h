// Sound effects: one sound device, and each effect held in several copies so that it can overlap itself.
#pragma once

#include <cstdint>

#include "platform/types.h"

class SoundSystem {
public:
    SoundSystem() = default;
    virtual ~SoundSystem();

    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    HRESULT init(HWND window);

    std::int32_t disabled = 1;  // nonzero until init succeeds; plays do nothing meanwhile
};

class Sound {
public:
    Sound() = default;
    ~Sound();

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    HRESULT load(SoundSystem* system, const char* path, int copies);
    // Plays a free copy, or cuts and restarts the next one in cyclic order.
    HRESULT play(DWORD flags);
    void release();

    std::int32_t copies = 1;
    std::int32_t current = 0;
    const char* path = nullptr;
    SoundSystem* system = nullptr;
};

extern SoundSystem* g_soundSystem;
extern Sound* g_sndTop;
extern Sound* g_sndYan;
extern Sound* g_sndYkr;
extern Sound* g_sndPatlama;
extern Sound* g_sndTops;

// The five game sounds with their copies, and their release (sounds before the device).
bool loadGameSounds();
void freeGameSounds();
