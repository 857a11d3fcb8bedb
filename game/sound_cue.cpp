#include "game/sound_cue.h"

namespace {
constexpr DWORD PLAY_ONCE = 0;
}

SoundCueListener g_soundCueListener = nullptr;

void playCue(Sound* sound) {
    if (!sound) return;
    if (g_soundCueListener) g_soundCueListener(sound);
    sound->play(PLAY_ONCE);
}
