// Sound effects: one sound device, and each effect held in several copies so that it can overlap itself.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/sound.h"
#include "platform/types.h"

class SoundSystem {
public:
    SoundSystem() = default;
    // Releases the device; the sounds made on it are released before this runs.
    virtual ~SoundSystem();

    SoundSystem(const SoundSystem&) = delete;
    SoundSystem& operator=(const SoundSystem&) = delete;

    // Opens the default device at the normal cooperative level. The first failure is returned; without a
    // device every load fails, and with the level refused the sounds load but never play.
    HRESULT init(HWND window);

    std::int32_t disabled = 1;  // nonzero until init succeeds; plays do nothing meanwhile
    plat::SoundDevice* directSound = nullptr;
};

class Sound {
public:
    Sound() = default;
    ~Sound();

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Loads a RIFF/WAVE file into `copies` buffers. The path is kept, not copied: the caller's string must
    // live as long as the sound. A file that does not open leaves the sound as it was.
    HRESULT load(SoundSystem* soundSystem, const char* filePath, int copyCount);
    // Loads `size` bytes from the stream's position, or everything to its end when size is 0.
    HRESULT loadFromStream(SoundSystem* soundSystem, std::size_t size, std::FILE* stream, int copyCount);
    // Loads from a whole file image in memory; the image can be freed afterwards.
    HRESULT createFromMemory(SoundSystem* soundSystem, std::size_t size, const std::uint8_t* image,
                             int copyCount);

    // Makes copy 0: a static buffer of `bytes` bytes in `format`, inside a fresh array of `copyCount`
    // buffers.
    HRESULT createBuffers(DWORD bytes, const plat::WaveFormat& format, int copyCount);
    // Writes the samples into copy 0.
    HRESULT fillBuffer(const std::uint8_t* data, DWORD bytes);
    // Makes copies 1 and up as duplicates of copy 0, sharing its samples.
    HRESULT duplicateBuffers();
    // Drops every buffer; copies, current and path stay.
    void release();

    // The copy to play next: copy `current` when idle, else the next one in cyclic order, cut and rewound if
    // it still sounds. Null when there is nothing to play or the one copy is busy.
    plat::SoundBuffer* getFreeBuffer();
    // Plays a free copy once (the game passes flags 0). DSERR_UNINITIALIZED when never loaded,
    // DSERR_ALLOCATED when no copy can sound, 0 without sound while the system is disabled.
    HRESULT play(DWORD flags);

    std::int32_t copies = 1;
    std::int32_t current = 0;
    const char* path = nullptr;
    SoundSystem* system = nullptr;
    plat::SoundBuffer** buffers = nullptr;
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
