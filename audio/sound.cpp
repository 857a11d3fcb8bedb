#include "audio/sound.h"

#include "graphics/display.h"

SoundSystem* g_soundSystem = nullptr;
Sound* g_sndTop = nullptr;
Sound* g_sndYan = nullptr;
Sound* g_sndYkr = nullptr;
Sound* g_sndPatlama = nullptr;
Sound* g_sndTops = nullptr;

namespace {

struct GameSound {
    Sound** global;
    const char* path;
    int copies;
};

// In load order. A sound heard often or in quick runs gets more copies, so that it can overlap itself.
const GameSound GAME_SOUNDS[] = {
    {&g_sndTop, "data\\snd\\ses\\top.WAV", 7},   {&g_sndYan, "data\\snd\\ses\\yan.WAV", 2},
    {&g_sndYkr, "data\\snd\\ses\\ykr.WAV", 2},   {&g_sndPatlama, "data\\snd\\ses\\patlama.WAV", 4},
    {&g_sndTops, "data\\snd\\ses\\tops.WAV", 1},
};

bool isPlaying(plat::SoundBuffer* buffer) {
    DWORD status = 0;
    return SUCCEEDED(plat::getBufferStatus(buffer, &status)) && (status & DSBSTATUS_PLAYING);
}

}  // namespace

SoundSystem::~SoundSystem() {
    if (directSound) plat::releaseSoundDevice(directSound);
    directSound = nullptr;
}

HRESULT SoundSystem::init(HWND window) {
    HRESULT result = plat::directSoundCreate(&directSound);
    if (result != S_OK) return result;
    result = plat::setCooperativeLevel(directSound, window, DSSCL_NORMAL);
    if (result != S_OK) return result;
    disabled = 0;
    return S_OK;
}

Sound::~Sound() {
    release();
}

void Sound::release() {
    if (buffers) {
        for (int i = 0; i < copies; ++i) {
            if (buffers[i]) plat::releaseBuffer(buffers[i]);
            buffers[i] = nullptr;
        }
        delete[] buffers;
        buffers = nullptr;
    }
    system = nullptr;
}

plat::SoundBuffer* Sound::getFreeBuffer() {
    if (!buffers) return nullptr;
    plat::SoundBuffer* buffer = buffers[current];
    if (!buffer) return nullptr;
    DWORD status = 0;
    if (FAILED(plat::getBufferStatus(buffer, &status))) status = 0;

    if (status & DSBSTATUS_PLAYING) {
        if (copies < 2) return nullptr;
        current = (current + 1) % copies;
        buffer = buffers[current];
        // A duplicate whose making failed is null; it cannot sound.
        if (!buffer) return nullptr;
        if (isPlaying(buffer)) {
            plat::stopBuffer(buffer);
            plat::setCurrentPosition(buffer, 0);
        }
    }
    if (status & DSBSTATUS_BUFFERLOST) {
        if (FAILED(plat::restoreBuffer(buffer))) return nullptr;
    }
    return buffer;
}

HRESULT Sound::play(DWORD flags) {
    if (!system) return DSERR_UNINITIALIZED;
    if (system->disabled) return S_OK;
    plat::SoundBuffer* buffer = getFreeBuffer();
    if (!buffer) return DSERR_ALLOCATED;
    const HRESULT result = plat::playBuffer(buffer, 0, 0, flags);
    return FAILED(result) ? result : S_OK;
}

bool loadGameSounds() {
    // A second start-up replaces the sounds of the first instead of losing them.
    freeGameSounds();
    g_soundSystem = new SoundSystem;
    g_soundSystem->init(g_hWnd);
    for (const GameSound& entry : GAME_SOUNDS) {
        *entry.global = new Sound;
        (*entry.global)->load(g_soundSystem, entry.path, entry.copies);
    }
    return true;
}

void freeGameSounds() {
    for (const GameSound& entry : GAME_SOUNDS) {
        Sound*& sound = *entry.global;
        if (!sound) continue;
        sound->release();
        delete sound;
        sound = nullptr;
    }
    delete g_soundSystem;
    g_soundSystem = nullptr;
}
