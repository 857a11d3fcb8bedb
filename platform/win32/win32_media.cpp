// COM and the media graph on Windows: DirectShow's filter graph itself. Each operation is the call it stands
// for, with its results passed on; the handles are the graph's interfaces. The graph notifies a window of its
// own of every event it queues, so that the engine's poll of an empty queue, once a frame, stays cheap.
#include <new>

#include "platform/media.h"
#include "platform/native.h"
#include "platform/win32/win32_silent_graph.h"

namespace plat {

// The graph's event queue, and what the notices say of it: nothing has been queued since `seenNotices`, the
// count of notices when the queue was last found empty.
struct MediaEvent {
    IMediaEvent* queue;
    bool notified;
    unsigned seenNotices;
};

}  // namespace plat

namespace {

IGraphBuilder* comOf(plat::GraphBuilder* graph) {
    return reinterpret_cast<IGraphBuilder*>(graph);
}
IMediaControl* comOf(plat::MediaControl* control) {
    return reinterpret_cast<IMediaControl*>(control);
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

// Posted by a graph to the notice window whenever it queues an event.
constexpr UINT WM_GRAPH_EVENT = WM_APP + 1;

// Notices of queued events taken from the thread's message queue. The engine's message loop dispatches them
// on the thread that polls the events, so nothing here is shared between threads.
unsigned graphNotices = 0;

LRESULT CALLBACK countNotices(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_GRAPH_EVENT) return DefWindowProcA(window, message, wParam, lParam);
    ++graphNotices;
    return 0;
}

HWND createNoticeWindow() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = countNotices;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "PEL2D graph notices";
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           windowClass.hInstance, nullptr);
}

// A message-only window of the thread that first asks for a graph's events, shared by every graph.
HWND noticeWindow() {
    static const HWND window = createNoticeWindow();
    return window;
}

// Has the graph post WM_GRAPH_EVENT to the notice window for every event it queues; false when it cannot.
bool notifyOfEvents(IMediaEvent* events) {
    if (!noticeWindow()) return false;
    IMediaEventEx* notifier = nullptr;
    if (FAILED(events->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&notifier)))) return false;
    const HRESULT result =
        notifier->SetNotifyWindow(reinterpret_cast<OAHWND>(noticeWindow()), WM_GRAPH_EVENT, 0);
    notifier->Release();
    return SUCCEEDED(result);
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
    *events = nullptr;
    IMediaEvent* queue = nullptr;
    const HRESULT result = queryGraph(graph, IID_IMediaEvent, &queue);
    if (FAILED(result)) return result;
    *events = new (std::nothrow) MediaEvent{queue, notifyOfEvents(queue), graphNotices - 1};
    if (*events) return result;
    queue->Release();
    return E_OUTOFMEMORY;
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
    // Each look into the queue costs a round trip to the Wine server, once per frame; the notices tell when
    // there can be something to take.
    const bool quietSinceEmpty = events->notified && events->seenNotices == graphNotices;
    if (timeoutMs == 0 && quietSinceEmpty) return E_ABORT;
    const unsigned notices = graphNotices;
    const HRESULT result = events->queue->GetEvent(code, param1, param2, timeoutMs);
    if (result == E_ABORT) events->seenNotices = notices;
    return result;
}

HRESULT native::freeEventParams(MediaEvent* events, long code, LONG_PTR param1, LONG_PTR param2) {
    return events->queue->FreeEventParams(code, param1, param2);
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
    const ULONG left = events->queue->Release();
    delete events;
    return left;
}

std::uint32_t native::release(MediaSeeking* seeking) {
    return comOf(seeking)->Release();
}

}  // namespace plat
