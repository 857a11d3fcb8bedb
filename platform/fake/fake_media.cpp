// The fake media graph: one graph at a time, events the test queues, results the test scripts.
#include <string>

#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_platform.h"
#include "platform/native.h"

namespace plat {

// The four views of the one fake graph; only their addresses matter.
struct GraphBuilder {
    char unused;
};
struct MediaControl {
    char unused;
};
struct MediaEvent {
    char unused;
};
struct MediaSeeking {
    char unused;
};

}  // namespace plat

namespace fake {

MediaState& media() {
    static MediaState* state = new MediaState;
    return *state;
}

void resetAudio() {
    sound() = SoundState{};
    media() = MediaState{};
}

}  // namespace fake

namespace {

plat::GraphBuilder theGraph;
plat::MediaControl theControl;
plat::MediaEvent theEvents;
plat::MediaSeeking theSeeking;

// Callers test this before building the text, so that a test counting allocations sees none of the fake's.
bool recording() {
    return fake::system().recordCalls;
}

void record(const std::string& call) {
    fake::calls().push_back(call);
}

fake::MediaState& state() {
    return fake::media();
}

template <typename Interface>
HRESULT query(const char* call, Interface* instance, Interface** out) {
    if (recording()) record(call);
    ++state().graphReferences;
    *out = instance;
    return S_OK;
}

std::uint32_t releaseOne(const char* call) {
    if (recording()) record(call);
    return static_cast<std::uint32_t>(--state().graphReferences);
}

}  // namespace

namespace plat {

HRESULT native::coInitialize() {
    if (recording()) record("coInitialize");
    if (SUCCEEDED(state().coInitializeResult)) ++state().comInitialized;
    return state().coInitializeResult;
}

void native::coUninitialize() {
    if (recording()) record("coUninitialize");
    --state().comInitialized;
}

HRESULT native::createFilterGraph(GraphBuilder** graph) {
    if (recording()) record("createFilterGraph");
    *graph = nullptr;
    if (FAILED(state().createGraphResult)) return state().createGraphResult;
    state().graphReferences = 1;
    *graph = &theGraph;
    return S_OK;
}

HRESULT native::queryMediaControl(GraphBuilder*, MediaControl** control) {
    return query("queryMediaControl", &theControl, control);
}

HRESULT native::queryMediaEvent(GraphBuilder*, MediaEvent** events) {
    return query("queryMediaEvent", &theEvents, events);
}

HRESULT native::queryMediaSeeking(GraphBuilder*, MediaSeeking** seeking) {
    return query("queryMediaSeeking", &theSeeking, seeking);
}

HRESULT native::renderFile(GraphBuilder*, const wchar_t* file, const wchar_t*) {
    state().renderedFile = file ? file : L"";
    if (recording())
        record("renderFile " + std::string(state().renderedFile.begin(), state().renderedFile.end()));
    return state().renderResult;
}

HRESULT native::run(MediaControl*) {
    if (recording()) record("run");
    if (SUCCEEDED(state().runResult)) state().running = true;
    return state().runResult;
}

HRESULT native::stop(MediaControl*) {
    if (recording()) record("stop");
    if (SUCCEEDED(state().stopResult)) state().running = false;
    return state().stopResult;
}

HRESULT native::getEvent(MediaEvent*, long* code, LONG_PTR* param1, LONG_PTR* param2, long) {
    if (recording()) record("getEvent");
    if (state().events.empty()) return E_ABORT;
    *code = state().events.front();
    *param1 = 0;
    *param2 = 0;
    state().events.pop_front();
    ++state().eventsTaken;
    return S_OK;
}

HRESULT native::freeEventParams(MediaEvent*, long code, LONG_PTR, LONG_PTR) {
    if (recording()) record("freeEventParams " + std::to_string(code));
    ++state().eventsFreed;
    return S_OK;
}

HRESULT native::setPositions(MediaSeeking*, LONGLONG* current, DWORD currentFlags, LONGLONG*, DWORD) {
    if (recording())
        record("setPositions " + std::to_string(current ? *current : -1) + " " +
               std::to_string(currentFlags));
    return state().seekResult;
}

std::uint32_t native::release(GraphBuilder*) {
    return releaseOne("release GraphBuilder");
}

std::uint32_t native::release(MediaControl*) {
    return releaseOne("release MediaControl");
}

std::uint32_t native::release(MediaEvent*) {
    return releaseOne("release MediaEvent");
}

std::uint32_t native::release(MediaSeeking*) {
    return releaseOne("release MediaSeeking");
}

}  // namespace plat
