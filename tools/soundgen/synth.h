// Small building blocks of the sound generator: oscillators, envelopes, noise, note frequencies.
#pragma once

#include <cstdint>
#include <vector>

namespace synth {

constexpr double PI = 3.14159265358979323846;

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double noteFrequency(int midiNote);

// Sine of a phase given in cycles.
double sine(double cycles);
// A soft triangle wave of a phase given in cycles, between -1 and 1.
double triangle(double cycles);

// Attack-decay envelope: rises linearly over `attack` seconds, then falls exponentially with time constant
// `decay`.
double pluck(double t, double attack, double decay);
// Attack-sustain-release envelope for a note held `length` seconds.
double swell(double t, double attack, double length, double release);

// Deterministic white noise in -1..1, the same on every run.
class Noise {
public:
    double next();

private:
    std::uint32_t state = 0x12345678u;
};

// A one-pole low-pass filter; `amount` near 0 smooths more.
class LowPass {
public:
    explicit LowPass(double smoothing) : amount(smoothing) {}
    double operator()(double input);

private:
    double amount;
    double value = 0.0;
};

// Scales the samples so that their largest magnitude is `peak`.
void normalize(std::vector<double>& samples, double peak);

}  // namespace synth
