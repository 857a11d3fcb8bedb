#include "audio/sound.h"

// The sound device arrives with the audio backend; until then the game runs silent.
SoundSystem* g_soundSystem = nullptr;
Sound* g_sndTop = nullptr;
Sound* g_sndYan = nullptr;
Sound* g_sndYkr = nullptr;
Sound* g_sndPatlama = nullptr;
Sound* g_sndTops = nullptr;

SoundSystem::~SoundSystem() = default;

HRESULT SoundSystem::init(HWND) {
    return E_FAIL;
}

Sound::~Sound() {
    release();
}

HRESULT Sound::load(SoundSystem*, const char*, int) {
    return E_FAIL;
}

HRESULT Sound::play(DWORD) {
    return E_FAIL;
}

void Sound::release() {
    system = nullptr;
}

bool loadGameSounds() {
    return true;
}

void freeGameSounds() {}
