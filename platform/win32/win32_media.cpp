// COM and the media graph on Windows: DirectShow's filter graph itself. Each operation is the call it stands
// for, with its results passed on; the handles are the graph's interfaces.
#include "platform/win32/win32_media.h"
#include "platform/media.h"
#include "platform/native.h"
#include "platform/win32/win32_silent_graph.h"

namespace {

IGraphBuilder* comOf(plat::GraphBuilder* graph) {
    return reinterpret_cast<IGraphBuilder*>(graph);
}
IMediaControl* comOf(plat::MediaControl* control) {
    return reinterpret_cast<IMediaControl*>(control);
}
IMediaEvent* comOf(plat::MediaEvent* events) {
    return reinterpret_cast<IMediaEvent*>(events);
}
IMediaSeeking* comOf(plat::MediaSeeking* seeking) {
    return reinterpret_cast<IMediaSeeking*>(seeking);
}

// QueryInterface into the contract's handle type, null on failure.
template <typename Handle>
HRESULT queryGraph(plat::GraphBuilder* graph, REFIID iid, Handle** out) {
    void* found = nullptr;
    const HRESULT result = comOf(graph)->QueryInterface(iid, &found);
    *out = SUCCEEDED(result) ? static_cast<Handle*>(found) : nullptr;
    return result;
}

BOOL CALLBACK takeVisibleWindow(HWND window, LPARAM found) {
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The engine's window: the visible top-level window of the thread that plays the music. Null before there is
// one; the graph's events are then only polled.
HWND engineWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), takeVisibleWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Has the graph post win32::WM_GRAPH_EVENT to the engine's window for every event it queues, so that a
// waiting message loop wakes for the end of the track.
void notifyEngineWindow(IMediaEvent* events) {
    HWND window = engineWindow();
    if (!window) return;
    IMediaEventEx* notifier = nullptr;
    if (FAILED(events->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&notifier)))) return;
    notifier->SetNotifyWindow(reinterpret_cast<OAHWND>(window), win32::WM_GRAPH_EVENT, 0);
    notifier->Release();
}

}  // namespace

namespace plat {

HRESULT native::coInitialize() {
    return CoInitialize(nullptr);
}

void native::coUninitialize() {
    CoUninitialize();
}

HRESULT native::createFilterGraph(GraphBuilder** graph) {
    void* made = nullptr;
    const HRESULT result =
        CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, &made);
    *graph = SUCCEEDED(result) ? static_cast<GraphBuilder*>(made) : nullptr;
    return result;
}

HRESULT native::queryMediaControl(GraphBuilder* graph, MediaControl** control) {
    return queryGraph(graph, IID_IMediaControl, control);
}

HRESULT native::queryMediaEvent(GraphBuilder* graph, MediaEvent** events) {
    const HRESULT result = queryGraph(graph, IID_IMediaEvent, events);
    if (*events) notifyEngineWindow(comOf(*events));
    return result;
}

HRESULT native::queryMediaSeeking(GraphBuilder* graph, MediaSeeking** seeking) {
    return queryGraph(graph, IID_IMediaSeeking, seeking);
}

HRESULT native::renderFile(GraphBuilder* graph, const wchar_t* file, const wchar_t* playList) {
    // Without a sound device the track still runs, silent, like every other sound of the engine.
    if (!win32::hasAudioOutput()) return win32::renderSilently(comOf(graph), file);
    return comOf(graph)->RenderFile(file, playList);
}

HRESULT native::run(MediaControl* control) {
    return comOf(control)->Run();
}

HRESULT native::stop(MediaControl* control) {
    return comOf(control)->Stop();
}

HRESULT native::getEvent(MediaEvent* events, long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs) {
    return comOf(events)->GetEvent(code, param1, param2, timeoutMs);
}

HRESULT native::freeEventParams(MediaEvent* events, long code, LONG_PTR param1, LONG_PTR param2) {
    return comOf(events)->FreeEventParams(code, param1, param2);
}

HRESULT native::setPositions(MediaSeeking* seeking, LONGLONG* current, DWORD currentFlags,
                             LONGLONG* stopPosition, DWORD stopFlags) {
    // The engine leaves out the position it does not move; the graph is always handed one to read.
    LONGLONG unused = 0;
    return comOf(seeking)->SetPositions(current ? current : &unused, currentFlags,
                                        stopPosition ? stopPosition : &unused, stopFlags);
}

std::uint32_t native::release(GraphBuilder* graph) {
    return comOf(graph)->Release();
}

std::uint32_t native::release(MediaControl* control) {
    return comOf(control)->Release();
}

std::uint32_t native::release(MediaEvent* events) {
    return comOf(events)->Release();
}

std::uint32_t native::release(MediaSeeking* seeking) {
    return comOf(seeking)->Release();
}

}  // namespace plat
