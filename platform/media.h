// COM and the media player of the platform contract, shaped like DirectShow's filter graph.
//
// Each operation stands for one COM call or one method of the graph's interfaces (IGraphBuilder,
// IMediaControl, IMediaEvent, IMediaSeeking) and keeps its inputs, result codes and meaning. The four
// interface handles of one graph are reference-counted views of the same graph, which lives until the last of
// them is released.
#pragma once

#include <cstdint>

#include "platform/types.h"

// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), under a name of the contract's own.
constexpr HRESULT HRESULT_FILE_NOT_FOUND = static_cast<HRESULT>(0x80070002u);

#ifdef _WIN32
// The Windows build speaks DirectShow's own definitions: the seeking flags, the event codes, the results.
#include <strmif.h>

#include <evcode.h>
#include <vfwmsgs.h>
#else
using LONGLONG = std::int64_t;
using LONG_PTR = std::intptr_t;

// Result codes of COM and the filter graph.
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);
constexpr HRESULT RPC_E_CHANGED_MODE = static_cast<HRESULT>(0x80010106u);
constexpr HRESULT VFW_E_CANNOT_RENDER = static_cast<HRESULT>(0x80040218u);
constexpr HRESULT VFW_E_UNSUPPORTED_STREAM = static_cast<HRESULT>(0x80040265u);
constexpr HRESULT VFW_E_WRONG_STATE = static_cast<HRESULT>(0x80040227u);

// Event codes.
constexpr long EC_COMPLETE = 1;
constexpr long EC_USERABORT = 2;
constexpr long EC_ERRORABORT = 3;
constexpr long EC_PAUSED = 0x0E;

// IMediaSeeking::SetPositions flags.
constexpr DWORD AM_SEEKING_NoPositioning = 0;
constexpr DWORD AM_SEEKING_AbsolutePositioning = 1;
#endif

namespace plat {

struct GraphBuilder;
struct MediaControl;
struct MediaEvent;
struct MediaSeeking;

// CoInitialize(nullptr) and CoUninitialize.
HRESULT coInitialize();
void coUninitialize();

// CoCreateInstance of CLSID_FilterGraph, in process, asking for IGraphBuilder. Null in *graph on failure.
HRESULT createFilterGraph(GraphBuilder** graph);
// QueryInterface of the graph for IMediaControl, IMediaEvent, IMediaSeeking. Null on failure.
HRESULT queryMediaControl(GraphBuilder* graph, MediaControl** control);
HRESULT queryMediaEvent(GraphBuilder* graph, MediaEvent** events);
HRESULT queryMediaSeeking(GraphBuilder* graph, MediaSeeking** seeking);

// IGraphBuilder::RenderFile: builds the chain that plays `file` (a program-relative path; '\' or '/'). Fails
// when the file is missing (HRESULT_FILE_NOT_FOUND) or cannot be played (VFW_E_UNSUPPORTED_STREAM); the graph
// then has nothing to play, but stays usable.
HRESULT renderFile(GraphBuilder* graph, const wchar_t* file, const wchar_t* playList);

// IMediaControl::Run and Stop. Run plays from the current position; Stop halts and rewinds to the start.
HRESULT run(MediaControl* control);
HRESULT stop(MediaControl* control);

// IMediaEvent::GetEvent: takes the oldest queued event (EC_COMPLETE when the stream has played to its end).
// With a time-out of 0 it returns at once; E_ABORT when the queue is empty. Every event taken is handed back
// with freeEventParams.
HRESULT getEvent(MediaEvent* events, long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs);
HRESULT freeEventParams(MediaEvent* events, long code, LONG_PTR param1, LONG_PTR param2);

// IMediaSeeking::SetPositions in 100-nanosecond units. Seeking the current position to 0 with
// AM_SEEKING_AbsolutePositioning starts a finished stream over while the graph runs.
HRESULT setPositions(MediaSeeking* seeking, LONGLONG* current, DWORD currentFlags, LONGLONG* stopPosition,
                     DWORD stopFlags);

// IUnknown::Release of each interface; returns the references left on that interface.
std::uint32_t release(GraphBuilder* graph);
std::uint32_t release(MediaControl* control);
std::uint32_t release(MediaEvent* events);
std::uint32_t release(MediaSeeking* seeking);

}  // namespace plat
