// What the replay layer's operations share: the mode, the records they write or read, and the stand-in
// handles a replay gives the engine where the backend has no object of its own. Nothing outside
// platform/replay includes this.
#pragma once

#include <cstdint>

#include "platform/replay/recording.h"
#include "platform/types.h"

namespace replay {

enum class Mode { off, record, replay };

struct Session {
    Mode mode = Mode::off;
    // Set once the recording has been used up by a finished run: from then on nothing is read, and only the
    // backend's own handles still reach it (the engine's global objects release theirs after the run).
    bool ended = false;
    bool timedemo = false;
    Writer writer;
    Reader reader;
    // The window the replayed messages name: this run's, not the recorded run's.
    HWND window = nullptr;
    // The previous readings of the clocks, against which the next ones are recorded.
    std::int64_t lastCounter = 0;
    std::int64_t lastMilliseconds = 0;
    // The previous state of each size of input device (keyboard, mouse, joystick), against which the next is
    // recorded.
    struct DeviceState {
        DWORD size = 0;
        std::uint32_t words[64] = {};
    } deviceStates[4];
};

extern Session g_session;

inline bool passing() {
    return g_session.mode == Mode::off;
}
inline bool recording() {
    return g_session.mode == Mode::record;
}
inline bool replaying() {
    return g_session.mode == Mode::replay && !g_session.ended;
}

// Ends a replay that cannot go on: says why on stderr, with the frame, and exits with REPLAY_FAILED.
[[noreturn]] void fail(const char* why);

// Counts a frame about to be presented and shows it to the frame observer.
void framePresented();

// The recorded counter frequency, which pace needs.
void setPaceFrequency(std::int64_t frequency);

// Waits until the wall clock has caught up with a replayed counter reading (not in a timedemo).
void pace(std::int64_t counter);

// One record. In a recording it writes the operation and then each value it is given; in a replay it checks
// that the next record is this operation and reads each value back into the variable it is given. The same
// sequence of calls therefore writes and reads a record. Outside both it does nothing.
class Entry {
public:
    explicit Entry(Op op);
    ~Entry();
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    template <class T>
    Entry& number(T& value) {
        if (recording()) {
            if constexpr (static_cast<T>(-1) < T{0})
                g_session.writer.signedNumber(value);
            else
                g_session.writer.unsignedNumber(value);
        } else if (replaying()) {
            if constexpr (static_cast<T>(-1) < T{0})
                value = static_cast<T>(g_session.reader.signedNumber());
            else
                value = static_cast<T>(g_session.reader.unsignedNumber());
        }
        return *this;
    }
    Entry& result(HRESULT& value);
    Entry& flag(bool& value);
    // A clock reading as the difference from the previous one, `last`, which it updates.
    Entry& reading(std::int64_t& value, std::int64_t& last);
    Entry& bytes(void* data, std::size_t size);
};

// The operation a record must name when a call can give two kinds (a message or none, an event or none): in
// a recording `recorded` says which, in a replay the file does; any other record there ends the replay.
Op either(Op first, Op second, bool firstInRecording);

// The stand-in handle of a kind: one address per type, never passed to the backend.
template <class T>
T* standIn() {
    static char token;
    return reinterpret_cast<T*>(&token);
}
template <class T>
bool isReal(T* handle) {
    return handle && handle != standIn<T>();
}

// An operation whose only value is its result. It reaches the backend in a recording, and in a replay only
// when `reachesBackend` (for its effect: a sound that plays, music that restarts); the result is recorded or
// read.
template <class Call>
HRESULT resultOf(Op op, bool reachesBackend, Call call) {
    if (passing()) return call();
    HRESULT result = S_OK;
    if (recording() || reachesBackend) result = call();
    Entry(op).result(result);
    return result;
}

// An operation that makes an object into *out. In a replay the engine gets the backend's own object when the
// recorded run made one and the backend can make one now, the stand-in when only the recorded run could, and
// null when the recorded run could not.
template <class T, class Call>
HRESULT made(Op op, T** out, bool reachesBackend, Call call) {
    if (!replaying()) return resultOf(op, true, call);
    HRESULT recorded = S_OK;
    Entry(op).result(recorded);
    *out = nullptr;
    if (SUCCEEDED(recorded)) {
        if (!reachesBackend || FAILED(call()) || !*out) *out = standIn<T>();
    }
    return recorded;
}

// A release: the backend's own objects are released by the backend, stand-ins by nobody. Not recorded, since
// the count it returns is only ever informative.
template <class T, class Call>
std::uint32_t releaseOf(T* handle, Call call) {
    if (g_session.mode != Mode::replay || isReal(handle)) return call();
    return 0;
}

}  // namespace replay
