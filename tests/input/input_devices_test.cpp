// Creating, acquiring, losing and releasing the devices, on a machine that misbehaves as the test says.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"

namespace {

constexpr int ATTEMPTS = 51;

std::vector<std::string> inputCalls() {
    std::vector<std::string> calls;
    for (const std::string& call : fake::calls()) {
        if (call.rfind("input.", 0) == 0 && call.rfind("input.acquire", 0) != 0)
            calls.push_back(call.substr(6));
    }
    return calls;
}

class InputDevices : public testing::Test {
protected:
    void SetUp() override { fake::reset(); }

    HRESULT init(InputSystem& input) { return input.init(nullptr, fake::fakeWindowHandle()); }
};

}  // namespace

TEST_F(InputDevices, InitCreatesMouseKeyboardJoystickInOrder) {
    fake::input().joysticksAttached = 2;
    fake::input().joysticksFailingCreation =
        1;  // the first attached one cannot be opened: the second is taken
    {
        InputSystem input;
        EXPECT_EQ(init(input), DI_OK);
        EXPECT_EQ(fake::input().createdVersion, 0x0700u);
        EXPECT_EQ(inputCalls(),
                  (std::vector<std::string>{
                      "create", "createDevice mouse", "setDataFormat mouse", "setCooperativeLevel mouse",
                      "createDevice keyboard", "setDataFormat keyboard", "setCooperativeLevel keyboard",
                      "enumDevices 4 1", "createDevice failed", "createDevice joystick",
                      "queryInterface joystick", "release joystick", "setDataFormat joystick",
                      "setCooperativeLevel joystick", "setProperty range x", "setProperty range y",
                      "setProperty deadzone x", "setProperty deadzone y", "getDeviceInfo joystick"}));
        for (const fake::FakeDevice* device :
             {&fake::input().keyboardDevice, &fake::input().mouseDevice, &fake::input().joystickDevice}) {
            EXPECT_TRUE(device->acquired);
            EXPECT_EQ(device->cooperativeWindow, fake::fakeWindowHandle());
            EXPECT_EQ(device->cooperativeFlags, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
        }
        EXPECT_EQ(fake::input().keyboardDevice.dataFormat, &c_dfDIKeyboard);
        EXPECT_EQ(fake::input().mouseDevice.dataFormat, &c_dfDIMouse);
        EXPECT_EQ(fake::input().joystickDevice.dataFormat, &c_dfDIJoystick);
        EXPECT_EQ(input.window, fake::fakeWindowHandle());
        EXPECT_EQ(input.mouseAcquired, 1);
        EXPECT_EQ(input.keyboardAcquired, 1);
        EXPECT_EQ(input.joystickAcquired, 1);
        fake::calls().clear();
    }
    // Teardown: keyboard, mouse, joystick, each unacquired and released, then the input object.
    EXPECT_EQ(inputCalls(), (std::vector<std::string>{
                                "unacquire keyboard", "release keyboard", "unacquire mouse", "release mouse",
                                "unacquire joystick", "release joystick", "release directInput"}));
    EXPECT_EQ(fake::input().keyboardDevice.references, 0);
    EXPECT_EQ(fake::input().mouseDevice.references, 0);
    EXPECT_EQ(fake::input().joystickDevice.references, 0);
    EXPECT_EQ(fake::input().inputReferences, 0);
}

TEST_F(InputDevices, WithoutDirectInputNothingIsCreatedOrReleased) {
    fake::input().createResult = DIERR_OUTOFMEMORY;
    {
        InputSystem input;
        EXPECT_EQ(init(input), DIERR_OUTOFMEMORY);
        EXPECT_EQ(input.poll(), DI_OK);
        EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_UP);
        EXPECT_EQ(input.mouseAcquired, 0);
    }
    EXPECT_EQ(inputCalls(), std::vector<std::string>{"create"});
}

TEST_F(InputDevices, MouseRefusedByAnotherWindowIsRetriedEveryPoll) {
    fake::input().joysticksAttached = 1;
    fake::input().mouseDevice.acquireFailures = -1;
    fake::input().mouseDevice.acquireFailure = E_ACCESSDENIED;
    fake::window().cursorPosition = {100, 50};
    InputSystem input;
    EXPECT_EQ(init(input), DI_OK);
    EXPECT_EQ(input.mouseAcquired, 1);
    EXPECT_EQ(input.cursorX, 100);
    EXPECT_NE(input.keyboard, nullptr);
    EXPECT_NE(input.joystick, nullptr);
    EXPECT_EQ(fake::input().mouseDevice.acquireCalls, ATTEMPTS);

    for (int poll = 1; poll <= 2; ++poll) {
        EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
        EXPECT_EQ(input.mouseAcquired, 1);
        EXPECT_EQ(fake::input().mouseDevice.acquireCalls, ATTEMPTS * (poll + 1));
        EXPECT_EQ(fake::input().joystickDevice.readCalls, 0);
    }
    fake::input().mouseDevice.acquireFailures = 0;  // the window came to the front
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);     // this poll's read still fails; its retry succeeds
    fake::moveMouse(1, 0);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.cursorX, 101);
    EXPECT_EQ(fake::input().joystickDevice.readCalls, 1);
}

TEST_F(InputDevices, MouseFailingOtherwiseLeavesNoKeyboardNorJoystick) {
    fake::input().joysticksAttached = 1;
    fake::input().mouseDevice.acquireFailures = -1;
    fake::input().mouseDevice.acquireFailure = DIERR_INPUTLOST;
    InputSystem input;
    EXPECT_EQ(init(input), DIERR_INPUTLOST);
    EXPECT_EQ(input.mouseAcquired, 0);
    EXPECT_EQ(input.keyboard, nullptr);
    EXPECT_EQ(input.joystick, nullptr);
    EXPECT_FALSE(fake::called("input.enumDevices"));
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(fake::input().mouseDevice.readCalls, 0);
}

TEST_F(InputDevices, KeyboardFailingLeavesItUnmappedAndNoJoystick) {
    fake::input().joysticksAttached = 1;
    fake::input().keyboardDevice.acquireFailures = ATTEMPTS;
    fake::input().keyboardDevice.acquireFailure = E_FAIL;
    InputSystem input;
    EXPECT_EQ(init(input), E_FAIL);
    EXPECT_EQ(input.keyboardAcquired, 0);
    EXPECT_EQ(input.joystick, nullptr);
    EXPECT_STREQ(input.keyNames[KEY_ESC], "");
    EXPECT_EQ(input.dikToKey[DIK_ESCAPE], 0u);
    // Read by every poll, re-acquired by the first failed read, yet it feeds nothing.
    fake::pressKey(DIK_ESCAPE);
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input.keyboardAcquired, 1);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_UP);
}

TEST_F(InputDevices, KeyboardRefusedByAnotherWindowKeepsItsTables) {
    fake::input().keyboardDevice.acquireFailures = ATTEMPTS;
    fake::input().keyboardDevice.acquireFailure = E_ACCESSDENIED;
    InputSystem input;
    EXPECT_EQ(init(input), DI_OK);
    EXPECT_EQ(input.keyboardAcquired, 0);
    EXPECT_STREQ(input.keyNames[KEY_ESC], "ESC");
    fake::pressKey(DIK_ESCAPE);
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_PRESSED);
}

TEST_F(InputDevices, FailedReadReacquiresAndSkipsTheRestOfThePoll) {
    fake::input().joysticksAttached = 1;
    InputSystem input;
    ASSERT_EQ(init(input), DI_OK);
    fake::InputState& state = fake::input();
    fake::moveMouse(5, 0);
    state.keyboardDevice.readFailures = 1;
    EXPECT_EQ(input.poll(), DIERR_INPUTLOST);
    EXPECT_EQ(state.keyboardDevice.acquireCalls, 2);
    EXPECT_EQ(state.mouseDevice.readCalls, 0);
    EXPECT_EQ(state.joystickDevice.readCalls, 0);
    EXPECT_EQ(input.mouseDeltaX, 0);

    state.mouseDevice.readFailures = 1;
    state.mouseDevice.readFailure = DIERR_NOTACQUIRED;
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(state.mouseDevice.acquireCalls, 2);
    EXPECT_EQ(input.mouseAcquired, 1);
    EXPECT_EQ(state.joystickDevice.readCalls, 0);

    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.mouseDeltaX, 7);  // the movement waited for the next good read
    EXPECT_EQ(state.joystickDevice.readCalls, 1);
}

TEST_F(InputDevices, JoystickIsDroppedAfter51FailedAttempts) {
    fake::input().joysticksAttached = 1;
    InputSystem input;
    ASSERT_EQ(init(input), DI_OK);
    fake::FakeDevice& joystick = fake::input().joystickDevice;
    joystick.readFailures = 1;
    joystick.acquireFailures = ATTEMPTS;
    joystick.acquireFailure = DIERR_INPUTLOST;
    EXPECT_EQ(input.poll(), DIERR_INPUTLOST);
    EXPECT_EQ(joystick.acquireCalls, 1 + ATTEMPTS);
    EXPECT_EQ(input.joystickAcquired, 0);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(joystick.readCalls, 1);
    EXPECT_EQ(joystick.acquireCalls, 1 + ATTEMPTS);
}

TEST_F(InputDevices, JoystickRefusedAtInitIsNeverRead) {
    fake::input().joysticksAttached = 1;
    fake::input().joystickDevice.acquireFailures = -1;
    fake::input().joystickDevice.acquireFailure = E_ACCESSDENIED;
    InputSystem input;
    EXPECT_EQ(init(input), DI_OK);
    EXPECT_EQ(input.joystickAcquired, 0);
    EXPECT_EQ(input.joystickSubtype, 4);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(fake::input().joystickDevice.readCalls, 0);
}

TEST_F(InputDevices, JoystickFailuresEndInitAndKeepNothingOpen) {
    fake::input().joysticksAttached = 1;
    fake::input().queryInterfaceResult = E_NOINTERFACE;
    {
        InputSystem input;
        EXPECT_EQ(init(input), E_NOINTERFACE);
        EXPECT_EQ(input.joystick, nullptr);
        EXPECT_EQ(fake::input().joystickDevice.references, 0);
    }
    fake::reset();
    fake::input().joysticksAttached = 1;
    fake::input().deadZoneResult = DIERR_INVALIDPARAM;
    {
        InputSystem input;
        EXPECT_EQ(init(input), DIERR_INVALIDPARAM);
        EXPECT_NE(input.joystick, nullptr);
        EXPECT_EQ(input.joystickAcquired, 0);
        EXPECT_EQ(input.poll(), DI_OK);
        EXPECT_EQ(fake::input().joystickDevice.readCalls, 0);
    }
    EXPECT_EQ(fake::input().joystickDevice.references, 0);
}

TEST_F(InputDevices, WithoutJoystickInitSucceedsAndPollsSkipIt) {
    InputSystem input;
    EXPECT_EQ(init(input), DI_OK);
    EXPECT_EQ(input.joystick, nullptr);
    EXPECT_FALSE(fake::called("input.queryInterface"));
    EXPECT_EQ(input.poll(), DI_OK);
}

TEST_F(InputDevices, AbsentDevicesAreSkipped) {
    fake::input().mouseDevice.present = false;
    fake::input().joysticksAttached = 1;
    InputSystem input;
    EXPECT_EQ(init(input), DI_OK);
    EXPECT_EQ(input.mouse, nullptr);
    EXPECT_EQ(input.mouseAcquired, 0);
    EXPECT_NE(input.keyboard, nullptr);
    EXPECT_NE(input.joystick, nullptr);
    fake::pressKey(DIK_F12);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.keyState(KEY_F12), KEYSTATE_PRESSED);
    EXPECT_EQ(fake::input().joystickDevice.readCalls, 1);
}
