// COM and the media graph on SDL2: the rendered file is read into memory and played as one more voice of
// sdl2::Mixer, a stream decoded with libmpg123 as it plays (music_stream.h). Each end of the track the stream
// reaches is handed out as EC_COMPLETE.
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/media.h"
#include "platform/native.h"
#include "platform/sdl2/music_stream.h"
#include "platform/sdl2/sdl_mixer.h"
#include "platform/system.h"

namespace {

// Without a device the track is still opened, to tell whether it can be played, at this rate.
constexpr int MPEG_MAX_RATE = 48000;
constexpr std::size_t MUSIC_MAX_FILE_BYTES = 64u << 20;
// How long the track's start plays on after its end while the engine's rewind is awaited: far longer than
// any frame.
constexpr std::size_t MUSIC_REWIND_WAIT_SECONDS = 1;
constexpr LONGLONG UNITS_PER_SECOND = 10000000;  // media times are in 100-nanosecond units

int comInitializations = 0;

struct Graph;

}  // namespace

namespace plat {

struct GraphBuilder {
    Graph* graph;
};
struct MediaControl {
    Graph* graph;
};
struct MediaEvent {
    Graph* graph;
};
struct MediaSeeking {
    Graph* graph;
};

}  // namespace plat

namespace {

// One filter graph; the four interfaces are views of it and share its reference count.
struct Graph {
    plat::GraphBuilder builder{this};
    plat::MediaControl control{this};
    plat::MediaEvent events{this};
    plat::MediaSeeking seeking{this};
    int references = 1;
    bool mixerOpen = false;
    bool rendered = false;
    bool running = false;
    std::vector<std::uint8_t> image;  // the file, which the stream decodes as it plays
    sdl2::MusicStream music;
    sdl2::Voice voice;

    ~Graph() {
        if (!mixerOpen) return;
        sdl2::Mixer::instance().detach(&voice);
        sdl2::Mixer::instance().close();
    }
};

std::uint32_t releaseGraph(Graph* graph) {
    const int left = --graph->references;
    if (left == 0) delete graph;
    return static_cast<std::uint32_t>(left);
}

// The wide file name as a path for fopen; the names the engine plays are plain ASCII.
std::string narrow(const wchar_t* file) {
    std::string name;
    for (; *file; ++file)
        name.push_back(static_cast<char>(*file));
    return name;
}

bool readFile(const std::string& name, std::vector<std::uint8_t>* image) {
    std::FILE* file = plat::openFile(name.c_str(), "rb");
    if (!file) return false;
    std::uint8_t chunk[16384];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && image->size() < MUSIC_MAX_FILE_BYTES) {
        image->insert(image->end(), chunk, chunk + got);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return !failed;
}

}  // namespace

namespace plat {

HRESULT native::coInitialize() {
    return comInitializations++ == 0 ? S_OK : S_FALSE;
}

void native::coUninitialize() {
    if (comInitializations > 0) --comInitializations;
}

HRESULT native::createFilterGraph(GraphBuilder** graph) {
    *graph = nullptr;
    if (comInitializations == 0) return CO_E_NOTINITIALIZED;
    Graph* made = new (std::nothrow) Graph;
    if (!made) return E_OUTOFMEMORY;
    *graph = &made->builder;
    return S_OK;
}

HRESULT native::queryMediaControl(GraphBuilder* graph, MediaControl** control) {
    ++graph->graph->references;
    *control = &graph->graph->control;
    return S_OK;
}

HRESULT native::queryMediaEvent(GraphBuilder* graph, MediaEvent** events) {
    ++graph->graph->references;
    *events = &graph->graph->events;
    return S_OK;
}

HRESULT native::queryMediaSeeking(GraphBuilder* graph, MediaSeeking** seeking) {
    ++graph->graph->references;
    *seeking = &graph->graph->seeking;
    return S_OK;
}

HRESULT native::renderFile(GraphBuilder* graph, const wchar_t* file, const wchar_t*) {
    Graph& chain = *graph->graph;
    if (!file) return E_POINTER;
    if (chain.rendered) return VFW_E_WRONG_STATE;
    chain.image.clear();
    if (!readFile(narrow(file), &chain.image)) return HRESULT_FILE_NOT_FOUND;
    // Without a sound device the graph still takes the file and runs, silent, like any other sound here.
    if (!chain.mixerOpen) chain.mixerOpen = sdl2::Mixer::instance().open();
    const int rate = chain.mixerOpen ? sdl2::Mixer::instance().rate() : MPEG_MAX_RATE;
    const std::size_t rewindWait = MUSIC_REWIND_WAIT_SECONDS * static_cast<std::size_t>(rate);
    if (!chain.music.open(chain.image.data(), chain.image.size(), rate, rewindWait)) {
        return VFW_E_UNSUPPORTED_STREAM;
    }
    chain.rendered = true;
    chain.voice.stream = &chain.music;
    if (chain.mixerOpen) sdl2::Mixer::instance().attach(&chain.voice);
    return S_OK;
}

HRESULT native::run(MediaControl* control) {
    Graph& graph = *control->graph;
    graph.running = true;
    sdl2::Mixer::Lock lock(sdl2::Mixer::instance());
    if (graph.rendered && !graph.music.atEnd()) graph.voice.playing = true;
    return S_OK;
}

HRESULT native::stop(MediaControl* control) {
    Graph& graph = *control->graph;
    graph.running = false;
    sdl2::Mixer::Lock lock(sdl2::Mixer::instance());
    graph.voice.playing = false;
    graph.music.reset();
    return S_OK;
}

HRESULT native::getEvent(MediaEvent* events, long* code, LONG_PTR* param1, LONG_PTR* param2, long) {
    Graph& graph = *events->graph;
    sdl2::Mixer::Lock lock(sdl2::Mixer::instance());
    if (!graph.music.takeEnd()) return E_ABORT;
    *code = EC_COMPLETE;
    *param1 = 0;
    *param2 = 0;
    return S_OK;
}

HRESULT native::freeEventParams(MediaEvent*, long, LONG_PTR, LONG_PTR) {
    // EC_COMPLETE carries no parameters that own anything.
    return S_OK;
}

HRESULT native::setPositions(MediaSeeking* seeking, LONGLONG* current, DWORD currentFlags, LONGLONG*, DWORD) {
    Graph& graph = *seeking->graph;
    if (!graph.rendered) return E_NOTIMPL;
    if (currentFlags != AM_SEEKING_AbsolutePositioning) return currentFlags == 0 ? S_OK : E_INVALIDARG;
    if (!current || *current < 0) return E_INVALIDARG;
    const int rate = graph.mixerOpen ? sdl2::Mixer::instance().rate() : MPEG_MAX_RATE;
    const auto frame = static_cast<std::size_t>(*current / UNITS_PER_SECOND * rate +
                                                *current % UNITS_PER_SECOND * rate / UNITS_PER_SECOND);
    sdl2::Mixer::Lock lock(sdl2::Mixer::instance());
    graph.music.seek(frame);
    graph.voice.playing = graph.running;
    return S_OK;
}

std::uint32_t native::release(GraphBuilder* graph) {
    return releaseGraph(graph->graph);
}

std::uint32_t native::release(MediaControl* control) {
    return releaseGraph(control->graph);
}

std::uint32_t native::release(MediaEvent* events) {
    return releaseGraph(events->graph);
}

std::uint32_t native::release(MediaSeeking* seeking) {
    return releaseGraph(seeking->graph);
}

}  // namespace plat
