#include "platform/sdl2/sdl_mixer.h"

#include <algorithm>
#include <cstring>

namespace sdl2 {

namespace {

constexpr int MIXER_RATE = 44100;
constexpr int MIXER_CHANNELS = 2;
constexpr Uint16 MIXER_PERIOD_FRAMES = 1024;
// The callback mixes in slices of this many frames, so its accumulator fits on the stack.
constexpr std::size_t MIX_SLICE_FRAMES = 256;
constexpr std::int32_t SAMPLE_MIN = -32768;
constexpr std::int32_t SAMPLE_MAX = 32767;

// Adds up to `frames` frames of the voice to the accumulator; returns how many it had.
std::size_t mixVoice(Voice& voice, std::int32_t* accumulator, std::size_t frames) {
    const DeviceSamples& samples = *voice.samples;
    const std::size_t total = samples.size() / MIXER_CHANNELS;
    std::size_t mixed = 0;
    while (mixed < frames && voice.playing) {
        if (voice.position >= total) {
            if (voice.looping && total > 0) {
                voice.position = 0;
                continue;
            }
            voice.playing = false;
            voice.position = total;
            ++voice.endsReached;
            break;
        }
        const std::size_t run = std::min(frames - mixed, total - voice.position);
        const std::int16_t* from = samples.data() + voice.position * MIXER_CHANNELS;
        std::int32_t* to = accumulator + mixed * MIXER_CHANNELS;
        for (std::size_t i = 0; i < run * MIXER_CHANNELS; ++i)
            to[i] += from[i];
        voice.position += run;
        mixed += run;
    }
    return mixed;
}

}  // namespace

Mixer& Mixer::instance() {
    static Mixer mixer;
    return mixer;
}

bool Mixer::open() {
    if (device != 0) {
        ++references;
        return true;
    }
    if (unavailable) return false;
    unavailable = !openDevice();
    if (unavailable) return false;
    references = 1;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

bool Mixer::openDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = MIXER_RATE;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = MIXER_CHANNELS;
    wanted.samples = MIXER_PERIOD_FRAMES;
    wanted.callback = &Mixer::callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // Any rate the device prefers is fine: samples are converted to it once, when they are made.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained,
                                 SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    // On failure SDL's audio part stays up, idle, until the process ends: shutting it down waits up to a
    // tenth of a second for the ALSA driver's device watcher, and nothing will open a device again.
    if (device == 0) return false;
    deviceRate = obtained.freq;
    return true;
}

void Mixer::close() {
    if (device == 0 || --references > 0) return;
    SDL_CloseAudioDevice(device);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    device = 0;
    deviceRate = 0;
    voices = nullptr;
}

void Mixer::attach(Voice* voice) {
    Lock lock(*this);
    voice->prev = nullptr;
    voice->next = voices;
    if (voices) voices->prev = voice;
    voices = voice;
}

void Mixer::detach(Voice* voice) {
    Lock lock(*this);
    if (voice->prev) voice->prev->next = voice->next;
    if (voice->next) voice->next->prev = voice->prev;
    if (voices == voice) voices = voice->next;
    voice->prev = nullptr;
    voice->next = nullptr;
}

Mixer::Lock::Lock(Mixer& mixer) : device(mixer.device) {
    if (device != 0) SDL_LockAudioDevice(device);
}

Mixer::Lock::~Lock() {
    if (device != 0) SDL_UnlockAudioDevice(device);
}

void SDLCALL Mixer::callback(void* self, Uint8* stream, int bytes) {
    const std::size_t frames = static_cast<std::size_t>(bytes) / (MIXER_CHANNELS * sizeof(std::int16_t));
    mixInto(static_cast<Mixer*>(self)->voices, reinterpret_cast<std::int16_t*>(stream), frames);
}

void mixInto(Voice* voices, std::int16_t* out, std::size_t frames) {
    std::int32_t accumulator[MIX_SLICE_FRAMES * MIXER_CHANNELS];
    for (std::size_t done = 0; done < frames;) {
        const std::size_t slice = std::min(MIX_SLICE_FRAMES, frames - done);
        std::memset(accumulator, 0, sizeof accumulator);
        for (Voice* voice = voices; voice; voice = voice->next) {
            if (voice->playing && voice->samples) mixVoice(*voice, accumulator, slice);
        }
        std::int16_t* to = out + done * MIXER_CHANNELS;
        for (std::size_t i = 0; i < slice * MIXER_CHANNELS; ++i) {
            to[i] = static_cast<std::int16_t>(std::clamp(accumulator[i], SAMPLE_MIN, SAMPLE_MAX));
        }
        done += slice;
    }
}

}  // namespace sdl2
