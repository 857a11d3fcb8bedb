// The SDL2 input devices, driven through SDL itself: events pushed into its queue and a virtual joystick.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <memory>
#include <tuple>
#include <vector>

#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/input.h"
#include "platform/sdl2/sdl_backend.h"
#include "platform/sdl2/sdl_input_internal.h"
#include "platform/window.h"
#include "support/gl_window.h"

namespace {

// Hands everything SDL has queued to the backend, as the engine's message pump does.
void pump() {
    plat::Message message{};
    while (plat::peekMessage(&message))
        plat::dispatchMessage(message);
}

void push(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void pushWindowEvent(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(what);
    event.window.windowID = SDL_GetWindowID(sdl2::mainWindow());
    push(event);
}

void pushKey(SDL_Scancode scancode, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    push(event);
}

void pushMotion(Sint32 dx, Sint32 dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    push(event);
}

void pushWheel(float notches, bool flipped) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.preciseY = notches;
    event.wheel.y = static_cast<Sint32>(notches);
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    push(event);
}

void pushButton(Uint8 button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    push(event);
}

class SdlInput : public testing::Test {
protected:
    static void SetUpTestSuite() {
        REQUIRE_GL_WINDOW();
        // Without a window manager the focus is given, not taken.
        for (int attempt = 0; attempt < 200 && SDL_GetKeyboardFocus() != sdl2::mainWindow(); ++attempt) {
            plat::setFocus(g_hWnd);
            pump();
            SDL_Delay(10);
        }
        ASSERT_EQ(SDL_GetKeyboardFocus(), sdl2::mainWindow());
    }

    void SetUp() override {
        pump();
        input = std::make_unique<InputSystem>();
        ASSERT_EQ(input->init(nullptr, g_hWnd), DI_OK);
        ASSERT_EQ(std::make_tuple(input->keyboardAcquired, input->mouseAcquired), std::make_tuple(1, 1));
    }

    HRESULT pumpAndPoll() {
        pump();
        return input->poll();
    }

    std::unique_ptr<InputSystem> input;
};

}  // namespace

TEST_F(SdlInput, EveryMappedScancodeSetsItsKeyboardKeyOnly) {
    std::uint8_t snapshot[KEYBOARD_STATE_SIZE];
    for (int i = 0; i < sdl2::SCANCODE_KEY_COUNT; ++i) {
        const sdl2::ScancodeKey key = sdl2::SCANCODE_KEYS[i];
        pushKey(key.scancode, true);
        pump();
        ASSERT_EQ(plat::getDeviceState(input->keyboard, sizeof(snapshot), snapshot), DI_OK);
        for (int dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik) {
            ASSERT_EQ(snapshot[dik], dik == key.dik ? 0x80 : 0)
                << SDL_GetScancodeName(key.scancode) << " " << dik;
        }
        pushKey(key.scancode, false);
        pump();
        ASSERT_EQ(plat::getDeviceState(input->keyboard, sizeof(snapshot), snapshot), DI_OK);
        EXPECT_EQ(snapshot[key.dik], 0) << SDL_GetScancodeName(key.scancode);
    }
}

TEST_F(SdlInput, GameKeysReachTheirCodesFocusLossMakesHeldKeysPressedAgainAndMinimisingDeactivates) {
    const SDL_Scancode scancodes[] = {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_F12, SDL_SCANCODE_KP_7,
                                      SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_RCTRL};
    const std::uint16_t codes[] = {KEY_ESC, KEY_F12, 169, 175, 131};  // ... NUM 7, PRINT SCRN, RIGHT CTRL
    const auto statesAfterPoll = [this, &codes](HRESULT result) {
        EXPECT_EQ(pumpAndPoll(), result);
        std::vector<std::uint16_t> states;
        for (const std::uint16_t code : codes)
            states.push_back(input->keyState(code));
        return states;
    };
    const auto all = [count = std::size(codes)](std::uint16_t state) {
        return std::vector<std::uint16_t>(count, state);
    };
    for (const SDL_Scancode scancode : scancodes)
        pushKey(scancode, true);
    EXPECT_EQ(statesAfterPoll(DI_OK), all(KEYSTATE_PRESSED));
    EXPECT_EQ(statesAfterPoll(DI_OK), all(KEYSTATE_HELD));
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(statesAfterPoll(DIERR_INPUTLOST), all(KEYSTATE_UP));
    EXPECT_EQ(statesAfterPoll(DIERR_INPUTLOST), all(KEYSTATE_PRESSED)) << "the mouse's turn to come back";
    EXPECT_EQ(statesAfterPoll(DI_OK), all(KEYSTATE_HELD));
    for (const SDL_Scancode scancode : scancodes)
        pushKey(scancode, false);
    EXPECT_EQ(statesAfterPoll(DI_OK), all(KEYSTATE_RELEASED));
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);  // the engine's window counts as active again
    pump();
    EXPECT_TRUE(g_display.active);
    // Minimised, the loop stops acting on the state until the window is restored.
    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    pump();
    EXPECT_FALSE(g_display.active);
    pushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    pump();
    EXPECT_TRUE(g_display.active);
}

TEST_F(SdlInput, MouseReportsMotionWheelAndButtonsSinceTheLastRead) {
    pushMotion(2, 1);
    pushMotion(1, -4);
    pushWheel(2.0f, false);
    pushButton(SDL_BUTTON_RIGHT, true);
    ASSERT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(std::make_tuple(input->mouseDeltaX, input->mouseDeltaY), std::make_tuple(4, -4))
        << "3, accelerated";
    EXPECT_EQ(std::make_tuple(input->wheelForward, input->wheelForwardNotches), std::make_tuple(1, 2));
    EXPECT_EQ(input->keyState(KEY_MOUSE_RIGHT), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(KEY_MOUSE_LEFT), KEYSTATE_UP);

    pushWheel(3.0f, true);
    pushButton(SDL_BUTTON_RIGHT, false);
    ASSERT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(input->mouseDeltaX, 0);
    EXPECT_EQ(std::make_tuple(input->wheelBackward, input->wheelBackwardNotches), std::make_tuple(1, 3));
    EXPECT_EQ(input->keyState(KEY_MOUSE_RIGHT), KEYSTATE_RELEASED);
}

// A stick is scaled with its dead zone; pulled out during play, the read that finds it gone fails once and
// drops it, nothing it held stays held, and the keyboard and the mouse go on.
TEST_F(SdlInput, VirtualJoystickIsScaledWithItsDeadZoneAndDroppedWhenPulledOut) {
    input.reset();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* virtualStick = SDL_JoystickOpen(index);
    ASSERT_NE(virtualStick, nullptr);

    input = std::make_unique<InputSystem>();
    ASSERT_EQ(input->init(nullptr, g_hWnd), DI_OK);
    ASSERT_NE(input->joystick, nullptr);
    EXPECT_EQ(input->joystickAcquired, 1);
    EXPECT_EQ(input->joystickSubtype, static_cast<std::int32_t>(DIDEVTYPEJOYSTICK_GAMEPAD));

    SDL_JoystickSetVirtualAxis(virtualStick, 0, 16384);   // half way: beyond the dead zone, scaled past it
    SDL_JoystickSetVirtualAxis(virtualStick, 1, -32768);  // all the way
    for (const int button : {0, 9, 11})
        SDL_JoystickSetVirtualButton(virtualStick, button, 1);
    ASSERT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(std::make_tuple(input->joystickDeltaX, input->joystickDeltaY), std::make_tuple(444, -1000));
    EXPECT_EQ(input->keyState(KEY_JOY_BUTTON_0), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(269), KEYSTATE_PRESSED);

    SDL_JoystickSetVirtualAxis(virtualStick, 0, 3000);  // inside the 10 % dead zone
    SDL_JoystickSetVirtualAxis(virtualStick, 1, 32767);
    SDL_JoystickSetVirtualButton(virtualStick, 0, 0);
    ASSERT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(std::make_tuple(input->joystickDeltaX, input->joystickDeltaY, input->joystickX),
              std::make_tuple(0, 1000, 444));
    EXPECT_EQ(input->keyState(KEY_JOY_BUTTON_0), KEYSTATE_RELEASED);

    SDL_JoystickClose(virtualStick);
    SDL_JoystickDetachVirtual(index);
    EXPECT_EQ(pumpAndPoll(), DIERR_INPUTLOST);
    EXPECT_EQ(input->joystickAcquired, 0);
    EXPECT_EQ(input->keyState(269), KEYSTATE_UP) << "a button of a joystick that is gone";
    EXPECT_EQ(input->joystickDeltaY, 0);
    pushKey(SDL_SCANCODE_ESCAPE, true);
    pushMotion(4, 0);
    EXPECT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(input->keyState(KEY_ESC), KEYSTATE_PRESSED);
    EXPECT_NE(input->mouseDeltaX, 0);
    pushKey(SDL_SCANCODE_ESCAPE, false);
    pump();

    input.reset();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
