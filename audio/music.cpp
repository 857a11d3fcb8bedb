#include "audio/music.h"

#include "audio/sound.h"
#include "platform/system.h"

plat::GraphBuilder* g_graphBuilder = nullptr;
plat::MediaControl* g_mediaControl = nullptr;
plat::MediaEvent* g_mediaEvent = nullptr;
plat::MediaSeeking* g_mediaSeeking = nullptr;

namespace {

constexpr const wchar_t* MUSIC_FILE = L"data/snd/oyun.mp3";
constexpr const char* AUDIO_ERROR_CAPTION = "Hata";
constexpr const char* TEXT_COM_FAILED = "Com init edilemedi!";
constexpr const char* TEXT_FILTER_FAILED = "Filter acilamadi!";
constexpr const char* TEXT_MP3_MISSING = "Mp3 bulunamadi!";
constexpr long NO_WAIT = 0;

void showAudioError(const char* text) {
    plat::messageBox(nullptr, text, AUDIO_ERROR_CAPTION, MB_OK);
}

// Builds the graph and starts the track. Without a graph there is no music and no media call is made later.
void startMusic() {
    if (FAILED(plat::createFilterGraph(&g_graphBuilder))) {
        showAudioError(TEXT_FILTER_FAILED);
        return;
    }
    plat::queryMediaControl(g_graphBuilder, &g_mediaControl);
    plat::queryMediaEvent(g_graphBuilder, &g_mediaEvent);
    if (FAILED(plat::renderFile(g_graphBuilder, MUSIC_FILE, nullptr))) showAudioError(TEXT_MP3_MISSING);
    if (g_mediaControl) plat::run(g_mediaControl);
    plat::queryMediaSeeking(g_graphBuilder, &g_mediaSeeking);
}

// The track has ended: seek back to its start, or stop and run the graph again when the seek is refused.
HRESULT restartMusic() {
    HRESULT result = E_NOINTERFACE;
    if (g_mediaSeeking) {
        LONGLONG start = 0;
        result = plat::setPositions(g_mediaSeeking, &start, AM_SEEKING_AbsolutePositioning, nullptr,
                                    AM_SEEKING_NoPositioning);
    }
    if (SUCCEEDED(result)) return result;
    if (!g_mediaControl) return result;
    result = plat::stop(g_mediaControl);
    if (FAILED(result)) return result;
    return plat::run(g_mediaControl);
}

}  // namespace

int initAudio() {
    if (FAILED(plat::coInitialize())) showAudioError(TEXT_COM_FAILED);
    startMusic();
    loadGameSounds();
    return 1;
}

HRESULT pollMusicEvents() {
    if (!g_mediaEvent) return S_OK;
    HRESULT result = S_OK;
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (SUCCEEDED(plat::getEvent(g_mediaEvent, &code, &param1, &param2, NO_WAIT))) {
        result = plat::freeEventParams(g_mediaEvent, code, param1, param2);
        if (code != EC_COMPLETE) continue;
        result = restartMusic();
        if (FAILED(result)) return result;
    }
    return result;
}

void shutdownAudio() {
    freeGameSounds();
    if (g_mediaControl) {
        plat::stop(g_mediaControl);
        plat::release(g_mediaControl);
    }
    if (g_mediaEvent) plat::release(g_mediaEvent);
    if (g_mediaSeeking) plat::release(g_mediaSeeking);
    if (g_graphBuilder) plat::release(g_graphBuilder);
    // Released handles are dropped too, so that nothing can reach the graph after this.
    g_mediaControl = nullptr;
    g_mediaEvent = nullptr;
    g_mediaSeeking = nullptr;
    g_graphBuilder = nullptr;
    plat::coUninitialize();
}
