#include <cstdio>
#include <string>

#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "platform/native.h"
#include "platform/system.h"

namespace fake {

// The fake's state is never destroyed: the engine's global objects are torn down after the test's own statics
// and still call the fake from their destructors (the input system releases its devices).
SystemState& system() {
    static SystemState* state = new SystemState;
    return *state;
}

std::vector<std::string>& calls() {
    static std::vector<std::string>* recorded = new std::vector<std::string>;
    return *recorded;
}

bool called(const std::string& prefix) {
    return callCount(prefix) > 0;
}

int callCount(const std::string& prefix) {
    int count = 0;
    for (const std::string& call : calls()) {
        if (call.compare(0, prefix.size(), prefix) == 0) ++count;
    }
    return count;
}

void reset() {
    system() = SystemState{};
    window() = WindowState{};
    resetAudio();
    calls().clear();
    resetInput();
}

}  // namespace fake

namespace plat {

bool native::queryPerformanceFrequency(std::int64_t* frequency) {
    fake::SystemState& state = fake::system();
    *frequency = state.hasCounter ? state.counterFrequency : 0;
    return state.hasCounter;
}

bool native::queryPerformanceCounter(std::int64_t* counter) {
    fake::SystemState& state = fake::system();
    ++state.counterReads;
    *counter = state.counter;
    state.counter += state.counterStep;
    return state.hasCounter;
}

DWORD native::timeGetTime() {
    return fake::system().milliseconds;
}

HINSTANCE getModuleHandle() {
    static char module;
    return reinterpret_cast<HINSTANCE>(&module);
}

int native::messageBox(HWND owner, const char* text, const char* caption, UINT style) {
    fake::SystemState& state = fake::system();
    state.messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", style});
    fake::calls().push_back(std::string("messageBox ") + (caption ? caption : ""));
    if (state.messageBoxAnswers.empty()) return IDOK;
    const int answer = state.messageBoxAnswers.front();
    state.messageBoxAnswers.pop_front();
    return answer;
}

}  // namespace plat
