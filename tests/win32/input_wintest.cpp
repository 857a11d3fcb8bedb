// The DirectInput keyboard and mouse on a real window, a line whenever a device answers something new, for
// input_wintest.sh to drive with xdotool. A second window stands for another program, to take the focus away.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <utility>

#include "platform/dik_codes.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/window.h"

namespace {

constexpr DWORD FOREGROUND = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
constexpr std::uint8_t DOWN = 0x80;
constexpr plat::Point POINTER_START = {320, 240};

#define NAMED(code) \
    { code, #code }
const std::pair<HRESULT, const char*> NAMES[] = {NAMED(DI_OK),
                                                 NAMED(DI_NOEFFECT),
                                                 NAMED(DIERR_NOTACQUIRED),
                                                 NAMED(DIERR_OTHERAPPHASPRIO),
                                                 NAMED(DIERR_OBJECTNOTFOUND),
                                                 NAMED(DIERR_NOINTERFACE)};

// A code the transcript does not name in hexadecimal, in one of two buffers, as a line shows two codes.
const char* nameOf(HRESULT result) {
    static char hex[2][12];
    static int next = 0;
    for (const auto& [code, name] : NAMES)
        if (code == result) return name;
    std::snprintf(hex[++next % 2], sizeof hex[0], "0x%08lX", static_cast<unsigned long>(result));
    return hex[next % 2];
}

// Where the pointer was at the last move that reached the window, in the window's coordinates.
plat::Point g_lastMove = {-1, -1};

LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) g_lastMove = {LOWORD(lParam), HIWORD(lParam)};
    return plat::defWindowProc(window, message, wParam, lParam);
}

// Takes the window's messages, then lets the rest of a loaded machine run before the next read.
void pumpMessages() {
    plat::Message message{};
    while (plat::peekMessage(&message)) {
        plat::translateMessage(message);
        plat::dispatchMessage(message);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

DWORD typeOf(plat::InputDevice* device) {
    plat::DeviceInstance info{};
    info.size = sizeof info;
    if (FAILED(plat::getDeviceInfo(device, &info))) return 0;
    return info.devType & 0xFF;
}

plat::BOOL takeFirst(const plat::DeviceInstance* instance, void* context) {
    *static_cast<DWORD*>(context) = instance->devType & 0xFF;
    return DIENUM_STOP;
}

plat::InputObject* g_input = nullptr;
plat::InputDevice* g_keyboard = nullptr;
plat::InputDevice* g_mouse = nullptr;

// What the devices say about themselves, before any of them is acquired.
void describe() {
    DWORD enumerated = 0;
    plat::enumDevices(g_input, DIDEVTYPE_KEYBOARD, takeFirst, &enumerated, DIEDFL_ATTACHEDONLY);
    std::printf("keyboard type %lu, mouse type %lu, first keyboard enumerated type %lu\n", typeOf(g_keyboard),
                typeOf(g_mouse), enumerated);

    // On a mouse of its own, so that the one read below keeps DirectInput's defaults.
    plat::InputDevice* mouse = nullptr;
    plat::createDevice(g_input, GUID_SysMouse, &mouse, nullptr);
    plat::setDataFormat(mouse, &c_dfDIMouse);
    plat::PropertyRange range{{sizeof range, sizeof range.header, DIJOFS_X, DIPH_BYOFFSET}, -1000, 1000};
    plat::PropertyDword deadZone{{sizeof deadZone, sizeof deadZone.header, DIJOFS_X, DIPH_BYOFFSET}, 1000};
    const HRESULT set[] = {plat::setProperty(mouse, DIPROP_RANGE, &range.header),
                           plat::setProperty(mouse, DIPROP_DEADZONE, &deadZone.header),
                           plat::setProperty(g_keyboard, DIPROP_RANGE, &range.header), DI_OK};
    std::printf("mouse range %s, dead zone %s, keyboard range %s\n", nameOf(set[0]), nameOf(set[1]),
                nameOf(set[2]));
    plat::release(mouse);

    plat::InputDevice2 *second = nullptr, *other = nullptr;
    const HRESULT asked[] = {plat::queryInterface(g_keyboard, IID_IDirectInputDevice2A, &second),
                             plat::poll(second), plat::queryInterface(g_keyboard, GUID_SysMouse, &other)};
    std::printf("second interface %s, poll %s, references %u, %s\n", nameOf(asked[0]), nameOf(asked[1]),
                plat::release(second), other ? "another interface handed out" : nameOf(asked[2]));
}

// Reads both devices until F12 goes down: a line for every change of the keys (with the mouse's movement
// since the last line), for a loss, for each new refusal while the devices are away, and for their return.
void readUntilF12() {
    std::uint8_t seen[KEYBOARD_STATE_SIZE] = {};
    long x = 0, y = 0, wheel = 0;
    bool away = false;
    HRESULT refused = DI_OK;
    for (;; pumpMessages()) {
        std::uint8_t keys[KEYBOARD_STATE_SIZE];
        plat::MouseState mouse{};
        if (away) {
            const HRESULT keyboardResult = plat::acquire(g_keyboard);
            const HRESULT mouseResult = plat::acquire(g_mouse);
            if (SUCCEEDED(keyboardResult) && SUCCEEDED(mouseResult)) {
                away = false;
                std::memset(seen, 0, sizeof seen);
                x = y = wheel = 0;
                std::printf("back\n");
            } else if (keyboardResult != refused) {
                refused = keyboardResult;
                std::printf("refused: keyboard %s, mouse %s\n", nameOf(keyboardResult), nameOf(mouseResult));
            }
        } else if (FAILED(plat::getDeviceState(g_keyboard, sizeof keys, keys)) ||
                   FAILED(plat::getDeviceState(g_mouse, sizeof mouse, &mouse))) {
            away = true;
            refused = DI_OK;
            // Both again, so that the line does not depend on which of them went first.
            const HRESULT lost[] = {plat::getDeviceState(g_keyboard, sizeof keys, keys),
                                    plat::getDeviceState(g_mouse, sizeof mouse, &mouse)};
            std::printf("lost: keyboard %s, mouse %s\n", nameOf(lost[0]), nameOf(lost[1]));
        } else {
            x += mouse.lX;
            y += mouse.lY;
            wheel += mouse.lZ;
            if (std::memcmp(keys, seen, sizeof keys) == 0) continue;
            std::memcpy(seen, keys, sizeof keys);
            std::printf("keys");
            for (DWORD dik = 0; dik < KEYBOARD_STATE_SIZE; ++dik)
                if (keys[dik]) std::printf(" %02lX=%02X", static_cast<unsigned long>(dik), keys[dik]);
            std::printf(" moved %ld %ld wheel %ld\n", x, y, wheel);
            if (keys[DIK_F12] & DOWN) return;
            x = y = wheel = 0;
        }
    }
}

}  // namespace

int main() {
    // Unbuffered: each line reaches the script as the step it answers ends.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const HINSTANCE instance = plat::getModuleHandle();
    const plat::WindowClass windowClass{CS_OWNDC, windowProc, instance, nullptr, "Window"};
    if (!plat::registerClass(windowClass)) return 1;
    // The other program's window first, so that the game's is in front.
    plat::createWindow(0, "Window", "other", WS_POPUP | WS_VISIBLE, 500, 380, 120, 80, instance);
    const HWND window =
        plat::createWindow(0, "Window", "PEL2D - input", WS_POPUP | WS_VISIBLE, 0, 0, 480, 360, instance);
    if (!window) return 1;
    plat::showWindow(window, SW_SHOW);
    plat::setForegroundWindow(window);
    plat::setFocus(window);

    if (FAILED(plat::directInputCreate(instance, DIRECTINPUT_VERSION, &g_input, nullptr)) ||
        FAILED(plat::createDevice(g_input, GUID_SysKeyboard, &g_keyboard, nullptr)) ||
        FAILED(plat::createDevice(g_input, GUID_SysMouse, &g_mouse, nullptr)))
        return 1;
    plat::setDataFormat(g_keyboard, &c_dfDIKeyboard);
    plat::setDataFormat(g_mouse, &c_dfDIMouse);
    plat::setCooperativeLevel(g_keyboard, window, FOREGROUND);
    plat::setCooperativeLevel(g_mouse, window, FOREGROUND);
    describe();
    // Acquired once the move to the starting point has come in with the messages: none before counts.
    while (g_lastMove.x != POINTER_START.x || g_lastMove.y != POINTER_START.y)
        pumpMessages();
    while (FAILED(plat::acquire(g_keyboard)) | FAILED(plat::acquire(g_mouse)))
        pumpMessages();
    std::printf("ready, acquiring again %s\n", nameOf(plat::acquire(g_keyboard)));

    readUntilF12();

    const HRESULT unacquired[] = {plat::unacquire(g_keyboard), plat::unacquire(g_keyboard)};
    const std::uint32_t left[] = {plat::release(g_keyboard), plat::release(g_mouse), plat::release(g_input)};
    std::printf("bye: unacquire %s %s, references left %u %u %u\n", nameOf(unacquired[0]),
                nameOf(unacquired[1]), left[0], left[1], left[2]);
    plat::destroyWindow(window);
    return 0;
}
