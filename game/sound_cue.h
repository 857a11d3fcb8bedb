// How the game plays its sound effects: once, and only those that were created at start-up.
#pragma once

#include "audio/sound.h"

// Plays `sound` once (flags 0) if it exists. The result is not looked at: a failed effect only means silence.
void playCue(Sound* sound);

// Hears every effect the game plays, just before it is played; null unless a test listens.
using SoundCueListener = void (*)(const Sound* sound);
extern SoundCueListener g_soundCueListener;
