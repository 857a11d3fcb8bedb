#include "music.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "synth.h"

namespace {

constexpr int BEATS_PER_MINUTE = 100;
constexpr int BEATS_PER_BAR = 4;
constexpr int BARS_PER_CHORD = 2;
constexpr std::size_t BEAT_FRAMES = MUSIC_RATE * 60 / BEATS_PER_MINUTE;
constexpr std::size_t CHORD_FRAMES = BEAT_FRAMES * BEATS_PER_BAR * BARS_PER_CHORD;
constexpr double BEAT_SECONDS = 60.0 / BEATS_PER_MINUTE;
constexpr double MUSIC_PEAK = 0.45;  // under the effects, so that they stand out and the sum rarely clips

struct Chord {
    int root;                // MIDI note of the bass
    std::array<int, 3> pad;  // the triad, around middle C
};

// Am, F, C, G, Am, F, G, E: the E at the end leads back into the Am at the start.
const Chord PROGRESSION[] = {
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}},
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {43, {55, 59, 62}}, {40, {56, 59, 64}},
};

// Arpeggio steps over the triad (index into pad, with octave), one per eighth note, two patterns that
// alternate.
struct ArpStep {
    int tone;
    int octave;
};
const ArpStep ARP_UP[8] = {{0, 1}, {1, 1}, {2, 1}, {0, 2}, {2, 1}, {1, 1}, {2, 1}, {1, 1}};
const ArpStep ARP_WAVE[8] = {{2, 1}, {0, 2}, {1, 2}, {0, 2}, {2, 1}, {1, 1}, {0, 1}, {1, 1}};

// Bass rhythm in eighth notes within one bar: 1 plays the root, 2 the octave above, 0 rests.
const int BASS_BAR[8] = {1, 0, 0, 1, 2, 0, 1, 0};

class Mix {
public:
    explicit Mix(std::size_t length) : frames(length), samples(length * 2, 0.0) {}

    // Adds a stereo sample at a frame, folding frames past the end back to the start.
    void add(std::size_t frame, double left, double right) {
        const std::size_t at = frame % frames;
        samples[at * 2] += left;
        samples[at * 2 + 1] += right;
    }

    std::size_t frames;
    std::vector<double> samples;
};

void addBassNote(Mix& mix, std::size_t start, int note, double seconds) {
    const double frequency = synth::noteFrequency(note);
    const auto length = static_cast<std::size_t>((seconds + 0.2) * MUSIC_RATE);
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / MUSIC_RATE;
        const double envelope = synth::swell(t, 0.008, seconds, 0.15) * (0.75 + 0.25 * std::exp(-t / 0.1));
        const double tone = synth::sine(frequency * t) + 0.3 * synth::sine(2.0 * frequency * t) +
                            0.08 * synth::sine(3.0 * frequency * t);
        const double value = 0.32 * tone * envelope;
        mix.add(start + i, value, value);
    }
}

void addPadChord(Mix& mix, std::size_t start, const Chord& chord) {
    const double seconds = static_cast<double>(CHORD_FRAMES) / MUSIC_RATE;
    const auto length = static_cast<std::size_t>((seconds + 1.2) * MUSIC_RATE);
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / MUSIC_RATE;
        const double envelope = synth::swell(t, 0.9, seconds, 1.2);
        double left = 0.0;
        double right = 0.0;
        for (int note : chord.pad) {
            const double frequency = synth::noteFrequency(note);
            // Two voices a little apart in pitch, one to each side, give the pad its slow shimmer.
            const double a =
                synth::sine(frequency * 0.998 * t) + 0.25 * synth::sine(2.0 * frequency * 0.998 * t);
            const double b =
                synth::sine(frequency * 1.002 * t) + 0.25 * synth::sine(2.0 * frequency * 1.002 * t);
            left += 0.7 * a + 0.3 * b;
            right += 0.3 * a + 0.7 * b;
        }
        mix.add(start + i, 0.06 * left * envelope, 0.06 * right * envelope);
    }
}

void addPluck(Mix& mix, std::size_t start, int note, double pan) {
    const double frequency = synth::noteFrequency(note);
    const auto length = static_cast<std::size_t>(0.6 * MUSIC_RATE);
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / MUSIC_RATE;
        const double tone = synth::triangle(frequency * t) * 0.5 + synth::sine(frequency * t) * 0.5;
        const double value = 0.13 * tone * synth::pluck(t, 0.004, 0.16);
        mix.add(start + i, value * (1.0 - pan), value * (1.0 + pan));
    }
}

void addShaker(Mix& mix, std::size_t start, synth::Noise& noise) {
    synth::LowPass soften(0.55);
    const auto length = static_cast<std::size_t>(0.05 * MUSIC_RATE);
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / MUSIC_RATE;
        const double hiss = noise.next() - soften(noise.next());
        const double value = 0.035 * hiss * synth::pluck(t, 0.002, 0.012);
        mix.add(start + i, value * 0.8, value);
    }
}

void addChordSection(Mix& mix, std::size_t chordIndex, synth::Noise& noise) {
    const Chord& chord = PROGRESSION[chordIndex];
    const std::size_t start = chordIndex * CHORD_FRAMES;
    const std::size_t eighth = BEAT_FRAMES / 2;
    addPadChord(mix, start, chord);
    const ArpStep* pattern = chordIndex % 2 == 0 ? ARP_UP : ARP_WAVE;
    for (int bar = 0; bar < BARS_PER_CHORD; ++bar) {
        const std::size_t barStart = start + static_cast<std::size_t>(bar) * BEAT_FRAMES * BEATS_PER_BAR;
        for (std::size_t step = 0; step < 8; ++step) {
            const std::size_t at = barStart + step * eighth;
            if (BASS_BAR[step] != 0) {
                addBassNote(mix, at, chord.root + (BASS_BAR[step] == 2 ? 12 : 0), 0.8 * BEAT_SECONDS / 2);
            }
            const ArpStep& arp = pattern[step];
            addPluck(mix, at, chord.pad[static_cast<std::size_t>(arp.tone)] + 12 * arp.octave,
                     step % 2 == 0 ? -0.3 : 0.3);
            if (step % 2 == 1) addShaker(mix, at, noise);
        }
    }
}

}  // namespace

std::vector<double> makeMusicLoop() {
    const std::size_t chords = sizeof PROGRESSION / sizeof PROGRESSION[0];
    Mix mix(chords * CHORD_FRAMES);
    synth::Noise noise;
    for (std::size_t chord = 0; chord < chords; ++chord)
        addChordSection(mix, chord, noise);
    synth::normalize(mix.samples, MUSIC_PEAK);
    return mix.samples;
}
