// What a poll makes of the devices: the key state machine, the cursor, the wheel, the joystick.
#include <gtest/gtest.h>

#include <cstdint>
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

    std::pair<int, int> cursor() const {
        std::int32_t x = 0, y = 0;
        input.getCursor(&x, &y);
        return {x, y};
    }

    std::pair<int, int> mouseDelta() const {
        std::int32_t x = 0, y = 0;
        input.getMouseDelta(&x, &y);
        return {x, y};
    }

    std::uint16_t pollAndRead(std::uint16_t code) {
        EXPECT_EQ(input.poll(), DI_OK);
        return input.keyState(code);
    }

    InputSystem input;
};

}  // namespace

TEST_F(InputPoll, KeyStatesFollowTheSamplesAndPressesAreTimed) {
    // Held over four polls, released, and down again at the poll right after a release: a new press.
    const char samples[] = "DDDDuuDuDD";
    std::vector<std::uint16_t> states;
    std::vector<DWORD> pressTimes;
    for (int i = 0; samples[i] != '\0'; ++i) {
        fake::system().milliseconds = static_cast<DWORD>(1000 + 100 * i);
        if (samples[i] == 'D')
            fake::pressKey(DIK_F1);
        else
            fake::releaseKey(DIK_F1);
        states.push_back(pollAndRead(KEY_F1));
        pressTimes.push_back(input.pressTimes[KEY_F1]);
    }
    EXPECT_EQ(states, (std::vector<std::uint16_t>{2, 3, 3, 3, 1, 0, 2, 1, 2, 3}));
    EXPECT_EQ(pressTimes, (std::vector<DWORD>{1000, 1000, 1000, 1000, 1000, 1000, 1600, 1600, 1800, 1800}));
    EXPECT_EQ(input.keyState(KEY_COUNT), KEYSTATE_UP);
    EXPECT_EQ(input.keyState(0xFFFF), KEYSTATE_UP);
}

TEST_F(InputPoll, KeyboardReacquisitionMakesHeldKeysPressedAgain) {
    fake::pressKey(DIK_ESCAPE);
    pollAndRead(KEY_ESC);
    EXPECT_EQ(pollAndRead(KEY_ESC), KEYSTATE_HELD);
    fake::loseFocus();
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_UP);
    // The keyboard reads again; the mouse and the joystick, lost too, come back one poll each.
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_PRESSED);
    EXPECT_EQ(input.poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_HELD);
    EXPECT_EQ(input.poll(), DI_OK);
}

TEST_F(InputPoll, MouseMovementIsAcceleratedThenScaledTowardZero) {
    struct Move {
        float sensitivity;
        int counts;
        int delta;
    };
    const Move moves[] = {{1.0f, 0, 0}, {1.0f, 1, 1}, {1.0f, 2, 2},  {1.0f, 3, 4},   {1.0f, 4, 6},
                          {1.0f, 5, 7}, {1.0f, 6, 9}, {1.0f, 7, 14}, {1.0f, -4, -6}, {1.0f, -3, -4},
                          {0.5f, 3, 2}, {0.5f, 1, 0}, {0.5f, -1, 0}, {0.5f, -7, -7}};
    int sum = 0;
    for (const Move& move : moves) {
        SCOPED_TRACE(testing::Message() << move.counts << " x " << move.sensitivity);
        input.mouseSensitivity = move.sensitivity;
        fake::moveMouse(move.counts, -move.counts);
        ASSERT_EQ(input.poll(), DI_OK);
        EXPECT_EQ(mouseDelta(), std::make_pair(move.delta, -move.delta));
        sum += move.delta;
    }
    EXPECT_EQ(input.mouseSumX, sum);
    EXPECT_EQ(input.mouseSumY, -sum);
}

TEST_F(InputPoll, CursorIsClampedButDeltaIsNot) {
    input.setCursorBounds(631, 471, 0, 0);  // the corners in either order
    EXPECT_EQ(cursor(), std::make_pair(320, 240))
        << "where the pointer was at init, until the first mouse read";
    fake::moveMouse(400, 300);
    input.poll();
    EXPECT_EQ(cursor(), std::make_pair(630, 470));
    EXPECT_EQ(mouseDelta(), std::make_pair(800, 600));
    fake::moveMouse(-2000, -2000);
    input.poll();
    EXPECT_EQ(cursor(), std::make_pair(0, 0));
    EXPECT_EQ(mouseDelta(), std::make_pair(-4000, -4000));
    EXPECT_EQ(input.mouseSumX, 800 - 4000);
}

TEST_F(InputPoll, PositionsAndSumsSurviveEndlessMovement) {
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
    EXPECT_EQ(mouseDelta(), std::make_pair(INT32_MAX, INT32_MIN));
}

TEST_F(InputPoll, WheelCountsNotchesOfItsDirection) {
    // The turn of a read, then: forward, backward, forward notches, backward notches. Each notch count keeps
    // its value while the wheel turns the other way or rests, and holds 8 bits.
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

TEST_F(InputPoll, ButtonsRecordWhereTheMouseWas) {
    fake::moveMouse(2, 1);
    input.poll();
    fake::moveMouse(1, 1);
    fake::pressKey(DIK_A);
    fake::setMouseButton(0, true);
    fake::setMouseButton(3, true);
    input.poll();
    EXPECT_EQ(input.keyState(KEY_MOUSE_LEFT), KEYSTATE_PRESSED);
    EXPECT_EQ(input.keyState(KEY_MOUSE_RIGHT), KEYSTATE_UP);
    EXPECT_EQ(input.keyState(259), KEYSTATE_UP);
    // The keyboard is read before the mouse: a key sees the sums of the previous poll, a button the new ones.
    const KeyPressPosition key = input.pressPositions[97], button = input.pressPositions[KEY_MOUSE_LEFT];
    EXPECT_EQ(std::make_pair(key.x, key.y), std::make_pair(2, 1));
    EXPECT_EQ(std::make_pair(button.x, button.y), std::make_pair(3, 2));
}

TEST_F(InputPoll, JoystickDeflectionMovesItsPositionEveryPollAfterTheOtherDevicesAreRead) {
    const fake::InputState& state = fake::input();
    for (const fake::JoystickAxisProperties& axis : {state.axisX, state.axisY}) {
        EXPECT_EQ(std::make_tuple(axis.min, axis.max, axis.deadZone), std::make_tuple(-1000, 1000, 1000u));
    }
    EXPECT_EQ(input.joystickSubtype, 4);
    fake::setJoystickAxes(500, -250);
    fake::setJoystickButton(0, true);
    fake::setJoystickButton(9, true);
    fake::setJoystickButton(10, true);
    input.poll();
    input.poll();
    EXPECT_EQ(std::make_tuple(input.joystickX, input.joystickY, input.joystickDeltaX),
              std::make_tuple(1000, -500, 500));
    EXPECT_EQ(input.keyState(KEY_JOY_BUTTON_0), KEYSTATE_HELD);
    EXPECT_EQ(input.keyState(269), KEYSTATE_HELD);
    EXPECT_EQ(state.joystickDevice.pollCalls + state.joystickDevice.readCalls, 4)
        << "polled, then read, each time";
    EXPECT_LT(state.keyboardDevice.lastReadSequence, state.mouseDevice.lastReadSequence);
    EXPECT_LT(state.mouseDevice.lastReadSequence, state.joystickDevice.lastReadSequence);
}

TEST_F(InputPoll, AllocatesNothing) {
    fake::pressKey(DIK_A);
    fake::setMouseButton(1, true);
    fake::setJoystickButton(2, true);
    input.poll();  // the first poll after init, as in the game
    const std::size_t allocations = testsupport::allocationsDuring([this] {
        for (int i = 0; i < 100; ++i) {
            fake::moveMouse(i % 9 - 4, 3);
            fake::turnWheel(120);
            fake::input().keys[DIK_F12] =
                static_cast<std::uint8_t>(i % 2 * 0x80);  // F12 down every other poll
            input.poll();
            input.keyState(KEY_F12);
        }
    });
    EXPECT_EQ(allocations, 0u);
    // The count is real: the same loop with a lost keyboard re-acquires it, which the fake records.
    fake::loseFocus();
    EXPECT_GT(testsupport::allocationsDuring([this] { input.poll(); }), 0u);
}
