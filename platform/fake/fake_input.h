// The scriptable input devices of the fake backend.
//
// By default the machine has DirectInput, a keyboard and a mouse that acquire at once, and no joystick. A
// test presses keys with pressKey(DIK_*), moves the mouse with moveMouse, turns the wheel, sets buttons, and
// the next InputSystem::poll reads it all. Mouse movement and wheel turns add up until the next mouse read,
// which takes them and starts again from zero, as a real mouse reports what happened since its previous read;
// keys and buttons stay as set until changed. For an exact sequence of reads, queue whole snapshots instead:
// each read takes the front of its queue while the queue is not empty, and the "now" state otherwise.
//
// A device reads only while acquired, as a foreground device does: loseFocus() unacquires every device, so
// the next read fails with DIERR_NOTACQUIRED and the engine acquires it again.
//
// Lifecycle calls are recorded in fake::calls() ("input.create", "input.createDevice keyboard",
// "input.acquire mouse", "input.release joystick", ...). Reads are counted, not recorded, so that polling
// stays free of allocation; `readSequence` numbers them across devices, so a test can see their order.
#pragma once

#include <array>
#include <cstdint>
#include <deque>

#include "platform/input.h"

namespace fake {

struct FakeDevice {
    // Scripted by the test.
    bool present = true;  // createDevice succeeds (joysticks: see InputState::joysticksAttached)
    // The next `acquireFailures` acquisitions fail with `acquireFailure`; -1 makes every acquisition fail.
    int acquireFailures = 0;
    HRESULT acquireFailure = DIERR_OTHERAPPHASPRIO;
    // The next `readFailures` reads fail with `readFailure`, and the device is lost (unacquired).
    int readFailures = 0;
    HRESULT readFailure = DIERR_INPUTLOST;

    // What the engine did with it.
    bool created = false;
    bool acquired = false;
    int references = 0;
    const plat::DataFormat* dataFormat = nullptr;
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeFlags = 0;
    int acquireCalls = 0;
    int unacquireCalls = 0;
    int readCalls = 0;
    int pollCalls = 0;
    int lastReadSequence = 0;
};

struct JoystickAxisProperties {
    plat::LONG min = 0;
    plat::LONG max = 0;
    DWORD deadZone = 0;
    bool rangeSet = false;
    bool deadZoneSet = false;
};

struct InputState {
    // DirectInputCreate's result; anything but DI_OK means no input object.
    HRESULT createResult = DI_OK;
    DWORD createdVersion = 0;
    bool inputCreated = false;
    int inputReferences = 0;

    FakeDevice keyboardDevice;
    FakeDevice mouseDevice;
    FakeDevice joystickDevice;
    // Joysticks the enumeration reports; the first `joysticksFailingCreation` of them cannot be created.
    int joysticksAttached = 0;
    int joysticksFailingCreation = 0;
    int joysticksEnumerated = 0;
    HRESULT queryInterfaceResult = DI_OK;
    HRESULT rangeResult = DI_OK;
    HRESULT deadZoneResult = DI_OK;
    DWORD joystickDevType = DIDEVTYPE_JOYSTICK | (DIDEVTYPEJOYSTICK_GAMEPAD << DIDEVTYPE_SUBTYPE_SHIFT);
    JoystickAxisProperties axisX;
    JoystickAxisProperties axisY;

    // The devices as they are now.
    std::array<std::uint8_t, KEYBOARD_STATE_SIZE> keys{};
    plat::MouseState mouseNow{};
    plat::JoystickState joystickNow{};
    // Snapshots taken by the next reads, first in first out, before the "now" state.
    std::deque<std::array<std::uint8_t, KEYBOARD_STATE_SIZE>> keyboardQueue;
    std::deque<plat::MouseState> mouseQueue;
    std::deque<plat::JoystickState> joystickQueue;

    int readSequence = 0;
};

InputState& input();
// Back to the default machine; fake::reset() calls it.
void resetInput();

// The keyboard: bit 7 of the key's snapshot byte.
void pressKey(std::uint8_t dik);
void releaseKey(std::uint8_t dik);
// The mouse: movement and wheel (120 per notch) add up until the next read; buttons 0 left, 1 right, 2
// middle.
void moveMouse(plat::LONG dx, plat::LONG dy);
void turnWheel(plat::LONG dz);
void setMouseButton(int button, bool down);
// The joystick: axes as the device reports them (-1000 to 1000 after the engine's properties), buttons 0
// to 31.
void setJoystickAxes(plat::LONG x, plat::LONG y);
void setJoystickButton(int button, bool down);
// The window lost the focus: every acquired device is unacquired, as the system does to foreground devices.
void loseFocus();

}  // namespace fake
