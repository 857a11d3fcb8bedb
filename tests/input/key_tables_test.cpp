// The four key tables as init builds them, and what the keyboard feeds through them.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "input/input_system.h"
#include "platform/dik_codes.h"
#include "platform/fake/fake_input.h"
#include "platform/fake/fake_platform.h"

namespace {

// Every keyboard key but the gaps of the PC keyboard, the Japanese keys, Pause, Windows and Apps.
constexpr std::size_t FED_KEYBOARD_KEYS = 100;
// Fed by its key, yet it stands for no key the other way round.
constexpr std::uint32_t KEY_PRINT_SCREEN = 175;

class KeyTables : public testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        ASSERT_EQ(input.init(nullptr, fake::fakeWindowHandle()), DI_OK);
    }

    InputSystem input;
};

}  // namespace

TEST_F(KeyTables, NamesFitTwelveBytesAndNameThePhysicalKey) {
    int named = 0;
    for (int code = 0; code < KEY_COUNT; ++code) {
        ASSERT_NE(std::memchr(input.keyNames[code], '\0', KEY_NAME_SIZE), nullptr) << code;
        named += input.keyNames[code][0] != '\0' ? 1 : 0;
    }
    // 0, the four control keys with a name, 32 to 176, and the 14 mouse and joystick buttons.
    EXPECT_EQ(named, 1 + 4 + 145 + 14);
    // A name names the physical key: ! and @ are named after the keys 1 and 2.
    std::vector<std::string> names;
    for (int code : {0, 1, 33, 64, 65, 97, 127, 151, 174, 200, 258, 259, 269})
        names.emplace_back(input.keyNames[code]);
    EXPECT_EQ(names, (std::vector<std::string>{"NULL", "", "1", "2", "A", "A", "DELETE", "DEL", "SCROLL LOCK",
                                               "", "MOUSE MIDLE", "MOUSE BUTN4", "JOY BUTN 9"}));
}

TEST_F(KeyTables, EachKeyboardKeyFeedsOneNamedCodeThatStandsForItAgain) {
    std::set<std::uint32_t> fed;
    for (std::uint32_t dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik) {
        const std::uint32_t code = input.dikToKey[dik];
        if (code == 0) continue;
        EXPECT_TRUE(fed.insert(code).second) << "code " << code << " fed twice";
        EXPECT_STRNE(input.keyNames[code], "") << code;
        EXPECT_EQ(input.keyToDik[code], code == KEY_PRINT_SCREEN ? 0 : dik) << code;
    }
    EXPECT_EQ(fed.size(), FED_KEYBOARD_KEYS);
    const std::pair<std::uint8_t, std::uint32_t> feeds[] = {
        {DIK_ESCAPE, KEY_ESC}, {DIK_F1, KEY_F1},  {DIK_F12, KEY_F12}, {DIK_A, 97},
        {DIK_MINUS, 45},       {DIK_DELETE, 151}, {DIK_SYSRQ, 175},   {DIK_NUMPAD7, 169},
        {DIK_RMENU, 133},      {DIK_AT, 0},       {DIK_COLON, 0},     {DIK_UNDERLINE, 0},
        {DIK_PAUSE, 0},        {DIK_LWIN, 0},     {DIK_APPS, 0},      {0, 0}};
    for (const auto& [dik, code] : feeds)
        EXPECT_EQ(input.dikToKey[dik], code) << int{dik};
    // Codes no key feeds still stand for the key they sit on; Print Screen and Pause stand for none.
    std::vector<std::uint32_t> standsFor;
    for (std::uint32_t code : {65u, 90u, 127u, 58u, 64u, 95u, 34u, 42u, KEY_PRINT_SCREEN, 176u, 0u})
        standsFor.push_back(input.keyToDik[code]);
    EXPECT_EQ(standsFor, (std::vector<std::uint32_t>{DIK_A, DIK_Z, DIK_DELETE, DIK_COLON, DIK_AT,
                                                     DIK_UNDERLINE, DIK_APOSTROPHE, DIK_8, 0, 0, 0}));
}

TEST_F(KeyTables, ShiftedCharactersOfAUnitedStatesLayout) {
    std::string shifted;
    for (int code = 0; code < KEY_COUNT; ++code) {
        if (input.shiftChars[code] != 0) shifted += input.shiftChars[code];
    }
    // In code order: ' , - . / 0-9 ; = [ \ ] ` a-z.
    EXPECT_EQ(shifted, "\"<_>?)!@#$%^&*(:+{|}~ABCDEFGHIJKLMNOPQRSTUVWXYZ");
}

TEST_F(KeyTables, OnlyFedCodesEverChange) {
    for (int dik = 0; dik < KEYBOARD_KEY_COUNT; ++dik)
        fake::pressKey(static_cast<std::uint8_t>(dik));
    for (int button = 0; button < 4; ++button)
        fake::setMouseButton(button, true);
    ASSERT_EQ(input.poll(), DI_OK);
    const std::uint16_t fedCodes[] = {97, 151, 175, KEY_MOUSE_LEFT, 258};
    for (const std::uint16_t code : fedCodes)
        EXPECT_EQ(input.keyState(code), KEYSTATE_PRESSED) << code;
    const std::uint16_t neverFed[] = {65, 33, 58, 64, 95, 127, 176, 259, 1, 200};
    for (const std::uint16_t code : neverFed)
        EXPECT_EQ(input.keyState(code), KEYSTATE_UP) << code;
    std::size_t pressed = 0;
    for (int code = 0; code < KEY_COUNT; ++code)
        pressed += input.keyState(static_cast<std::uint16_t>(code)) != 0 ? 1 : 0;
    EXPECT_EQ(pressed, FED_KEYBOARD_KEYS + MOUSE_BUTTONS_READ);
}
