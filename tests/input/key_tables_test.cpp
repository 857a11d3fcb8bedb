// The four key tables as init builds them, and what the keyboard feeds through them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"

namespace {

std::unique_ptr<InputSystem> initialised() {
    fake::reset();
    auto input = std::make_unique<InputSystem>();
    EXPECT_EQ(input->init(nullptr, fake::fakeWindowHandle()), DI_OK);
    return input;
}

std::vector<std::string> range(char first, char last, const std::string& prefix = "") {
    std::vector<std::string> names;
    for (char c = first; c <= last; ++c)
        names.push_back(prefix + c);
    return names;
}

// Every name in code order, as a player sees them.
std::vector<std::string> expectedNames() {
    std::vector<std::string> names = {
        "NULL", "BACKSPACE",  "TAB", "ENTER", "ESC", "SPACE",  "1",     "APOSTROPHE", "3",      "4",    "5",
        "7",    "APOSTROPHE", "9",   "0",     "8",   "EQUALS", "COMMA", "UNDERSCORE", "PERIOD", "SLASH"};
    const auto append = [&names](const std::vector<std::string>& more) {
        names.insert(names.end(), more.begin(), more.end());
    };
    append(range('0', '9'));
    append({"SEMICOLON", "SEMICOLON", "COMMA", "EQUALS", "PERIOD", "SLASH", "2"});
    append(range('A', 'Z'));
    append({"LEFT BRKT", "BACKSLASH", "RIGHT BRKT", "6", "UNDERSCORE", "GRAVE"});
    append(range('A', 'Z'));
    append({"LEFT BRKT", "BACKSLASH", "RIGHT BRKT", "GRAVE", "DELETE", "LEFT SHIFT", "RIGHT SHIFT",
            "LEFT CTRL", "RIGHT CTRL", "LEFT ALT", "RIGHT ALT", "LEFT ARROW", "RIGHT ARROW", "UP ARROW",
            "DOWN ARROW"});
    for (int f = 1; f <= 12; ++f)
        names.push_back("F" + std::to_string(f));
    append({"INSERT", "DEL", "HOME", "END", "PAGE UP", "PAGE DOWN", "NUM SLASH", "NUM STAR", "NUM MINUS",
            "NUM PLUS", "NUM ENTER", "NUM PERIOD"});
    append(range('0', '9', "NUM "));
    append({"NUM LOCK", "CAPS LOCK", "SCROLL LOCK", "PRINT SCRN", "PAUSE", "MOUSE LEFT", "MOUSE RIGHT",
            "MOUSE MIDLE", "MOUSE BUTN4"});
    append(range('0', '9', "JOY BUTN "));
    return names;
}

// The keyboard keys that feed no code: the gaps of the PC keyboard, the Japanese keys, Pause, Windows, Apps.
bool feedsNothing(int dik) {
    const int ranges[][2] = {{0, 0},     {84, 86},   {89, 155},  {158, 180}, {182, 182},
                             {185, 198}, {202, 202}, {204, 204}, {206, 206}, {212, 255}};
    for (const auto& r : ranges) {
        if (dik >= r[0] && dik <= r[1]) return true;
    }
    return false;
}

}  // namespace

TEST(KeyTables, NamesEveryCodeInOrderWithinTwelveBytes) {
    auto input = initialised();
    std::vector<std::string> names;
    for (int code = 0; code < KEY_COUNT; ++code) {
        const char* name = input->keyNames[code];
        ASSERT_NE(std::memchr(name, '\0', KEY_NAME_SIZE), nullptr) << code;
        if (name[0] != '\0') names.push_back(name);
    }
    EXPECT_EQ(names, expectedNames());
    EXPECT_STREQ(input->keyNames[33], "1");
    EXPECT_STREQ(input->keyNames[64], "2");
    EXPECT_STREQ(input->keyNames[97], "A");
    EXPECT_STREQ(input->keyNames[174], "SCROLL LOCK");
    EXPECT_STREQ(input->keyNames[259], "MOUSE BUTN4");
    EXPECT_STREQ(input->keyNames[1], "");
    EXPECT_STREQ(input->keyNames[200], "");
}

TEST(KeyTables, KeyboardFeedsExactlyTheNamedKeys) {
    auto input = initialised();
    int feeding = 0;
    for (int dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik) {
        if (feedsNothing(dik)) {
            EXPECT_EQ(input->dikToKey[dik], 0u) << dik;
        } else {
            EXPECT_NE(input->dikToKey[dik], 0u) << dik;
            ++feeding;
        }
    }
    EXPECT_EQ(feeding, 100);
    EXPECT_EQ(input->dikToKey[DIK_ESCAPE], KEY_ESC);
    EXPECT_EQ(input->dikToKey[DIK_F1], KEY_F1);
    EXPECT_EQ(input->dikToKey[DIK_F12], KEY_F12);
    EXPECT_EQ(input->dikToKey[DIK_A], 97u);
    EXPECT_EQ(input->dikToKey[DIK_MINUS], 45u);
    EXPECT_EQ(input->dikToKey[DIK_DELETE], 151u);
    EXPECT_EQ(input->dikToKey[DIK_SYSRQ], 175u);
    EXPECT_EQ(input->dikToKey[DIK_NUMPAD7], 169u);
    EXPECT_EQ(input->dikToKey[DIK_RMENU], 133u);
    EXPECT_EQ(input->dikToKey[DIK_PAUSE], 0u);
    EXPECT_EQ(input->dikToKey[DIK_LWIN], 0u);
    EXPECT_EQ(input->dikToKey[DIK_APPS], 0u);
}

TEST(KeyTables, EveryCodeStandsForThePhysicalKey) {
    auto input = initialised();
    // A fed code leads back to the key that feeds it, except Print Screen.
    for (int dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik) {
        const std::uint32_t code = input->dikToKey[dik];
        if (code == 0 || code == 175) continue;
        EXPECT_EQ(input->keyToDik[code], static_cast<std::uint32_t>(dik)) << code;
    }
    EXPECT_EQ(input->keyToDik[175], 0u);
    EXPECT_EQ(input->keyToDik[176], 0u);
    EXPECT_EQ(input->keyToDik[65], DIK_A);
    EXPECT_EQ(input->keyToDik[90], DIK_Z);
    EXPECT_EQ(input->keyToDik[127], DIK_DELETE);
    EXPECT_EQ(input->keyToDik[151], DIK_DELETE);
    EXPECT_EQ(input->keyToDik[58], DIK_COLON);
    EXPECT_EQ(input->keyToDik[64], DIK_AT);
    EXPECT_EQ(input->keyToDik[95], DIK_UNDERLINE);
    EXPECT_EQ(input->keyToDik[34], DIK_APOSTROPHE);
    EXPECT_EQ(input->keyToDik[42], DIK_8);
    EXPECT_EQ(input->keyToDik[126], DIK_GRAVE);
    EXPECT_EQ(input->keyToDik[0], 0u);
}

TEST(KeyTables, ShiftedCharactersOfAUnitedStatesLayout) {
    auto input = initialised();
    std::string shifted;
    for (int code = 0; code < KEY_COUNT; ++code) {
        if (input->shiftChars[code] != 0) shifted += input->shiftChars[code];
    }
    // In code order: ' , - . / 0-9 ; = [ \ ] ` a-z.
    EXPECT_EQ(shifted, "\"<_>?)!@#$%^&*(:+{|}~ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(input->shiftChars[48], ')');
    EXPECT_EQ(input->shiftChars[50], '@');
    EXPECT_EQ(input->shiftChars[97], 'A');
}

TEST(KeyTables, OnlyFedCodesEverChange) {
    auto input = initialised();
    for (int dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik)
        fake::pressKey(static_cast<std::uint8_t>(dik));
    for (int button = 0; button < 4; ++button)
        fake::setMouseButton(button, true);
    ASSERT_EQ(input->poll(), DI_OK);
    EXPECT_EQ(input->keyState(97), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(151), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(175), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(KEY_MOUSE_LEFT), KEYSTATE_PRESSED);
    EXPECT_EQ(input->keyState(258), KEYSTATE_PRESSED);
    for (std::uint16_t never : std::vector<std::uint16_t>{65, 33, 58, 64, 95, 127, 176, 259, 1, 200}) {
        EXPECT_EQ(input->keyState(never), KEYSTATE_UP) << never;
    }
    int pressed = 0;
    for (int code = 0; code < KEY_COUNT; ++code)
        pressed += input->keyState(static_cast<std::uint16_t>(code)) != 0;
    EXPECT_EQ(pressed, 100 + MOUSE_BUTTONS_READ);
}

TEST(KeyTables, StayEmptyWithoutAKeyboard) {
    fake::reset();
    fake::input().keyboardDevice.present = false;
    InputSystem input;
    EXPECT_EQ(input.init(nullptr, fake::fakeWindowHandle()), DI_OK);
    EXPECT_EQ(input.keyboard, nullptr);
    for (int i = 0; i < KEYBOARD_KEY_COUNT; ++i) {
        EXPECT_EQ(input.dikToKey[i], 0u);
        EXPECT_EQ(input.keyToDik[i], 0u);
    }
    for (int code = 0; code < KEY_COUNT; ++code) {
        EXPECT_EQ(input.shiftChars[code], 0);
        EXPECT_STREQ(input.keyNames[code], "");
    }
    fake::pressKey(DIK_ESCAPE);
    EXPECT_EQ(input.poll(), DI_OK);
    EXPECT_EQ(input.keyState(KEY_ESC), KEYSTATE_UP);
}
