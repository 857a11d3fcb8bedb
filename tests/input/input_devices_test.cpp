// Creating, acquiring, losing and releasing the devices, on a machine that misbehaves as the test says, and
// the input system inside the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/entry.h"
#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "support/engine_fixture.h"

namespace {

constexpr int ATTEMPTS = 51;

// The input calls the fake recorded, acquisitions left out, without their "input." prefix.
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
    void SetUp() override {
        fake::reset();
        fake::input().joysticksAttached = 1;
    }

    static HRESULT init(InputSystem& input) { return input.init(nullptr, fake::fakeWindowHandle()); }
};

void failAcquiring(fake::FakeDevice& device, int times, HRESULT failure) {
    device.acquireFailures = times;
    device.acquireFailure = failure;
}

// What init keeps.
enum Kept { KEYBOARD = 1, MOUSE = 2, JOYSTICK = 4, KEY_TABLES = 8, ALL = 15 };

// One step of init going wrong: what init returns and keeps, and what two polls with Escape held make of it.
using Machine = fake::InputState;

struct InitCase {
    const char* what;
    void (*arrange)(Machine&);
    HRESULT result;
    int kept;
    std::uint16_t escape;  // after the two polls
    int joystickReads;     // in the two polls
};

const InitCase INIT_CASES[] = {
    {"all well", [](Machine&) {}, DI_OK, ALL, KEYSTATE_HELD, 2},
    {"no DirectInput", [](Machine& m) { m.createResult = DIERR_OUTOFMEMORY; }, DIERR_OUTOFMEMORY, 0,
     KEYSTATE_UP, 0},
    {"mouse lost: nothing after it", [](Machine& m) { failAcquiring(m.mouseDevice, -1, DIERR_INPUTLOST); },
     DIERR_INPUTLOST, MOUSE, KEYSTATE_UP, 0},
    {"no mouse", [](Machine& m) { m.mouseDevice.present = false; }, DI_OK, ALL - MOUSE, KEYSTATE_HELD, 2},
    {"keyboard failing: read and re-acquired, it feeds nothing",
     [](Machine& m) { failAcquiring(m.keyboardDevice, ATTEMPTS, E_FAIL); }, E_FAIL, KEYBOARD | MOUSE,
     KEYSTATE_UP, 0},
    {"keyboard refused: acquired by the first poll",
     [](Machine& m) { failAcquiring(m.keyboardDevice, ATTEMPTS, E_ACCESSDENIED); }, DI_OK, ALL,
     KEYSTATE_PRESSED, 1},
    {"no keyboard", [](Machine& m) { m.keyboardDevice.present = false; }, DI_OK, MOUSE | JOYSTICK,
     KEYSTATE_UP, 2},
    {"no joystick", [](Machine& m) { m.joysticksAttached = 0; }, DI_OK, ALL - JOYSTICK, KEYSTATE_HELD, 0},
    {"joystick refused: never read", [](Machine& m) { failAcquiring(m.joystickDevice, -1, E_ACCESSDENIED); },
     DI_OK, ALL, KEYSTATE_HELD, 0},
    {"joystick without the polling interface", [](Machine& m) { m.queryInterfaceResult = E_NOINTERFACE; },
     E_NOINTERFACE, ALL - JOYSTICK, KEYSTATE_HELD, 0},
    {"joystick refusing its dead zone", [](Machine& m) { m.deadZoneResult = DIERR_INVALIDPARAM; },
     DIERR_INVALIDPARAM, ALL, KEYSTATE_HELD, 0},
};

}  // namespace

TEST_F(InputDevices, InitCreatesMouseKeyboardJoystickInOrderAndTeardownReleasesThem) {
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
        EXPECT_EQ(input.mouseAcquired + input.keyboardAcquired + input.joystickAcquired, 3);
        fake::calls().clear();
    }
    EXPECT_EQ(inputCalls(), (std::vector<std::string>{
                                "unacquire keyboard", "release keyboard", "unacquire mouse", "release mouse",
                                "unacquire joystick", "release joystick", "release directInput"}));
}

TEST_F(InputDevices, EachFailingInitStepLeavesWhatCameBeforeItUsableAndNothingOpen) {
    for (const InitCase& each : INIT_CASES) {
        SCOPED_TRACE(each.what);
        fake::reset();
        fake::input().joysticksAttached = 1;
        each.arrange(fake::input());
        {
            InputSystem input;
            EXPECT_EQ(init(input), each.result);
            EXPECT_EQ(input.keyboard != nullptr, (each.kept & KEYBOARD) != 0);
            EXPECT_EQ(input.mouse != nullptr, (each.kept & MOUSE) != 0);
            EXPECT_EQ(input.joystick != nullptr, (each.kept & JOYSTICK) != 0);
            EXPECT_STREQ(input.keyNames[KEY_ESC], (each.kept & KEY_TABLES) != 0 ? "ESC" : "");
            EXPECT_EQ(input.dikToKey[DIK_ESCAPE], (each.kept & KEY_TABLES) != 0 ? KEY_ESC : 0u);
            fake::pressKey(DIK_ESCAPE);
            input.poll();
            input.poll();
            EXPECT_EQ(input.keyState(KEY_ESC), each.escape);
            EXPECT_EQ(fake::input().joystickDevice.readCalls, each.joystickReads);
        }
        const fake::InputState& state = fake::input();
        EXPECT_EQ(state.keyboardDevice.references + state.mouseDevice.references +
                      state.joystickDevice.references + state.inputReferences,
                  0);
        EXPECT_EQ(fake::called("input.release directInput"), state.inputCreated);
    }
}

TEST_F(InputDevices, MouseRefusedByAnotherWindowIsRetriedEveryPoll) {
    failAcquiring(fake::input().mouseDevice, -1, E_ACCESSDENIED);
    fake::window().cursorPosition = {100, 50};
    InputSystem input;
    EXPECT_EQ(init(input), DI_OK);
    EXPECT_EQ(input.mouseAcquired, 1);
    EXPECT_EQ(input.cursorX, 100);
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

TEST_F(InputDevices, FailedReadReacquiresAndSkipsTheRestOfThePollAndAJoystickGoneForGoodIsDropped) {
    InputSystem input;
    ASSERT_EQ(init(input), DI_OK);
    fake::InputState& state = fake::input();
    fake::moveMouse(5, 0);
    state.keyboardDevice.readFailures = 1;
    EXPECT_EQ(input.poll(), DIERR_INPUTLOST);
    EXPECT_EQ(state.keyboardDevice.acquireCalls, 2);
    EXPECT_EQ(state.mouseDevice.readCalls, 0);
    EXPECT_EQ(state.joystickDevice.readCalls, 0);

    state.mouseDevice.readFailures = 1;
    state.mouseDevice.readFailure = DIERR_NOTACQUIRED;
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(state.mouseDevice.acquireCalls, 2);
    EXPECT_EQ(input.mouseAcquired, 1);
    EXPECT_EQ(state.joystickDevice.readCalls, 0);

    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.mouseDeltaX, 7);  // the movement waited for the next good read
    EXPECT_EQ(state.joystickDevice.readCalls, 1);

    // A joystick that cannot be acquired again within the attempts is dropped for good.
    state.joystickDevice.readFailures = 1;
    failAcquiring(state.joystickDevice, ATTEMPTS, DIERR_INPUTLOST);
    EXPECT_EQ(input.poll(), DIERR_INPUTLOST);
    EXPECT_EQ(state.joystickDevice.acquireCalls, 1 + ATTEMPTS);
    EXPECT_EQ(input.joystickAcquired, 0);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(state.joystickDevice.readCalls, 2);
    EXPECT_EQ(state.joystickDevice.acquireCalls, 1 + ATTEMPTS);
}

namespace {

using InputStartup = EngineTest;

int callIndex(const std::string& prefix) {
    const auto& calls = fake::calls();
    const auto found = std::find_if(calls.begin(), calls.end(), [&prefix](const std::string& call) {
        return call.rfind(prefix, 0) == 0;
    });
    return found == calls.end() ? -1 : static_cast<int>(found - calls.begin());
}

}  // namespace

TEST_F(InputStartup, DevicesFollowTheWindowAndEveryActivePassPollsOnce) {
    int emptyQueues = 0;
    fake::window().whenQueueEmpty = [&emptyQueues] {
        if (++emptyQueues == 5) fake::window().queue.push_back({fake::fakeWindowHandle(), WM_CLOSE, 0, 0});
    };
    // A button the menu does not act on (F12 would close the program at the first pass).
    fake::setMouseButton(2, true);
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);

    EXPECT_GT(callIndex("input.create"), callIndex("createWindow"));
    EXPECT_EQ(fake::input().mouseDevice.cooperativeWindow, fake::fakeWindowHandle());
    EXPECT_EQ((std::vector<int>{g_input.mouseMinX, g_input.mouseMinY, g_input.mouseMaxX, g_input.mouseMaxY}),
              (std::vector<int>{0, 0, 631, 471}));
    EXPECT_EQ(fake::input().keyboardDevice.readCalls, fake::window().swapCount);
    EXPECT_EQ(g_input.keyState(KEY_MOUSE_MIDDLE), KEYSTATE_HELD);
}

TEST_F(InputStartup, NoDevicesWithoutADisplay) {
    fake::window().createWindowFails = true;
    EXPECT_FALSE(initGame());
    EXPECT_EQ(callIndex("input."), -1);
    EXPECT_EQ(g_input.directInput, nullptr);
}
