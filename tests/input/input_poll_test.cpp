// What a poll makes of the devices: the key state machine, the cursor, the wheel, the joystick.
#include <gtest/gtest.h>

#include <array>
#include <memory>
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
        input = std::make_unique<InputSystem>();
        ASSERT_EQ(input->init(nullptr, fake::fakeWindowHandle()), DI_OK);
    }

    std::uint16_t pollAndRead(std::uint16_t code) {
        EXPECT_EQ(input->poll(), DI_OK);
        return input->keyState(code);
    }

    std::unique_ptr<InputSystem> input;
};

}  // namespace

TEST_F(InputPoll, KeyGoesThroughPressedHeldReleasedUp) {
    std::vector<std::uint16_t> states;
    fake::pressKey(DIK_ESCAPE);
    for (int i = 0; i < 4; ++i)
        states.push_back(pollAndRead(KEY_ESC));
    fake::releaseKey(DIK_ESCAPE);
    for (int i = 0; i < 2; ++i)
        states.push_back(pollAndRead(KEY_ESC));
    EXPECT_EQ(states, (std::vector<std::uint16_t>{2, 3, 3, 3, 1, 0}));
    EXPECT_EQ(input->keyState(270), KEYSTATE_UP);
    EXPECT_EQ(input->keyState(0xFFFF), KEYSTATE_UP);
}

TEST_F(InputPoll, PressRightAfterReleaseIsANewPress) {
    fake::system().milliseconds = 1000;
    fake::pressKey(DIK_F1);
    pollAndRead(KEY_F1);
    EXPECT_EQ(input->pressTimes[KEY_F1], 1000u);
    fake::releaseKey(DIK_F1);
    EXPECT_EQ(pollAndRead(KEY_F1), KEYSTATE_RELEASED);
    fake::system().milliseconds = 1500;
    fake::pressKey(DIK_F1);
    EXPECT_EQ(pollAndRead(KEY_F1), KEYSTATE_PRESSED);
    EXPECT_EQ(input->pressTimes[KEY_F1], 1500u);
    fake::system().milliseconds = 1600;
    EXPECT_EQ(pollAndRead(KEY_F1), KEYSTATE_HELD);
    EXPECT_EQ(input->pressTimes[KEY_F1], 1500u);
}

TEST_F(InputPoll, ReleaseAndPressBetweenTwoReadsIsNeverSeen) {
    std::array<std::uint8_t, 256> down{};
    down[DIK_SPACE] = 0x80;
    fake::input().keyboardQueue = {down, down};
    EXPECT_EQ(pollAndRead(32), KEYSTATE_PRESSED);
    EXPECT_EQ(pollAndRead(32), KEYSTATE_HELD);
}

TEST_F(InputPoll, KeyboardReacquisitionMakesHeldKeysPressedAgain) {
    fake::pressKey(DIK_ESCAPE);
    pollAndRead(KEY_ESC);
    EXPECT_EQ(pollAndRead(KEY_ESC), KEYSTATE_HELD);
    fake::loseFocus();
    EXPECT_EQ(input->poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input->keyState(KEY_ESC), KEYSTATE_UP);
    // The keyboard reads again; the mouse and the joystick, lost too, come back one poll each.
    EXPECT_EQ(input->poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input->keyState(KEY_ESC), KEYSTATE_PRESSED);
    EXPECT_EQ(input->poll(), DIERR_NOTACQUIRED);
    EXPECT_EQ(input->keyState(KEY_ESC), KEYSTATE_HELD);
    EXPECT_EQ(input->poll(), DI_OK);
}

TEST_F(InputPoll, MouseMovementIsAccelerated) {
    const int moves[] = {0, 1, 2, 3, 4, 5, 6, 7, -4};
    std::vector<int> deltas;
    for (int move : moves) {
        fake::moveMouse(move, -move);
        ASSERT_EQ(input->poll(), DI_OK);
        std::int32_t dx = 0, dy = 0;
        input->getMouseDelta(&dx, &dy);
        EXPECT_EQ(dy, -dx);
        deltas.push_back(dx);
    }
    EXPECT_EQ(deltas, (std::vector<int>{0, 1, 2, 4, 6, 7, 9, 14, -6}));
    EXPECT_EQ(input->mouseSumX, 37);
    EXPECT_EQ(input->mouseSumY, -37);
}

TEST_F(InputPoll, SensitivityScalesAfterAccelerationTowardZero) {
    input->mouseSensitivity = 0.5f;
    fake::moveMouse(3, -3);  // 4 after acceleration, then 2
    input->poll();
    EXPECT_EQ(input->mouseDeltaX, 2);
    EXPECT_EQ(input->mouseDeltaY, -2);
    fake::moveMouse(1, -1);
    input->poll();
    EXPECT_EQ(input->mouseDeltaX, 0);
    EXPECT_EQ(input->mouseDeltaY, 0);
}

TEST_F(InputPoll, CursorIsClampedButDeltaIsNot) {
    input->setCursorBounds(0, 0, 631, 471);
    std::int32_t x = 0, y = 0;
    input->getCursor(&x, &y);
    EXPECT_EQ(x, 320);  // where the pointer was at init, until the first mouse read
    EXPECT_EQ(y, 240);
    fake::moveMouse(400, 300);
    input->poll();
    input->getCursor(&x, &y);
    EXPECT_EQ(x, 630);
    EXPECT_EQ(y, 470);
    EXPECT_EQ(input->mouseDeltaX, 800);
    EXPECT_EQ(input->mouseDeltaY, 600);
    fake::moveMouse(-2000, -2000);
    input->poll();
    input->getCursor(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(input->mouseDeltaX, -4000);
    EXPECT_EQ(input->mouseSumX, 800 - 4000);

    input->setCursorBounds(631, 471, 0, 0);
    EXPECT_EQ(input->mouseMinX, 0);
    EXPECT_EQ(input->mouseMaxX, 631);
    EXPECT_EQ(input->mouseMinY, 0);
    EXPECT_EQ(input->mouseMaxY, 471);
}

TEST_F(InputPoll, PositionsAndSumsSurviveEndlessMovement) {
    // Unbounded rectangles: a stick held aside for hours must neither overflow nor jump to the other side.
    fake::setJoystickAxes(1000, -1000);
    input->joystickX = INT32_MAX - 1500;
    input->joystickY = INT32_MIN + 1500;
    input->joystickSumX = INT32_MAX - 500;
    input->poll();
    input->poll();
    EXPECT_EQ(input->joystickX, INT32_MAX - 1);
    EXPECT_EQ(input->joystickY, INT32_MIN);
    EXPECT_EQ(input->joystickSumX, INT32_MIN + 1499);
    fake::moveMouse(INT32_MAX, INT32_MIN);  // doubled by the acceleration, beyond 32 bits
    input->poll();
    EXPECT_EQ(input->mouseDeltaX, INT32_MAX);
    EXPECT_EQ(input->mouseDeltaY, INT32_MIN);
}

TEST_F(InputPoll, WheelCountsNotchesOfItsDirection) {
    fake::turnWheel(60);
    input->poll();
    EXPECT_EQ(input->wheelForward, 1);
    EXPECT_EQ(input->wheelBackward, 0);
    EXPECT_EQ(input->wheelForwardNotches, 0);
    fake::turnWheel(240);
    input->poll();
    EXPECT_EQ(input->wheelForward, 1);
    EXPECT_EQ(input->wheelForwardNotches, 2);
    fake::turnWheel(-360);
    input->poll();
    EXPECT_EQ(input->wheelForward, 0);
    EXPECT_EQ(input->wheelBackward, 1);
    EXPECT_EQ(input->wheelBackwardNotches, 3);
    EXPECT_EQ(input->wheelForwardNotches, 2);
    input->poll();
    EXPECT_EQ(input->wheelForward, 0);
    EXPECT_EQ(input->wheelBackward, 0);
    EXPECT_EQ(input->wheelBackwardNotches, 3);
}

TEST_F(InputPoll, ButtonsRecordWhereTheMouseWas) {
    fake::moveMouse(2, 1);
    input->poll();
    fake::moveMouse(1, 1);
    fake::pressKey(DIK_A);
    fake::setMouseButton(0, true);
    fake::setMouseButton(3, true);
    input->poll();
    EXPECT_EQ(input->keyState(KEY_MOUSE_LEFT), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(KEY_MOUSE_RIGHT), KEYSTATE_UP);
    EXPECT_EQ(input->keyState(259), KEYSTATE_UP);
    // The keyboard is read before the mouse: a key sees the sums of the previous poll, a button the new ones.
    EXPECT_EQ(input->pressPositions[97].x, 2);
    EXPECT_EQ(input->pressPositions[97].y, 1);
    EXPECT_EQ(input->pressPositions[KEY_MOUSE_LEFT].x, 3);
    EXPECT_EQ(input->pressPositions[KEY_MOUSE_LEFT].y, 2);
}

TEST_F(InputPoll, JoystickDeflectionMovesItsPosition) {
    EXPECT_EQ(fake::input().axisX.min, -1000);
    EXPECT_EQ(fake::input().axisY.max, 1000);
    EXPECT_EQ(fake::input().axisX.deadZone, 1000u);
    EXPECT_EQ(fake::input().axisY.deadZone, 1000u);
    EXPECT_EQ(input->joystickSubtype, 4);
    fake::setJoystickAxes(500, -250);
    fake::setJoystickButton(0, true);
    fake::setJoystickButton(9, true);
    fake::setJoystickButton(10, true);
    input->poll();
    input->poll();
    EXPECT_EQ(input->joystickX, 1000);
    EXPECT_EQ(input->joystickY, -500);
    EXPECT_EQ(input->joystickDeltaX, 500);
    EXPECT_EQ(input->keyState(260), KEYSTATE_HELD);
    EXPECT_EQ(input->keyState(269), KEYSTATE_HELD);
    EXPECT_EQ(fake::input().joystickDevice.pollCalls, 2);
}

TEST_F(InputPoll, ReadsKeyboardMouseThenJoystick) {
    input->poll();
    const fake::InputState& state = fake::input();
    EXPECT_LT(state.keyboardDevice.lastReadSequence, state.mouseDevice.lastReadSequence);
    EXPECT_LT(state.mouseDevice.lastReadSequence, state.joystickDevice.lastReadSequence);
    EXPECT_EQ(state.keyboardDevice.readCalls, 1);
    EXPECT_EQ(state.mouseDevice.readCalls, 1);
    EXPECT_EQ(state.joystickDevice.readCalls, 1);
}

TEST_F(InputPoll, AllocatesNothing) {
    fake::pressKey(DIK_A);
    fake::setMouseButton(1, true);
    fake::setJoystickButton(2, true);
    input->poll();  // the first poll after init, as in the game
    const std::size_t allocations = testsupport::allocationsDuring([this] {
        for (int i = 0; i < 100; ++i) {
            fake::moveMouse(i % 9 - 4, 3);
            fake::turnWheel(120);
            if (i % 2)
                fake::pressKey(DIK_F12);
            else
                fake::releaseKey(DIK_F12);
            input->poll();
            input->keyState(KEY_F12);
        }
    });
    EXPECT_EQ(allocations, 0u);
    // The count is real: the same loop with a lost keyboard re-acquires it, which the fake records.
    fake::loseFocus();
    EXPECT_GT(testsupport::allocationsDuring([this] { input->poll(); }), 0u);
}
