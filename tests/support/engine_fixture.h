// A test fixture that gives every test a fresh engine on the fake backend: a working machine with no window,
// a Display and an InputSystem as constructed before start-up, GameState 0 and an empty log.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <new>
#include <string>
#include <tuple>

#include "core/debug_log.h"
#include "core/game_state.h"
#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/fake/fake_platform.h"

inline void resetEngineGlobals() {
    // The input system first: its destructor releases the devices of the previous test through the fake.
    g_input.~InputSystem();
    new (&g_input) InputSystem();
    fake::reset();
    g_display.~Display();
    new (&g_display) Display();
    g_hInstance = nullptr;
    g_hWnd = nullptr;
    g_hDC = nullptr;
    g_hRC = nullptr;
    GameState = 0;
    g_debugLog.~DebugLog();
    new (&g_debugLog) DebugLog();
}

// The caption, text and style of the message box shown `i`th, for comparing whole.
inline std::tuple<std::string, std::string, UINT> shownBox(std::size_t i) {
    const fake::MessageBoxRecord& box = fake::system().messageBoxes.at(i);
    return {box.caption, box.text, box.style};
}

// The log file's bytes as they are on disk.
inline std::string readLogBytes() {
    std::ifstream in(DEBUG_LOG_FILE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EngineTest : public testing::Test {
protected:
    void SetUp() override { resetEngineGlobals(); }
    void TearDown() override { fake::reset(); }
};
