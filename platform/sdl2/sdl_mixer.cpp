#include "platform/sdl2/sdl_mixer.h"

namespace sdl2 {

namespace {

constexpr int MIXER_RATE = 44100;
constexpr Uint16 MIXER_PERIOD_FRAMES = 1024;

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
    // Any rate the device prefers is fine: a sound's samples are converted to it once, when they are made,
    // and the music's as it plays.
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

}  // namespace sdl2
