// The background music: a seamless loop, stereo samples in -1..1 at MUSIC_RATE, interleaved.
#pragma once

#include <vector>

constexpr int MUSIC_RATE = 44100;

// A gentle loop in A minor: bass, pad and a light arpeggio over eight chords of two bars each at 100 beats a
// minute (38.4 seconds). Every note's tail that runs past the end is folded back onto the start, so the last
// sample leads into the first without a click.
std::vector<double> makeMusicLoop();
