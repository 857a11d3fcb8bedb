// The game's five sound effects, mono samples in -1..1 at EFFECT_RATE.
#pragma once

#include <vector>

constexpr int EFFECT_RATE = 22050;

std::vector<double> makeBrickHit();      // top.WAV: a bright, short glassy tink
std::vector<double> makeSideWall();      // yan.WAV: a soft wooden tock
std::vector<double> makeTopWall();       // ykr.WAV: the same tock, a fifth higher
std::vector<double> makeExplosion();     // patlama.WAV: a low rumbling burst
std::vector<double> makePaddleBounce();  // tops.WAV: a round upward boing
