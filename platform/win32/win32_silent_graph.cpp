// A chain of the filter graph that decodes a track and throws its sound away on time.
#include "platform/win32/win32_silent_graph.h"

namespace {

// qedit's Sample Grabber, which passes on only the media type it is given, and its Null Renderer, which takes
// anything and drops it once its time has come.
constexpr GUID CLSID_SAMPLE_GRABBER = {
    0xC1F400A0, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr GUID CLSID_NULL_RENDERER = {
    0xC1F400A4, 0x3F08, 0x11D3, {0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37}};
constexpr GUID IID_SAMPLE_GRABBER = {
    0x6B652FFF, 0x11FE, 0x4FCE, {0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F}};

// The start of ISampleGrabber's table, up to the one method used here (the SDK headers at hand lack it).
struct SampleGrabber {
    struct Methods {
        HRESULT(STDMETHODCALLTYPE* queryInterface)(SampleGrabber* self, REFIID iid, void** out);
        ULONG(STDMETHODCALLTYPE* addRef)(SampleGrabber* self);
        ULONG(STDMETHODCALLTYPE* release)(SampleGrabber* self);
        HRESULT(STDMETHODCALLTYPE* setOneShot)(SampleGrabber* self, BOOL oneShot);
        HRESULT(STDMETHODCALLTYPE* setMediaType)(SampleGrabber* self, const AM_MEDIA_TYPE* type);
    };
    const Methods* methods;
};

// One reference on an interface, released at the end of the scope.
template <typename Interface>
struct Reference {
    Interface* pointer = nullptr;
    Reference() = default;
    Reference(const Reference&) = delete;
    Reference& operator=(const Reference&) = delete;
    ~Reference() {
        if (pointer) pointer->Release();
    }
    void** out() { return reinterpret_cast<void**>(&pointer); }
};

IPin* firstPin(IBaseFilter* filter, PIN_DIRECTION direction) {
    Reference<IEnumPins> pins;
    if (FAILED(filter->EnumPins(&pins.pointer))) return nullptr;
    IPin* pin = nullptr;
    while (pins.pointer->Next(1, &pin, nullptr) == S_OK) {
        PIN_DIRECTION found{};
        if (SUCCEEDED(pin->QueryDirection(&found)) && found == direction) return pin;
        pin->Release();
    }
    return nullptr;
}

HRESULT addFilter(IGraphBuilder* graph, REFCLSID kind, const wchar_t* name, Reference<IBaseFilter>* filter) {
    const HRESULT result =
        CoCreateInstance(kind, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter->out());
    if (FAILED(result)) return result;
    return graph->AddFilter(filter->pointer, name);
}

// The grabber lets only decoded sound through, so that the graph builds the decoder in front of it.
HRESULT acceptOnlySound(IBaseFilter* grabber) {
    SampleGrabber* typed = nullptr;
    HRESULT result = grabber->QueryInterface(IID_SAMPLE_GRABBER, reinterpret_cast<void**>(&typed));
    if (FAILED(result)) return result;
    AM_MEDIA_TYPE sound{};
    sound.majortype = MEDIATYPE_Audio;
    sound.subtype = MEDIASUBTYPE_PCM;
    result = typed->methods->setMediaType(typed, &sound);
    typed->methods->release(typed);
    return result;
}

HRESULT connect(IGraphBuilder* graph, IBaseFilter* from, IBaseFilter* to, bool direct) {
    Reference<IPin> output;
    Reference<IPin> input;
    output.pointer = firstPin(from, PINDIR_OUTPUT);
    input.pointer = firstPin(to, PINDIR_INPUT);
    if (!output.pointer || !input.pointer) return VFW_E_CANNOT_CONNECT;
    return direct ? graph->ConnectDirect(output.pointer, input.pointer, nullptr)
                  : graph->Connect(output.pointer, input.pointer);
}

}  // namespace

namespace win32 {

bool hasAudioOutput() {
    return waveOutGetNumDevs() > 0;
}

HRESULT renderSilently(IGraphBuilder* graph, const wchar_t* file) {
    Reference<IBaseFilter> source;
    HRESULT result = graph->AddSourceFilter(file, L"Source", &source.pointer);
    if (FAILED(result)) return result;
    Reference<IBaseFilter> grabber;
    Reference<IBaseFilter> sink;
    if (FAILED(result = addFilter(graph, CLSID_SAMPLE_GRABBER, L"Sound", &grabber))) return result;
    if (FAILED(result = addFilter(graph, CLSID_NULL_RENDERER, L"Silence", &sink))) return result;
    if (FAILED(result = acceptOnlySound(grabber.pointer))) return result;
    // The grabber's output takes a type only once its input has one.
    if (FAILED(result = connect(graph, source.pointer, grabber.pointer, false))) return result;
    return connect(graph, grabber.pointer, sink.pointer, true);
}

}  // namespace win32
