#include "synth.h"

#include <algorithm>
#include <cmath>

namespace synth {

double noteFrequency(int midiNote) {
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

double sine(double cycles) {
    return std::sin(2.0 * PI * cycles);
}

double triangle(double cycles) {
    const double phase = cycles - std::floor(cycles);
    return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
}

double pluck(double t, double attack, double decay) {
    if (t < 0.0) return 0.0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / decay);
}

double swell(double t, double attack, double length, double release) {
    if (t < 0.0) return 0.0;
    const double rise = std::min(1.0, t / attack);
    if (t < length) return rise;
    return rise * std::max(0.0, 1.0 - (t - length) / release);
}

double Noise::next() {
    state = state * 1664525u + 1013904223u;
    return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
}

double LowPass::operator()(double input) {
    value += amount * (input - value);
    return value;
}

void normalize(std::vector<double>& samples, double peak) {
    double largest = 0.0;
    for (double sample : samples)
        largest = std::max(largest, std::fabs(sample));
    if (largest <= 0.0) return;
    for (double& sample : samples)
        sample *= peak / largest;
}

}  // namespace synth
