// The SDL2 input devices, driven through SDL itself: events pushed into its queue and a virtual joystick.
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "graphics/display.h"
#include "input/input_system.h"
#include "platform/input.h"
#include "platform/sdl2/sdl_backend.h"
#include "platform/window.h"
#include "support/gl_window.h"

namespace {

// Hands everything SDL has queued to the backend, as the engine's message pump does.
void pump() {
    plat::Message message{};
    while (plat::peekMessage(&message))
        plat::dispatchMessage(message);
}

// Queues an event of `type` whose other fields `fill` sets.
template <typename Fill>
void push(Uint32 type, Fill fill) {
    SDL_Event event{};
    event.type = type;
    fill(event);
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

void pushWindowEvent(SDL_WindowEventID what) {
    push(SDL_WINDOWEVENT, [what](SDL_Event& e) {
        e.window.event = static_cast<Uint8>(what);
        e.window.windowID = SDL_GetWindowID(sdl2::mainWindow());
    });
}

void pushKey(SDL_Scancode scancode, bool down) {
    push(down ? SDL_KEYDOWN : SDL_KEYUP, [&](SDL_Event& e) {
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = scancode;
    });
}

void pushMotion(Sint32 dx, Sint32 dy) {
    push(SDL_MOUSEMOTION,
         [&](SDL_Event& e) { std::tie(e.motion.xrel, e.motion.yrel) = std::make_tuple(dx, dy); });
}

void pushWheel(float notches, bool flipped) {
    push(SDL_MOUSEWHEEL, [&](SDL_Event& e) {
        e.wheel.preciseY = notches;
        e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    });
}

void pushButton(Uint8 button, bool down) {
    push(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP, [&](SDL_Event& e) {
        e.button.button = button;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    });
}

}  // namespace

// One walk through the devices as the engine's frames read them, with a virtual stick attached.
TEST(SdlInput,
     KeysMouseAndStickAreReadFocusLossPressesHeldKeysAgainMinimisingDeactivatesAPulledStickIsDropped) {
    REQUIRE_GL_WINDOW();
    while (SDL_GetKeyboardFocus() != sdl2::mainWindow()) {  // without a window manager it is given, not taken
        plat::setFocus(g_hWnd);
        pump();
        SDL_Delay(10);
    }
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 12, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* virtualStick = SDL_JoystickOpen(index);
    ASSERT_NE(virtualStick, nullptr);
    pump();
    auto input = std::make_unique<InputSystem>();
    ASSERT_EQ(input->init(nullptr, g_hWnd), DI_OK);
    ASSERT_NE(input->joystick, nullptr);
    EXPECT_EQ(std::make_tuple(input->joystickAcquired, input->joystickSubtype),
              std::make_tuple(1, static_cast<std::int32_t>(DIDEVTYPEJOYSTICK_GAMEPAD)));
    const auto pumpAndPoll = [&input] {
        pump();
        return input->poll();
    };

    // The stick is scaled with its dead zone; the mouse's moves of a frame are summed.
    SDL_JoystickSetVirtualAxis(virtualStick, 0, 16384);   // half way: beyond the dead zone, scaled past it
    SDL_JoystickSetVirtualAxis(virtualStick, 1, -32768);  // all the way
    for (const int button : {0, 9, 11})
        SDL_JoystickSetVirtualButton(virtualStick, button, 1);
    pushMotion(2, 1);
    pushMotion(1, -4);
    pushWheel(2.0f, false);
    pushButton(SDL_BUTTON_RIGHT, true);
    ASSERT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(std::make_tuple(input->joystickDeltaX, input->joystickDeltaY), std::make_tuple(444, -1000));
    EXPECT_EQ(std::make_tuple(input->mouseDeltaX, input->mouseDeltaY), std::make_tuple(4, -4))
        << "3, accelerated";
    EXPECT_EQ(std::make_tuple(input->wheelForward, input->wheelForwardNotches), std::make_tuple(1, 2));
    EXPECT_EQ(
        (std::vector<std::uint16_t>{input->keyState(KEY_JOY_BUTTON_0), input->keyState(269),
                                    input->keyState(KEY_MOUSE_RIGHT), input->keyState(KEY_MOUSE_LEFT)}),
        (std::vector<std::uint16_t>{KEYSTATE_PRESSED, KEYSTATE_PRESSED, KEYSTATE_PRESSED, KEYSTATE_UP}));

    SDL_JoystickSetVirtualAxis(virtualStick, 0, 3000);  // inside the 10 % dead zone
    SDL_JoystickSetVirtualAxis(virtualStick, 1, 32767);
    SDL_JoystickSetVirtualButton(virtualStick, 0, 0);
    pushWheel(3.0f, true);
    pushButton(SDL_BUTTON_RIGHT, false);
    ASSERT_EQ(pumpAndPoll(), DI_OK);
    EXPECT_EQ(std::make_tuple(input->joystickDeltaX, input->joystickDeltaY, input->joystickX),
              std::make_tuple(0, 1000, 444));
    EXPECT_EQ(std::make_tuple(input->mouseDeltaX, input->wheelBackward, input->wheelBackwardNotches),
              std::make_tuple(0, 1, 3));
    EXPECT_EQ(std::make_pair(input->keyState(KEY_JOY_BUTTON_0), input->keyState(KEY_MOUSE_RIGHT)),
              std::make_pair(KEYSTATE_RELEASED, KEYSTATE_RELEASED));

    // Game keys pressed through SDL feed their codes; a focus loss presses held keys again.
    const SDL_Scancode scancodes[] = {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_F12, SDL_SCANCODE_KP_7,
                                      SDL_SCANCODE_PRINTSCREEN, SDL_SCANCODE_RCTRL};
    const std::uint16_t codes[] = {KEY_ESC, KEY_F12, 169, 175, 131};  // ... NUM 7, PRINT SCRN, RIGHT CTRL
    std::vector<HRESULT> polls;  // each poll's result, then every code's state after it
    const auto poll = [&] {
        polls.push_back(pumpAndPoll());
        for (const std::uint16_t code : codes)
            polls.push_back(input->keyState(code));
    };
    for (const SDL_Scancode scancode : scancodes)
        pushKey(scancode, true);
    poll();
    poll();
    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    poll();
    poll();  // the mouse's turn to come back
    poll();  // the stick's
    for (const SDL_Scancode scancode : scancodes)
        pushKey(scancode, false);
    poll();
    const HRESULT OK = DI_OK, LOST = DIERR_INPUTLOST;
    EXPECT_EQ(polls, (std::vector<HRESULT>{OK,   2, 2, 2, 2, 2,     // pressed
                                           OK,   3, 3, 3, 3, 3,     // held
                                           LOST, 0, 0, 0, 0, 0,     // up while the keyboard is lost
                                           LOST, 2, 2, 2, 2, 2,     // pressed again
                                           LOST, 3, 3, 3, 3, 3,     // held
                                           OK,   1, 1, 1, 1, 1}));  // released
    // Minimised, the loop stops acting on the state until the window is restored.
    const std::vector<std::pair<SDL_WindowEventID, bool>> activity = {{SDL_WINDOWEVENT_FOCUS_GAINED, true},
                                                                      {SDL_WINDOWEVENT_MINIMIZED, false},
                                                                      {SDL_WINDOWEVENT_RESTORED, true}};
    for (const auto& [event, active] : activity) {
        pushWindowEvent(event);
        pump();
        EXPECT_EQ(g_display.active, active) << event;
    }

    // Pulled out, the read that finds it gone fails once and drops it with its buttons.
    SDL_JoystickClose(virtualStick);
    SDL_JoystickDetachVirtual(index);
    EXPECT_EQ(pumpAndPoll(), DIERR_INPUTLOST);
    EXPECT_EQ(std::make_tuple(input->joystickAcquired, input->keyState(269), input->joystickDeltaY),
              std::make_tuple(0, KEYSTATE_UP, 0));
    input.reset();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}
