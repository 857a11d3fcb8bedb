// The music player on Windows: for now a filter graph that can render nothing, as DirectShow behaves on a
// machine without the decoders or an audio device (RenderFile fails with VFW_E_CANNOT_RENDER).
#include "platform/native.h"

namespace plat {

// The four views of the one empty graph; only their addresses matter.
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

namespace {

GraphBuilder g_graph;
MediaControl g_control;
MediaEvent g_events;
MediaSeeking g_seeking;

}  // namespace

HRESULT native::coInitialize() {
    return S_OK;
}

void native::coUninitialize() {}

HRESULT native::createFilterGraph(GraphBuilder** graph) {
    *graph = &g_graph;
    return S_OK;
}

HRESULT native::queryMediaControl(GraphBuilder*, MediaControl** control) {
    *control = &g_control;
    return S_OK;
}

HRESULT native::queryMediaEvent(GraphBuilder*, MediaEvent** events) {
    *events = &g_events;
    return S_OK;
}

HRESULT native::queryMediaSeeking(GraphBuilder*, MediaSeeking** seeking) {
    *seeking = &g_seeking;
    return S_OK;
}

HRESULT native::renderFile(GraphBuilder*, const wchar_t*, const wchar_t*) {
    return VFW_E_CANNOT_RENDER;
}

HRESULT native::run(MediaControl*) {
    return S_OK;
}

HRESULT native::stop(MediaControl*) {
    return S_OK;
}

HRESULT native::getEvent(MediaEvent*, long* code, LONG_PTR* param1, LONG_PTR* param2, long) {
    *code = 0;
    *param1 = 0;
    *param2 = 0;
    return E_ABORT;
}

HRESULT native::freeEventParams(MediaEvent*, long, LONG_PTR, LONG_PTR) {
    return S_OK;
}

HRESULT native::setPositions(MediaSeeking*, LONGLONG*, DWORD, LONGLONG*, DWORD) {
    return S_OK;
}

std::uint32_t native::release(GraphBuilder*) {
    return 0;
}

std::uint32_t native::release(MediaControl*) {
    return 0;
}

std::uint32_t native::release(MediaEvent*) {
    return 0;
}

std::uint32_t native::release(MediaSeeking*) {
    return 0;
}

}  // namespace plat
