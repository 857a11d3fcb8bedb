// The scriptable sound device and media graph of the fake backend.
//
// Buffers are plain records a test can read and change: set DSBSTATUS_PLAYING or DSBSTATUS_BUFFERLOST in
// `status` to say what the "hardware" is doing. Every call is recorded in fake::calls() next to the window
// and system calls, so the order of start-up and shutdown can be checked across areas.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/media.h"
#include "platform/sound.h"

namespace plat {

struct SoundDevice {
    HWND window = nullptr;
    DWORD level = 0;
};

struct SoundBuffer {
    int id = 0;         // order of creation, from 0
    int original = -1;  // the buffer this one duplicates, or -1
    DWORD bytes = 0;
    DWORD flags = 0;
    WaveFormat format{};
    std::shared_ptr<std::vector<std::uint8_t>> samples;  // shared by duplicates, as on a real device
    DWORD status = 0;
    DWORD position = 0;
    int plays = 0;
    int stops = 0;
    int restores = 0;
};

}  // namespace plat

namespace fake {

struct SoundState {
    HRESULT createDeviceResult = S_OK;      // e.g. DSERR_NODRIVER: no sound hardware
    HRESULT cooperativeLevelResult = S_OK;  // e.g. DSERR_ALLOCATED: level refused
    HRESULT createBufferResult = S_OK;
    HRESULT lockResult = S_OK;
    HRESULT unlockResult = S_OK;
    HRESULT restoreResult = S_OK;
    HRESULT statusResult = S_OK;
    int duplicatesBeforeFailure = -1;  // duplicates that succeed before the next one fails; -1 never fails

    int devicesCreated = 0;
    int devicesReleased = 0;
    int buffersReleased = 0;
    // Every buffer made since the last reset, in order. Like a real device's, each lives until the engine
    // releases it (reset() does not free them), so only the ones still held may be looked at.
    std::vector<plat::SoundBuffer*> buffers;
};

struct MediaState {
    HRESULT coInitializeResult = S_OK;
    HRESULT createGraphResult = S_OK;
    HRESULT renderResult = S_OK;
    HRESULT runResult = S_OK;
    HRESULT stopResult = S_OK;
    HRESULT seekResult = S_OK;

    // Events the graph will hand out, oldest first; a test pushes EC_COMPLETE to end the track.
    std::deque<long> events;
    int eventsTaken = 0;
    int eventsFreed = 0;

    std::wstring renderedFile;
    bool running = false;
    int graphReferences = 0;  // live interface references on the graph
    int comInitialized = 0;   // coInitialize calls not yet matched by coUninitialize
};

SoundState& sound();
MediaState& media();

// Back to a working sound card and media player with nothing made; fake::reset() calls this.
void resetAudio();

}  // namespace fake
