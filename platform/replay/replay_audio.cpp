// The sound device and the music player, recorded or replayed. A replay still plays through the backend, so
// it is heard as the recorded run was, but what the engine reads (results, buffer status, music events) comes
// from the recording: a machine without sound replays a game recorded with it, and the other way round.
#include <vector>

#include "platform/native.h"
#include "platform/replay/session.h"

namespace {

using replay::Entry;
using replay::isReal;
using replay::Op;

// A replayed buffer that the backend could not make still has to take the engine's samples when locked.
constexpr DWORD LOCK_MAX_BYTES = 64u << 20;
std::vector<std::uint8_t> g_lockScratch;

HRESULT replayLock(plat::SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                   void** region2, DWORD* bytes2, DWORD flags) {
    HRESULT result = S_OK;
    DWORD first = 0, second = 0;
    Entry(Op::lockBuffer).result(result).number(first).number(second);
    if (FAILED(result)) return result;
    if (isReal(buffer) &&
        SUCCEEDED(plat::native::lockBuffer(buffer, offset, bytes, region1, bytes1, region2, bytes2, flags))) {
        return result;
    }
    if (first > LOCK_MAX_BYTES || second > LOCK_MAX_BYTES) replay::fail("corrupted: a buffer lock too large");
    g_lockScratch.resize(static_cast<std::size_t>(first) + second);
    *region1 = g_lockScratch.data();
    *bytes1 = first;
    if (region2) *region2 = second > 0 ? g_lockScratch.data() + first : nullptr;
    if (bytes2) *bytes2 = second;
    return result;
}

}  // namespace

namespace plat {

HRESULT directSoundCreate(SoundDevice** device) {
    return replay::made(Op::soundCreate, device, true, [&] { return native::directSoundCreate(device); });
}

HRESULT setCooperativeLevel(SoundDevice* device, HWND window, DWORD level) {
    return replay::resultOf(Op::soundCooperativeLevel, isReal(device),
                            [&] { return native::setCooperativeLevel(device, window, level); });
}

HRESULT createSoundBuffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** buffer) {
    return replay::made(Op::createBuffer, buffer, isReal(device),
                        [&] { return native::createSoundBuffer(device, desc, buffer); });
}

HRESULT duplicateSoundBuffer(SoundDevice* device, SoundBuffer* original, SoundBuffer** duplicate) {
    return replay::made(Op::duplicateBuffer, duplicate, isReal(device) && isReal(original),
                        [&] { return native::duplicateSoundBuffer(device, original, duplicate); });
}

std::uint32_t releaseSoundDevice(SoundDevice* device) {
    return replay::releaseOf(device, [&] { return native::releaseSoundDevice(device); });
}

HRESULT lockBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                   void** region2, DWORD* bytes2, DWORD flags) {
    if (replay::replaying())
        return replayLock(buffer, offset, bytes, region1, bytes1, region2, bytes2, flags);
    HRESULT result = native::lockBuffer(buffer, offset, bytes, region1, bytes1, region2, bytes2, flags);
    DWORD first = *bytes1, second = bytes2 ? *bytes2 : 0;
    Entry(Op::lockBuffer).result(result).number(first).number(second);
    return result;
}

HRESULT unlockBuffer(SoundBuffer* buffer, void* region1, DWORD bytes1, void* region2, DWORD bytes2) {
    return replay::resultOf(Op::unlockBuffer, isReal(buffer),
                            [&] { return native::unlockBuffer(buffer, region1, bytes1, region2, bytes2); });
}

HRESULT playBuffer(SoundBuffer* buffer, DWORD reserved, DWORD priority, DWORD flags) {
    return replay::resultOf(Op::playBuffer, isReal(buffer),
                            [&] { return native::playBuffer(buffer, reserved, priority, flags); });
}

HRESULT stopBuffer(SoundBuffer* buffer) {
    return replay::resultOf(Op::stopBuffer, isReal(buffer), [&] { return native::stopBuffer(buffer); });
}

HRESULT getBufferStatus(SoundBuffer* buffer, DWORD* status) {
    if (replay::passing()) return native::getBufferStatus(buffer, status);
    HRESULT result = replay::recording() ? native::getBufferStatus(buffer, status) : S_OK;
    Entry(Op::bufferStatus).result(result).number(*status);
    return result;
}

HRESULT getCurrentPosition(SoundBuffer* buffer, DWORD* playCursor, DWORD* writeCursor) {
    if (replay::passing()) return native::getCurrentPosition(buffer, playCursor, writeCursor);
    DWORD play = 0, write = 0;
    HRESULT result = replay::recording() ? native::getCurrentPosition(buffer, &play, &write) : S_OK;
    Entry(Op::currentPosition).result(result).number(play).number(write);
    if (playCursor) *playCursor = play;
    if (writeCursor) *writeCursor = write;
    return result;
}

HRESULT setCurrentPosition(SoundBuffer* buffer, DWORD position) {
    return replay::resultOf(Op::setCurrentPosition, isReal(buffer),
                            [&] { return native::setCurrentPosition(buffer, position); });
}

HRESULT restoreBuffer(SoundBuffer* buffer) {
    return replay::resultOf(Op::restoreBuffer, isReal(buffer), [&] { return native::restoreBuffer(buffer); });
}

std::uint32_t releaseBuffer(SoundBuffer* buffer) {
    return replay::releaseOf(buffer, [&] { return native::releaseBuffer(buffer); });
}

HRESULT coInitialize() {
    return replay::resultOf(Op::coInitialize, true, [] { return native::coInitialize(); });
}

void coUninitialize() {
    native::coUninitialize();
}

HRESULT createFilterGraph(GraphBuilder** graph) {
    return replay::made(Op::createGraph, graph, true, [&] { return native::createFilterGraph(graph); });
}

HRESULT queryMediaControl(GraphBuilder* graph, MediaControl** control) {
    return replay::made(Op::queryControl, control, isReal(graph),
                        [&] { return native::queryMediaControl(graph, control); });
}

HRESULT queryMediaEvent(GraphBuilder* graph, MediaEvent** events) {
    return replay::made(Op::queryEvents, events, isReal(graph),
                        [&] { return native::queryMediaEvent(graph, events); });
}

HRESULT queryMediaSeeking(GraphBuilder* graph, MediaSeeking** seeking) {
    return replay::made(Op::querySeeking, seeking, isReal(graph),
                        [&] { return native::queryMediaSeeking(graph, seeking); });
}

HRESULT renderFile(GraphBuilder* graph, const wchar_t* file, const wchar_t* playList) {
    return replay::resultOf(Op::renderFile, isReal(graph),
                            [&] { return native::renderFile(graph, file, playList); });
}

HRESULT run(MediaControl* control) {
    return replay::resultOf(Op::run, isReal(control), [&] { return native::run(control); });
}

HRESULT stop(MediaControl* control) {
    return replay::resultOf(Op::stop, isReal(control), [&] { return native::stop(control); });
}

// The backend's own events are left in its queue during a replay: the recorded ones say when the track ended.
HRESULT getEvent(MediaEvent* events, long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs) {
    if (replay::passing()) return native::getEvent(events, code, param1, param2, timeoutMs);
    HRESULT result = E_ABORT;
    if (replay::recording()) result = native::getEvent(events, code, param1, param2, timeoutMs);
    const Op op = replay::either(Op::noEvent, Op::event, result == E_ABORT);
    Entry entry(op);
    if (op == Op::noEvent) return E_ABORT;
    entry.result(result).number(*code).number(*param1).number(*param2);
    return result;
}

// Recorded parameters are not the backend's to free.
HRESULT freeEventParams(MediaEvent* events, long code, LONG_PTR param1, LONG_PTR param2) {
    return replay::resultOf(Op::freeEventParams, false,
                            [&] { return native::freeEventParams(events, code, param1, param2); });
}

HRESULT setPositions(MediaSeeking* seeking, LONGLONG* current, DWORD currentFlags, LONGLONG* stopPosition,
                     DWORD stopFlags) {
    return replay::resultOf(Op::setPositions, isReal(seeking), [&] {
        return native::setPositions(seeking, current, currentFlags, stopPosition, stopFlags);
    });
}

std::uint32_t release(GraphBuilder* graph) {
    return replay::releaseOf(graph, [&] { return native::release(graph); });
}

std::uint32_t release(MediaControl* control) {
    return replay::releaseOf(control, [&] { return native::release(control); });
}

std::uint32_t release(MediaEvent* events) {
    return replay::releaseOf(events, [&] { return native::release(events); });
}

std::uint32_t release(MediaSeeking* seeking) {
    return replay::releaseOf(seeking, [&] { return native::release(seeking); });
}

}  // namespace plat
