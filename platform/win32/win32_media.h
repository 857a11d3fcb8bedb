// What the Windows media graph tells the engine's window.
#pragma once

#include "platform/types.h"

namespace win32 {

// Posted to the visible window of the thread that asked for the graph's events whenever the graph queues one;
// the events themselves are still taken with getEvent.
constexpr UINT WM_GRAPH_EVENT = WM_APP + 1;

}  // namespace win32
