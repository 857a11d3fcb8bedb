#include "effects.h"

#include <cmath>

#include "synth.h"

namespace {

// The effects sit below the music's level so that several together do not clip.
constexpr double EFFECT_PEAK = 0.55;
constexpr double EXPLOSION_PEAK = 0.7;

std::vector<double> samplesFor(double seconds) {
    return std::vector<double>(static_cast<std::size_t>(seconds * EFFECT_RATE));
}

double timeOf(std::size_t index) {
    return static_cast<double>(index) / EFFECT_RATE;
}

// A wooden knock at `frequency`: a sine whose pitch falls a little, with a breath of noise at the start.
std::vector<double> knock(double frequency) {
    std::vector<double> out = samplesFor(0.14);
    synth::Noise noise;
    synth::LowPass soften(0.3);
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        phase += frequency * (1.0 - 0.12 * (1.0 - std::exp(-t / 0.03))) / EFFECT_RATE;
        const double body = synth::sine(phase) + 0.25 * synth::sine(2.0 * phase);
        const double breath = soften(noise.next()) * synth::pluck(t, 0.001, 0.006);
        out[i] = body * synth::pluck(t, 0.002, 0.028) + 0.6 * breath;
    }
    synth::normalize(out, EFFECT_PEAK);
    return out;
}

}  // namespace

std::vector<double> makeBrickHit() {
    std::vector<double> out = samplesFor(0.18);
    const double frequency = synth::noteFrequency(91);  // G6
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        const double tone = synth::sine(frequency * t) +
                            0.35 * synth::sine(2.0 * frequency * t) * std::exp(-t / 0.02) +
                            0.2 * synth::sine(3.01 * frequency * t) * std::exp(-t / 0.01);
        out[i] = tone * synth::pluck(t, 0.0015, 0.045);
    }
    synth::normalize(out, EFFECT_PEAK);
    return out;
}

std::vector<double> makeSideWall() {
    return knock(synth::noteFrequency(67));  // G4
}

std::vector<double> makeTopWall() {
    return knock(synth::noteFrequency(74));  // D5
}

std::vector<double> makeExplosion() {
    std::vector<double> out = samplesFor(0.9);
    synth::Noise noise;
    synth::LowPass rumble(0.06);
    synth::LowPass crackle(0.5);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        const double low = rumble(noise.next()) * 4.0 * synth::pluck(t, 0.004, 0.22);
        const double high = crackle(noise.next()) * synth::pluck(t, 0.001, 0.05);
        const double thump = synth::sine(55.0 * t - 8.0 * t * t) * synth::pluck(t, 0.003, 0.12);
        out[i] = low + 0.5 * high + 0.8 * thump;
    }
    synth::normalize(out, EXPLOSION_PEAK);
    return out;
}

std::vector<double> makePaddleBounce() {
    std::vector<double> out = samplesFor(0.2);
    const double from = synth::noteFrequency(55);  // G3
    const double to = synth::noteFrequency(62);    // D4
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = timeOf(i);
        phase += (to + (from - to) * std::exp(-t / 0.04)) / EFFECT_RATE;
        const double tone = synth::sine(phase) + 0.3 * synth::triangle(2.0 * phase);
        out[i] = tone * synth::pluck(t, 0.003, 0.06);
    }
    synth::normalize(out, EFFECT_PEAK);
    return out;
}
