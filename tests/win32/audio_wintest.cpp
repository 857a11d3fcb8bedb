// The Windows sound and media backend on a real DirectSound and DirectShow (Wine's), on whatever output
// device the test gives it. Run from the folder that holds data/snd/oyun.mp3:
//   win32_audio_test device TRACK_MS      an output device exists
//   win32_audio_test no-device TRACK_MS   no output device exists: the track runs all the same, silent
// The track plays TRACK_MS milliseconds.
// Every wait is on what the backend reports (a status bit, the graph's notice in the message queue), bounded
// only far beyond the sound's own length, so that a loaded machine is slower but never wrong.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/native.h"

namespace {

int failures = 0;

void check(bool ok, const char* what, long value = 0) {
    if (ok) return;
    std::printf("FAIL: %s (0x%08lx)\n", what, static_cast<unsigned long>(value));
    ++failures;
}

// Generous bounds: many times what the sound lasts, plus start-up time of the audio threads.
DWORD boundFor(DWORD soundMs) {
    return soundMs * 20 + 20000;
}

HWND createVisibleWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "AudioTest";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, "AudioTest", "audio", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 64, 64, nullptr,
                           nullptr, windowClass.hInstance, nullptr);
}

// 16-bit mono at 22050 Hz, a quarter of a second.
constexpr DWORD TONE_RATE = 22050;
constexpr DWORD TONE_BYTES = TONE_RATE / 4 * 2;
constexpr DWORD TONE_MS = 250;

const plat::WaveFormat TONE_FORMAT{WAVE_FORMAT_PCM, 1, TONE_RATE, TONE_RATE * 2, 2, 16, 0};

std::int16_t toneSample(DWORD index) {
    return static_cast<std::int16_t>((index * 37) % 2000) - 1000;
}

plat::SoundBuffer* createTone(plat::SoundDevice* device) {
    constexpr DWORD ENGINE_FLAGS = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                                   DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2;
    const plat::SoundBufferDesc desc{36, ENGINE_FLAGS, TONE_BYTES, 0, &TONE_FORMAT};
    plat::SoundBuffer* buffer = nullptr;
    check(plat::native::createSoundBuffer(device, desc, &buffer) == DS_OK && buffer, "static buffer created");
    void* region1 = nullptr;
    void* region2 = nullptr;
    DWORD bytes1 = 0;
    DWORD bytes2 = 0;
    HRESULT result =
        plat::native::lockBuffer(buffer, 0, 0, &region1, &bytes1, &region2, &bytes2, DSBLOCK_ENTIREBUFFER);
    check(result == DS_OK && bytes1 == TONE_BYTES && !region2 && bytes2 == 0, "whole buffer locked", result);
    auto* samples = static_cast<std::int16_t*>(region1);
    for (DWORD i = 0; i < bytes1 / 2; ++i)
        samples[i] = toneSample(i);
    result = plat::native::unlockBuffer(buffer, region1, bytes1, region2, bytes2);
    check(result == DS_OK, "buffer unlocked", result);
    return buffer;
}

// The duplicate hands out the very samples written through the original.
bool sharesTone(plat::SoundBuffer* duplicate) {
    void* region = nullptr;
    DWORD bytes = 0;
    if (FAILED(plat::native::lockBuffer(duplicate, 0, 0, &region, &bytes, nullptr, nullptr,
                                        DSBLOCK_ENTIREBUFFER)))
        return false;
    bool same = bytes == TONE_BYTES;
    const auto* samples = static_cast<const std::int16_t*>(region);
    for (DWORD i = 0; same && i < bytes / 2; ++i)
        same = samples[i] == toneSample(i);
    plat::native::unlockBuffer(duplicate, region, bytes, nullptr, 0);
    return same;
}

DWORD statusOf(plat::SoundBuffer* buffer) {
    DWORD status = 0xFFFFFFFFu;
    const HRESULT result = plat::native::getBufferStatus(buffer, &status);
    check(result == DS_OK, "status read", result);
    return status;
}

// Plays the buffer once and follows its status until it ends by itself; its milliseconds, or 0 if it never
// did.
DWORD playToEnd(plat::SoundBuffer* buffer) {
    const DWORD start = GetTickCount();
    check(plat::native::playBuffer(buffer, 0, 0, 0) == DS_OK, "played");
    check(statusOf(buffer) == DSBSTATUS_PLAYING, "playing once, not looping",
          static_cast<long>(statusOf(buffer)));
    while (statusOf(buffer) & DSBSTATUS_PLAYING) {
        if (GetTickCount() - start > boundFor(TONE_MS)) return 0;
        Sleep(1);
    }
    return GetTickCount() - start;
}

DWORD playCursorOf(plat::SoundBuffer* buffer) {
    DWORD play = 0xFFFFFFFFu;
    DWORD write = 0;
    const HRESULT result = plat::native::getCurrentPosition(buffer, &play, &write);
    check(result == DS_OK, "position read", result);
    return play;
}

void checkPosition(plat::SoundBuffer* buffer) {
    check(plat::native::setCurrentPosition(buffer, 4000) == DS_OK, "position set");
    check(playCursorOf(buffer) == 4000, "stopped buffer stands where it was set", playCursorOf(buffer));
    // What the engine does to cut a copy short: stop it while it plays and rewind it.
    check(plat::native::playBuffer(buffer, 0, 0, DSBPLAY_LOOPING) == DS_OK, "played looping");
    const DWORD status = statusOf(buffer);
    check(status == (DSBSTATUS_PLAYING | DSBSTATUS_LOOPING), "looping status", static_cast<long>(status));
    check(plat::native::stopBuffer(buffer) == DS_OK && statusOf(buffer) == 0, "stopped while playing");
    check(plat::native::setCurrentPosition(buffer, 0) == DS_OK && playCursorOf(buffer) == 0, "rewound");
}

void checkSound(HWND window) {
    plat::SoundDevice* device = nullptr;
    HRESULT result = plat::native::directSoundCreate(&device);
    check(result == DS_OK && device, "device created", result);
    if (!device) return;
    result = plat::native::setCooperativeLevel(device, window, DSSCL_NORMAL);
    check(result == DS_OK, "normal cooperative level", result);

    plat::SoundBuffer* original = createTone(device);
    plat::SoundBuffer* copy = nullptr;
    result = plat::native::duplicateSoundBuffer(device, original, &copy);
    check(result == DS_OK && copy, "duplicate made", result);
    check(sharesTone(copy), "duplicate shares the samples");
    check(statusOf(original) == 0 && statusOf(copy) == 0, "both stopped at first");

    // Both copies sound at once, each with its own status; a finished copy plays again from its start.
    check(plat::native::playBuffer(copy, 0, 0, 0) == DS_OK, "copy played");
    const DWORD first = playToEnd(original);
    check(first >= TONE_MS / 2, "original played for its length", static_cast<long>(first));
    const DWORD again = playToEnd(original);
    check(again >= TONE_MS / 2, "original played again after its end", static_cast<long>(again));
    check(statusOf(copy) == 0, "copy ended by itself", static_cast<long>(statusOf(copy)));
    checkPosition(copy);
    check(plat::native::restoreBuffer(copy) == DS_OK, "restore of a buffer not lost");

    // Buffers outlive the device handle: one still plays after it is released.
    plat::native::releaseSoundDevice(device);
    check(playToEnd(copy) >= TONE_MS / 2, "copy plays after the device is released");
    plat::native::releaseBuffer(copy);
    plat::native::releaseBuffer(original);
}

// Takes every queued event; true when the end of the stream was among them.
bool takeEvents(plat::MediaEvent* events) {
    bool complete = false;
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    while (SUCCEEDED(plat::native::getEvent(events, &code, &param1, &param2, 0))) {
        complete = complete || code == EC_COMPLETE;
        check(plat::native::freeEventParams(events, code, param1, param2) == S_OK, "event freed");
    }
    return complete;
}

// Runs a message loop as the engine's, taking the graph's events after each message, until the end of the
// stream comes; its milliseconds, or 0 if it never did.
DWORD waitForEnd(plat::MediaEvent* events, DWORD trackMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD waited = GetTickCount() - start;
        if (waited >= boundFor(trackMs)) return 0;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, boundFor(trackMs) - waited, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
        if (takeEvents(events)) return GetTickCount() - start;
    }
}

struct Graph {
    plat::GraphBuilder* builder = nullptr;
    plat::MediaControl* control = nullptr;
    plat::MediaEvent* events = nullptr;
    plat::MediaSeeking* seeking = nullptr;
};

Graph createGraph() {
    Graph graph;
    HRESULT result = plat::native::createFilterGraph(&graph.builder);
    check(result == S_OK && graph.builder, "filter graph created", result);
    if (!graph.builder) return graph;
    check(plat::native::queryMediaControl(graph.builder, &graph.control) == S_OK, "media control");
    check(plat::native::queryMediaEvent(graph.builder, &graph.events) == S_OK, "media events");
    check(plat::native::queryMediaSeeking(graph.builder, &graph.seeking) == S_OK, "media seeking");
    return graph;
}

// The four interfaces are views of one graph: it goes with the last of them.
void releaseGraph(const Graph& graph) {
    if (!graph.seeking || !graph.events || !graph.control) return;
    const std::uint32_t left = plat::native::release(graph.seeking) + plat::native::release(graph.events) +
                               plat::native::release(graph.control);
    check(left > 0 && plat::native::release(graph.builder) == 0, "graph gone with its last interface");
}

void rewind(plat::MediaSeeking* seeking) {
    LONGLONG start = 0;
    const HRESULT result = plat::native::setPositions(seeking, &start, AM_SEEKING_AbsolutePositioning,
                                                      nullptr, AM_SEEKING_NoPositioning);
    check(result == S_OK, "rewound", result);
}

void checkMusic(DWORD trackMs) {
    const Graph graph = createGraph();
    if (!graph.seeking) return;
    HRESULT result = plat::native::renderFile(graph.builder, L"data/snd/oyun.mp3", nullptr);
    check(result == S_OK, "track rendered", result);
    check(plat::native::run(graph.control) >= 0, "graph runs");
    DWORD played = waitForEnd(graph.events, trackMs);
    check(played >= trackMs / 2, "end of the track notified after its length", static_cast<long>(played));
    long code = 0;
    LONG_PTR param1 = 0;
    LONG_PTR param2 = 0;
    result = plat::native::getEvent(graph.events, &code, &param1, &param2, 0);
    check(result == E_ABORT, "no event left", result);

    // The engine's loop: a seek to the start while the graph runs plays the track again.
    rewind(graph.seeking);
    played = waitForEnd(graph.events, trackMs);
    check(played >= trackMs / 2, "track played again after the rewind", static_cast<long>(played));

    // Its fallback: stopped, rewound and run again.
    check(plat::native::stop(graph.control) == S_OK, "graph stopped");
    rewind(graph.seeking);
    check(plat::native::run(graph.control) >= 0, "run again");
    played = waitForEnd(graph.events, trackMs);
    check(played >= trackMs / 2, "track played again after the new run", static_cast<long>(played));
    check(plat::native::stop(graph.control) == S_OK, "graph stopped at the end");
    releaseGraph(graph);

    const Graph empty = createGraph();
    result = plat::native::renderFile(empty.builder, L"data/snd/none.mp3", nullptr);
    check(result == HRESULT_FILE_NOT_FOUND, "missing track not found", result);
    releaseGraph(empty);
}

void checkNoDevice() {
    plat::SoundDevice* device = reinterpret_cast<plat::SoundDevice*>(&failures);
    const HRESULT result = plat::native::directSoundCreate(&device);
    check(result == DSERR_NODRIVER && !device, "no driver", result);
}

}  // namespace

int main(int argc, char** argv) {
    const bool withDevice = argc == 3 && std::strcmp(argv[1], "device") == 0;
    if (argc != 3 || (!withDevice && std::strcmp(argv[1], "no-device") != 0)) {
        std::printf("usage: %s device|no-device TRACK_MS\n", argv[0]);
        return 2;
    }
    const auto trackMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
    HWND window = createVisibleWindow();
    check(window != nullptr, "window created");
    check(plat::native::coInitialize() == S_OK, "COM started");
    if (withDevice) {
        checkSound(window);
    } else {
        checkNoDevice();
    }
    checkMusic(trackMs);
    plat::native::coUninitialize();
    DestroyWindow(window);
    std::printf("%s: %d failures\n", argv[1], failures);
    return failures == 0 ? 0 : 1;
}
