// DirectSound and DirectShow on Wine as the engine drives them, a line per step for audio_wintest.sh, run
// where oyun.mp3 lasts TRACK_MS. Every wait is on what the backend reports, bounded far beyond the sound.
#include <cstdio>
#include <utility>

#include "platform/native.h"

namespace {

namespace native = plat::native;

constexpr DWORD TRACK_MS = 1500;
constexpr DWORD TONE_RATE = 22050;  // 16-bit mono, a quarter of a second
constexpr DWORD TONE_BYTES = TONE_RATE / 4 * 2;
constexpr DWORD TONE_MS = 250;

// Any code the transcript does not name in hexadecimal, in one of a few buffers, as a line shows several.
const char* nameOf(HRESULT result) {
    static const std::pair<HRESULT, const char*> NAMES[] = {{S_OK, "ok"},
                                                            {E_ABORT, "E_ABORT"},
                                                            {DSERR_NODRIVER, "DSERR_NODRIVER"},
                                                            {HRESULT_FILE_NOT_FOUND, "FILE_NOT_FOUND"}};
    for (const auto& [code, name] : NAMES)
        if (code == result) return name;
    static char hex[8][12];
    static int next = 0;
    std::snprintf(hex[++next % 8], sizeof hex[0], "0x%08lx", static_cast<unsigned long>(result));
    return hex[next % 8];
}

// Many times the sound's length, plus the audio threads' start-up: slower, never wrong.
DWORD boundFor(DWORD soundMs) {
    return soundMs * 20 + 20000;
}

// At least half the sound's length, or it was never played.
const char* endAfter(DWORD elapsed, DWORD soundMs) {
    return elapsed == 0 ? "never" : elapsed >= soundMs / 2 ? "after its length" : "too soon";
}

// Writes the tone through a lock of the whole buffer, or checks that it reads back; whether all went well.
bool lockedTone(plat::SoundBuffer* buffer, bool write) {
    void* region = nullptr;
    void* region2 = nullptr;
    DWORD bytes = 0, bytes2 = 0;
    if (native::lockBuffer(buffer, 0, 0, &region, &bytes, &region2, &bytes2, DSBLOCK_ENTIREBUFFER) != DS_OK)
        return false;
    bool same = bytes == TONE_BYTES && !region2 && bytes2 == 0;
    auto* samples = static_cast<std::int16_t*>(region);
    for (DWORD i = 0; same && i < bytes / 2; ++i) {
        const auto sample = static_cast<std::int16_t>(static_cast<int>(i * 37 % 2000) - 1000);
        if (write) samples[i] = sample;
        same = samples[i] == sample;
    }
    return native::unlockBuffer(buffer, region, bytes, region2, bytes2) == DS_OK && same;
}

// The status, or with CURSOR the play cursor; all bits set if the backend does not answer.
DWORD statusOf(plat::SoundBuffer* buffer, bool cursor = false) {
    DWORD value = 0xFFFFFFFFu, write = 0;
    cursor ? native::getCurrentPosition(buffer, &value, &write) : native::getBufferStatus(buffer, &value);
    return value;
}

// Plays the buffer once and follows its status until it ends by itself.
void playToEnd(const char* what, plat::SoundBuffer* buffer) {
    const DWORD start = GetTickCount();
    const HRESULT result = native::playBuffer(buffer, 0, 0, 0);
    const DWORD status = statusOf(buffer);
    DWORD elapsed = 0;
    while (elapsed == 0 && GetTickCount() - start <= boundFor(TONE_MS)) {
        if (!(statusOf(buffer) & DSBSTATUS_PLAYING)) elapsed = GetTickCount() - start;
        Sleep(1);
    }
    std::printf("%s: play %s, status %lu, ended %s\n", what, nameOf(result), status,
                endAfter(elapsed, TONE_MS));
}

// What the engine does to cut a copy short: stop it while it loops and rewind it.
void cutShort(plat::SoundBuffer* buffer) {
    const HRESULT set = native::setCurrentPosition(buffer, 4000);
    const DWORD standing = statusOf(buffer, true);
    const HRESULT looped = native::playBuffer(buffer, 0, 0, DSBPLAY_LOOPING);
    const DWORD looping = statusOf(buffer);
    const HRESULT stopped = native::stopBuffer(buffer);
    const DWORD after = statusOf(buffer);
    const HRESULT rewound = native::setCurrentPosition(buffer, 0);
    std::printf("position %s at %lu, loop %s status %lu, stop %s status %lu, rewind %s at %lu, restore %s\n",
                nameOf(set), standing, nameOf(looped), looping, nameOf(stopped), after, nameOf(rewound),
                statusOf(buffer, true), nameOf(native::restoreBuffer(buffer)));
}

void checkSound(HWND window) {
    // Without a driver the engine gets no device, not the stale pointer it passed in.
    int stale = 0;
    auto* device = reinterpret_cast<plat::SoundDevice*>(&stale);
    HRESULT result = native::directSoundCreate(&device);
    std::printf("device %s, none %d, cooperative level %s\n", nameOf(result), device == nullptr,
                device ? nameOf(native::setCooperativeLevel(device, window, DSSCL_NORMAL)) : "-");
    if (!device) return;
    constexpr DWORD ENGINE_FLAGS = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                                   DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;
    const plat::WaveFormat format{WAVE_FORMAT_PCM, 1, TONE_RATE, TONE_RATE * 2, 2, 16, 0};
    plat::SoundBuffer *original = nullptr, *copy = nullptr;
    result = native::createSoundBuffer(device, {36, ENGINE_FLAGS, TONE_BYTES, 0, &format}, &original);
    std::printf("buffer %s, tone written %d\n", nameOf(result), original && lockedTone(original, true));
    result = native::duplicateSoundBuffer(device, original, &copy);
    if (!original || !copy) return;
    std::printf("duplicate %s, same samples %d, status %lu %lu\n", nameOf(result), lockedTone(copy, false),
                statusOf(original), statusOf(copy));
    // Both copies sound at once, each with its own status; a finished copy plays again from its start.
    std::printf("copy %s\n", nameOf(native::playBuffer(copy, 0, 0, 0)));
    playToEnd("original", original);
    playToEnd("original again", original);
    std::printf("copy status %lu\n", statusOf(copy));
    cutShort(copy);
    native::releaseSoundDevice(device);  // buffers outlive it
    playToEnd("copy without the device", copy);
    native::releaseBuffer(copy);
    native::releaseBuffer(original);
}

struct Graph {
    plat::GraphBuilder* builder = nullptr;
    plat::MediaControl* control = nullptr;
    plat::MediaEvent* events = nullptr;
    plat::MediaSeeking* seeking = nullptr;

    Graph() {
        if (native::createFilterGraph(&builder) != S_OK ||
            native::queryMediaControl(builder, &control) != S_OK ||
            native::queryMediaEvent(builder, &events) != S_OK ||
            native::queryMediaSeeking(builder, &seeking) != S_OK)
            std::printf("graph not made\n");
    }
    // The four interfaces are views of one graph: it goes with the last of them.
    ~Graph() {
        const std::uint32_t left =
            native::release(seeking) + native::release(events) + native::release(control);
        std::printf("graph released, %s\n", left > 0 && native::release(builder) == 0 ? "gone" : "left");
    }
};

// The engine's message loop, taking the graph's events after each message until the end, then one more.
void waitForEnd(const char* what, HRESULT result, const Graph& graph) {
    const DWORD start = GetTickCount();
    DWORD elapsed = 0;
    long code = 0;
    LONG_PTR param1 = 0, param2 = 0;
    for (DWORD waited = 0; elapsed == 0 && waited < boundFor(TRACK_MS); waited = GetTickCount() - start) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, boundFor(TRACK_MS) - waited, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        while (SUCCEEDED(native::getEvent(graph.events, &code, &param1, &param2, 0))) {
            if (code == EC_COMPLETE) elapsed = GetTickCount() - start;
            if (native::freeEventParams(graph.events, code, param1, param2) != S_OK)
                std::printf("event not freed\n");
        }
    }
    std::printf("%s %s: ended %s, then %s\n", what, nameOf(result), endAfter(elapsed, TRACK_MS),
                nameOf(native::getEvent(graph.events, &code, &param1, &param2, 0)));
}

HRESULT rewind(plat::MediaSeeking* seeking) {
    LONGLONG start = 0;
    return native::setPositions(seeking, &start, AM_SEEKING_AbsolutePositioning, nullptr,
                                AM_SEEKING_NoPositioning);
}

void checkMusic() {
    {
        const Graph graph;
        std::printf("rendered %s\n",
                    nameOf(native::renderFile(graph.builder, L"data/snd/oyun.mp3", nullptr)));
        const HRESULT ran = native::run(graph.control);
        waitForEnd("run", ran < 0 ? ran : S_OK, graph);
        // The engine's loop: a seek to the start while the graph runs plays the track again.
        waitForEnd("rewound", rewind(graph.seeking), graph);
        // Its fallback: stopped, rewound and run again.
        const HRESULT stopped = native::stop(graph.control);
        const HRESULT rewound = rewind(graph.seeking);
        const HRESULT again = rewound != S_OK ? rewound : native::run(graph.control) < 0 ? E_FAIL : S_OK;
        waitForEnd(stopped == S_OK ? "stopped and run again" : "not stopped", again, graph);
        std::printf("stopped %s\n", nameOf(native::stop(graph.control)));
    }
    const Graph empty;
    std::printf("missing track %s\n",
                nameOf(native::renderFile(empty.builder, L"data/snd/none.mp3", nullptr)));
}

}  // namespace

int main() {
    // For DirectSound's cooperative level.
    HWND window = CreateWindowExA(0, "STATIC", "audio", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 64, 64,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    std::printf("window %d, COM %s\n", window != nullptr, nameOf(native::coInitialize()));
    checkSound(window);
    checkMusic();
    native::coUninitialize();
    DestroyWindow(window);
    return 0;
}
