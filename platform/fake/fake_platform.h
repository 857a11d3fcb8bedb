// The scriptable backend for tests: no window, no display, time the test sets.
//
// Every call is recorded in `calls` (one short line each, such as "createWindow PEL2D - TEST"), and the test
// scripts what each call returns through the fields below. reset() brings everything back to a working
// machine with no window.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/window.h"

namespace fake {

struct MessageBoxRecord {
    HWND owner;
    std::string text;
    std::string caption;
    UINT style;
};

struct SystemState {
    // Off, the fake records no calls: recording allocates, and a test that counts allocations per frame must
    // see only the engine's own.
    bool recordCalls = true;

    bool hasCounter = true;
    std::int64_t counterFrequency = 1000000;
    std::int64_t counter = 0;
    // Added to `counter` after every reading, so a test can make each frame take a fixed time.
    std::int64_t counterStep = 0;
    int counterReads = 0;
    DWORD milliseconds = 0;

    // Answers of the next message boxes, first in first out; IDOK when none is left.
    std::deque<int> messageBoxAnswers;
    std::vector<MessageBoxRecord> messageBoxes;
};

struct WindowState {
    bool registerClassFails = false;
    bool displayModeAvailable = true;
    bool createWindowFails = false;
    bool getDCFails = false;
    bool choosePixelFormatFails = false;
    bool setPixelFormatFails = false;
    bool createContextFails = false;
    bool makeCurrentFails = false;

    // What the engine asked for and what exists now.
    bool classRegistered = false;
    std::string className;
    plat::WindowProcFn windowProc = nullptr;
    const plat::IconImage* icon = nullptr;
    HWND window = nullptr;
    DWORD windowStyle = 0;
    DWORD windowExStyle = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    bool windowVisible = false;
    bool cursorVisible = true;
    bool fullscreenMode = false;
    HGLRC context = nullptr;
    bool contextCurrent = false;
    int swapCount = 0;
    // Where getCursorPos finds the pointer.
    plat::Point cursorPosition{0, 0};

    // The thread's message queue; tests push window messages here.
    std::deque<plat::Message> queue;
    // Called whenever the engine finds the queue empty, so a test can post messages as passes go by (for
    // instance WM_CLOSE after some frames to end the main loop).
    std::function<void()> whenQueueEmpty;
    std::vector<plat::Message> dispatched;
    std::vector<plat::Message> defaultProcessed;
};

SystemState& system();
WindowState& window();
std::vector<std::string>& calls();

// True when some recorded call starts with `prefix`.
bool called(const std::string& prefix);
// How many recorded calls start with `prefix`.
int callCount(const std::string& prefix);

void reset();

// The handle the fake gives its one window.
HWND fakeWindowHandle();

}  // namespace fake
