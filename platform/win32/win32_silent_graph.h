// The music graph of a system without any audio output.
#pragma once

#define NO_DSHOW_STRSAFE
#include <dshow.h>

namespace win32 {

// Whether the system has a device to play sound on.
bool hasAudioOutput();

// Builds in `graph` the chain that reads and decodes `file` as RenderFile would, ending in a renderer that
// drops the sound in time with the graph's clock: the track runs, ends and rewinds, silent. Without an audio
// output RenderFile finds no renderer for the sound and fails, though the file is there and plays. Fails as
// RenderFile does for a missing file or one without sound.
HRESULT renderSilently(IGraphBuilder* graph, const wchar_t* file);

}  // namespace win32
