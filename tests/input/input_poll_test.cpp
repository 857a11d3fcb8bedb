// What a poll makes of the devices, and the key tables through which the keyboard feeds the key codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"
#include "support/allocation_counter.h"

namespace {

class InputPoll : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        fake::input().joysticksAttached = 1;
        fake::window().cursorPosition = {320, 240};
        ASSERT_EQ(input.init(nullptr, fake::fakeWindowHandle()), DI_OK);
    }

    InputSystem input;
};

}  // namespace

// Down again at the poll right after a release is a new press; focus losses are walked through SDL itself.
TEST_F(InputPoll, KeyStatesAndPressTimesFollowTheSamplesAndCodesOutOfRangeAreUp) {
    const char samples[] = "DDDDuuDuDD";
    std::vector<std::uint16_t> states;
    std::vector<DWORD> pressTimes;
    for (int i = 0; samples[i] != '\0'; ++i) {
        fake::system().milliseconds = static_cast<DWORD>(1000 + 100 * i);
        fake::input().keys[DIK_F1] = samples[i] == 'D' ? 0x80 : 0;
        EXPECT_EQ(input.poll(), DI_OK);
        states.push_back(input.keyState(KEY_F1));
        pressTimes.push_back(input.pressTimes[KEY_F1]);
    }
    EXPECT_EQ(states, (std::vector<std::uint16_t>{2, 3, 3, 3, 1, 0, 2, 1, 2, 3}));
    EXPECT_EQ(pressTimes, (std::vector<DWORD>{1000, 1000, 1000, 1000, 1000, 1000, 1600, 1600, 1800, 1800}));
    EXPECT_EQ(std::make_pair(input.keyState(KEY_COUNT), input.keyState(0xFFFF)),
              std::make_pair(KEYSTATE_UP, KEYSTATE_UP));
}

TEST_F(InputPoll,
       MouseMovesAreAcceleratedScaledAndClampedIntoTheCursorWheelNotchesCountAndPressesRecordTheSums) {
    input.setCursorBounds(631, 471, 0, 0);  // the corners in either order
    EXPECT_EQ(std::make_pair(input.cursorX, input.cursorY), std::make_pair(320, 240))
        << "where the pointer was at init, until the first mouse read";
    // Sensitivity, counts on each axis, the movement; the last two pass the bounds, which hold only the
    // cursor.
    const std::tuple<float, int, int> moves[] = {
        {1.0f, 0, 0},  {1.0f, 1, 1},   {1.0f, 2, 2},     {1.0f, 3, 4},        {1.0f, 4, 6}, {1.0f, 5, 7},
        {1.0f, 6, 9},  {1.0f, 7, 14},  {1.0f, -4, -6},   {1.0f, -3, -4},      {0.5f, 3, 2}, {0.5f, 1, 0},
        {0.5f, -1, 0}, {0.5f, -7, -7}, {1.0f, 400, 800}, {1.0f, -2000, -4000}};
    int sum = 0;
    for (const auto& [sensitivity, counts, delta] : moves) {
        SCOPED_TRACE(testing::Message() << counts << " x " << sensitivity);
        input.mouseSensitivity = sensitivity;
        fake::moveMouse(counts, -counts);
        ASSERT_EQ(input.poll(), DI_OK);
        EXPECT_EQ(std::make_pair(input.mouseDeltaX, input.mouseDeltaY), std::make_pair(delta, -delta));
        sum += delta;
        EXPECT_EQ(std::make_tuple(input.mouseSumX, input.mouseSumY, input.cursorX, input.cursorY),
                  std::make_tuple(sum, -sum, std::clamp(320 + sum, 0, 630), std::clamp(240 - sum, 0, 470)));
    }

    // The keyboard is read before the mouse: a key sees the sums of the previous poll, a button the new ones.
    fake::moveMouse(1, 1);
    fake::pressKey(DIK_A);
    fake::setMouseButton(0, true);
    input.poll();
    const KeyPressPosition key = input.pressPositions[97], button = input.pressPositions[KEY_MOUSE_LEFT];
    EXPECT_EQ(std::make_tuple(key.x, key.y, button.x, button.y),
              std::make_tuple(sum, -sum, sum + 1, 1 - sum));

    // A read's turn, then forward, backward and each way's notches, which keep while idle and hold 8 bits.
    const std::pair<plat::LONG, std::vector<int>> turns[] = {
        {60, {1, 0, 0, 0}}, {240, {1, 0, 2, 0}},        {-360, {0, 1, 2, 3}},
        {0, {0, 0, 2, 3}},  {300 * 120, {1, 0, 44, 3}}, {INT32_MIN, {0, 1, 44, 17}}};
    for (const auto& [turn, after] : turns) {
        fake::turnWheel(turn);
        input.poll();
        EXPECT_EQ((std::vector<int>{input.wheelForward, input.wheelBackward, input.wheelForwardNotches,
                                    input.wheelBackwardNotches}),
                  after)
            << turn;
    }
}

TEST_F(InputPoll, JoystickDeflectionMovesItsPositionEveryPollAfterTheOtherDevicesAreReadAndNothingOverflows) {
    const fake::InputState& state = fake::input();
    fake::setJoystickAxes(500, -250);
    fake::setJoystickButton(0, true);
    fake::setJoystickButton(9, true);
    input.poll();
    // Whole replayed runs show that a steady frame allocates nothing, but on a machine without a joystick.
    EXPECT_EQ(testsupport::allocationsDuring([this] { input.poll(); }), 0u);
    EXPECT_EQ(std::make_tuple(input.joystickX, input.joystickY, input.joystickDeltaX),
              std::make_tuple(1000, -500, 500));
    EXPECT_EQ(std::make_pair(input.keyState(KEY_JOY_BUTTON_0), input.keyState(269)),
              std::make_pair(KEYSTATE_HELD, KEYSTATE_HELD));
    EXPECT_EQ(state.joystickDevice.pollCalls + state.joystickDevice.readCalls, 4)
        << "polled, then read, each time";
    EXPECT_LT(state.keyboardDevice.lastReadSequence, state.mouseDevice.lastReadSequence);
    EXPECT_LT(state.mouseDevice.lastReadSequence, state.joystickDevice.lastReadSequence);

    // Unbounded rectangles: a stick held aside for hours must neither overflow nor jump to the other side.
    fake::setJoystickAxes(1000, -1000);
    input.joystickX = INT32_MAX - 1500;
    input.joystickY = INT32_MIN + 1500;
    input.joystickSumX = INT32_MAX - 500;
    input.poll();
    input.poll();
    EXPECT_EQ(std::make_tuple(input.joystickX, input.joystickY, input.joystickSumX),
              std::make_tuple(INT32_MAX - 1, INT32_MIN, INT32_MIN + 1499));
    fake::moveMouse(INT32_MAX, INT32_MIN);  // doubled by the acceleration, beyond 32 bits
    input.poll();
    EXPECT_EQ(std::make_pair(input.mouseDeltaX, input.mouseDeltaY), std::make_pair(INT32_MAX, INT32_MIN));
}

// Each keyboard key feeds one named code that stands for it again, and only fed codes ever change.
TEST_F(InputPoll, KeyTablesFeedEachKeyboardKeyOneNamedCodeThatStandsForItAgain) {
    constexpr std::uint32_t KEY_PRINT_SCREEN = 175;  // fed by its key, yet it stands for no key
    std::set<std::uint32_t> changing = {KEY_MOUSE_LEFT, KEY_MOUSE_RIGHT, KEY_MOUSE_MIDDLE};
    for (std::uint32_t dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik) {
        fake::pressKey(static_cast<std::uint8_t>(dik));
        const std::uint32_t code = input.dikToKey[dik];
        if (code == 0) continue;
        EXPECT_TRUE(changing.insert(code).second) << "code " << code << " fed twice";
        EXPECT_STRNE(input.keyNames[code], "") << code;
        EXPECT_EQ(input.keyToDik[code], code == KEY_PRINT_SCREEN ? 0 : dik) << code;
    }
    // Every key but the gaps of the PC keyboard, the Japanese keys, Pause, Windows and Apps; three buttons.
    EXPECT_EQ(changing.size(), 100u + MOUSE_BUTTONS_READ);

    for (int button = 0; button < 4; ++button)
        fake::setMouseButton(button, true);
    ASSERT_EQ(input.poll(), DI_OK);
    for (std::uint16_t code = 0; code < KEY_COUNT; ++code)
        EXPECT_EQ(input.keyState(code) != KEYSTATE_UP, changing.count(code) == 1) << code;
}
