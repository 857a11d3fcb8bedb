// Creating, acquiring, losing and releasing the devices, on a machine that misbehaves as the test says.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
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

class InputDevices : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        fake::input().joysticksAttached = 1;
    }
};

void fail(fake::FakeDevice& device, int times, HRESULT failure) {
    device.acquireFailures = times;
    device.acquireFailure = failure;
}

// What init leaves, a letter each: K keyboard, M mouse, J joystick, lower case acquired, T key tables built.
std::string keptBy(const InputSystem& input) {
    const bool tables =
        std::strcmp(input.keyNames[KEY_ESC], "ESC") == 0 && input.dikToKey[DIK_ESCAPE] == KEY_ESC;
    return std::string(input.keyboard ? "K" : "") + (input.keyboardAcquired ? "k" : "") +
           (tables ? "T" : "") + (input.mouse ? "M" : "") + (input.mouseAcquired ? "m" : "") +
           (input.joystick ? "J" : "") + (input.joystickAcquired ? "j" : "");
}

// A failing init step: its result, what init keeps, Escape's state after two polls holding it, stick reads.
using M = fake::InputState;
const struct {
    const char* what;
    void (*arrange)(M&);
    HRESULT result;
    const char* kept;
    std::uint16_t escape;
    int joystickReads;
} INIT_CASES[] = {
    {"all well", [](M&) {}, DI_OK, "KkTMmJj", 3, 2},
    {"no DirectInput", [](M& m) { m.createResult = DIERR_OUTOFMEMORY; }, DIERR_OUTOFMEMORY, "", 0, 0},
    {"mouse lost", [](M& m) { fail(m.mouseDevice, -1, DIERR_INPUTLOST); }, DIERR_INPUTLOST, "M", 0, 0},
    {"mouse refused", [](M& m) { fail(m.mouseDevice, -1, E_ACCESSDENIED); }, DI_OK, "KkTMmJj", 3, 0},
    {"no mouse", [](M& m) { m.mouseDevice.present = false; }, DI_OK, "KkTJj", 3, 2},
    {"keys failing", [](M& m) { fail(m.keyboardDevice, ATTEMPTS, E_FAIL); }, E_FAIL, "KMm", 0, 0},
    {"keys refused", [](M& m) { fail(m.keyboardDevice, ATTEMPTS, E_ACCESSDENIED); }, DI_OK, "KTMmJj", 2, 1},
    {"no keyboard", [](M& m) { m.keyboardDevice.present = false; }, DI_OK, "MmJj", 0, 2},
    {"no joystick", [](M& m) { m.joysticksAttached = 0; }, DI_OK, "KkTMm", 3, 0},
    {"stick refused", [](M& m) { fail(m.joystickDevice, -1, E_ACCESSDENIED); }, DI_OK, "KkTMmJ", 3, 0},
    {"no polling", [](M& m) { m.queryInterfaceResult = E_NOINTERFACE; }, E_NOINTERFACE, "KkTMm", 3, 0},
    {"no dead zone", [](M& m) { m.deadZoneResult = DIERR_INVALIDPARAM; }, DIERR_INVALIDPARAM, "KkTMmJ", 3, 0},
};

}  // namespace

TEST_F(InputDevices, InitCreatesMouseKeyboardJoystickInOrderAndTeardownReleasesThem) {
    fake::input().joysticksAttached = 2;  // the first cannot be opened: the second is taken
    fake::input().joysticksFailingCreation = 1;
    {
        InputSystem input;
        EXPECT_EQ(input.init(nullptr, fake::fakeWindowHandle()), DI_OK);
        EXPECT_EQ(fake::input().createdVersion, 0x0700u);
        EXPECT_EQ(inputCalls(),
                  (std::vector<std::string>{
                      "create", "createDevice mouse", "setDataFormat mouse", "setCooperativeLevel mouse",
                      "createDevice keyboard", "setDataFormat keyboard", "setCooperativeLevel keyboard",
                      "enumDevices 4 1", "createDevice failed", "createDevice joystick",
                      "queryInterface joystick", "release joystick", "setDataFormat joystick",
                      "setCooperativeLevel joystick", "setProperty range x", "setProperty range y",
                      "setProperty deadzone x", "setProperty deadzone y", "getDeviceInfo joystick"}));
        // The data formats are checked by the SDL devices themselves, which refuse a wrong one.
        const fake::InputState& m = fake::input();
        for (const fake::FakeDevice* device : {&m.keyboardDevice, &m.mouseDevice, &m.joystickDevice})
            EXPECT_EQ(std::make_pair(device->cooperativeWindow, device->cooperativeFlags),
                      std::make_pair(fake::fakeWindowHandle(), DWORD{DISCL_NONEXCLUSIVE | DISCL_FOREGROUND}));
        fake::calls().clear();
    }
    EXPECT_EQ(inputCalls(), (std::vector<std::string>{
                                "unacquire keyboard", "release keyboard", "unacquire mouse", "release mouse",
                                "unacquire joystick", "release joystick", "release directInput"}));
}

TEST_F(InputDevices, EachFailingInitStepLeavesWhatCameBeforeItUsableAndNothingOpen) {
    for (const auto& each : INIT_CASES) {
        SCOPED_TRACE(each.what);
        fake::reset();
        fake::input().joysticksAttached = 1;
        each.arrange(fake::input());
        {
            InputSystem input;
            EXPECT_EQ(input.init(nullptr, fake::fakeWindowHandle()), each.result);
            EXPECT_EQ(keptBy(input), each.kept);
            EXPECT_EQ(input.keyNames[KEY_ESC][0] == '\0', input.dikToKey[DIK_ESCAPE] == 0)
                << "tables half built";
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

TEST_F(InputDevices, FailedReadReacquiresAndSkipsTheRestOfThePollAndAJoystickGoneForGoodIsDropped) {
    InputSystem input;
    ASSERT_EQ(input.init(nullptr, fake::fakeWindowHandle()), DI_OK);
    fake::FakeDevice& keyboard = fake::input().keyboardDevice;
    fake::FakeDevice& mouse = fake::input().mouseDevice;
    fake::FakeDevice& joystick = fake::input().joystickDevice;
    fake::moveMouse(5, 0);
    keyboard.readFailures = 1;
    EXPECT_EQ(input.poll(), DIERR_INPUTLOST);
    EXPECT_EQ(std::make_tuple(keyboard.acquireCalls, mouse.readCalls, joystick.readCalls),
              std::make_tuple(2, 0, 0));
    mouse.readFailures = 1;
    mouse.readFailure = DIERR_NOTACQUIRED;
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(std::make_tuple(mouse.acquireCalls, input.mouseAcquired, joystick.readCalls),
              std::make_tuple(2, 1, 0));
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.mouseDeltaX, 7) << "the movement waited for the next good read";
    EXPECT_EQ(joystick.readCalls, 1);

    // A joystick that cannot be acquired again within the attempts is dropped for good.
    joystick.readFailures = 1;
    fail(joystick, ATTEMPTS, DIERR_INPUTLOST);
    EXPECT_EQ(input.poll(), DIERR_INPUTLOST);
    EXPECT_EQ(input.joystickAcquired, 0);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(std::make_tuple(joystick.readCalls, joystick.acquireCalls), std::make_tuple(2, 1 + ATTEMPTS));
}

TEST_F(InputDevices, NoneAreOpenedWithoutADisplay) {
    fake::window().createWindowFails = true;
    EXPECT_FALSE(initGame());
    EXPECT_FALSE(fake::called("input."));
    EXPECT_EQ(g_input.directInput, nullptr);
}
