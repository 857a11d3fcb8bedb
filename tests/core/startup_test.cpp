#include <gtest/gtest.h>

#include <string>

#include "core/entry.h"
#include "support/engine_fixture.h"

namespace {

const std::string RULE(37, '-');
const std::string SIGNATURE =
    RULE + "\r\nPEL2D Engine : ZENTRO\r\n  ZENTRO Team  2004-0cak-18\r\n" + RULE + "\r\n\r\n";
const std::string MULTITEXTURE =
    "Ekran kartinin desteklemedigi Extension: GL_ARB_multitexture\r\n"
    "Multitexturing , video kartinin destekledigi 0 texture unit\r\n";
const std::string BANNER =
    "\r\n"
    "     |--------------------------------------|\r\n"
    "     |---------------ZENTRO-----------------|\r\n"
    "     |------------PEL2D ENGINE--------------|\r\n"
    "     |------------ZENTRO Team---------------|\r\n"
    "     |-------https://zentro.example---------|\r\n"
    "     |--------team@zentro.example-----------|\r\n"
    "     |--------------------------------------|\r\n"
    "\r\n";
const std::string EXTENSION_HEADER = "\r\n\r\n" + RULE +
                                     "\r\nPEL2D Engine : ZENTRO\r\n  ZENTRO Team  2004-0cak-18\r\n" + RULE +
                                     "\r\nOpenGL Ekran Karti :\r\n" + RULE + "\r\n";
const std::string FONT_LOADED = "|--------->  Font yuklendi...\r\n";
const std::string CLOSING = "\r\n\r\n" + SIGNATURE + "</pre>\r\n</body>\r\n</html>\r\n";

// The log after its 26 head lines.
std::string logAfterHead() {
    const std::string log = readLogBytes();
    std::size_t at = 0;
    for (int line = 0; line < 26 && at != std::string::npos; ++line) {
        at = log.find("\r\n", at);
        if (at != std::string::npos) at += 2;
    }
    return at == std::string::npos ? std::string() : log.substr(at);
}

}  // namespace

using StartupTest = EngineTest;

TEST_F(StartupTest, CompleteRunWritesEverySectionInOrder) {
    ASSERT_TRUE(initGame());
    EXPECT_EQ(GameState, STATE_MENU);
    shutdownGame();

    EXPECT_EQ(logAfterHead(), SIGNATURE + MULTITEXTURE + BANNER + EXTENSION_HEADER + FONT_LOADED + CLOSING);
    const fake::WindowState& window = fake::window();
    EXPECT_FALSE(window.classRegistered);
    EXPECT_EQ(window.window, nullptr);
    EXPECT_FALSE(window.fullscreenMode) << "the desktop's display mode is restored";
}

TEST_F(StartupTest, NoticeThenFullScreen) {
    ASSERT_TRUE(initGame());
    const auto& boxes = fake::system().messageBoxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "PEL2D - TEST");
    EXPECT_EQ(boxes[0].style, MB_OK | MB_ICONQUESTION);
    EXPECT_EQ(boxes[0].owner, nullptr);
    EXPECT_EQ(boxes[0].text.rfind("Pel2d Engine Test oyunu  \nBu oyun sadece deneme surumudur.\n", 0), 0u);

    EXPECT_TRUE(fake::called("changeDisplayMode 640x480x16"));
    EXPECT_TRUE(g_display.fullscreen);
    EXPECT_EQ(fake::window().windowStyle, WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(fake::window().windowExStyle, WS_EX_APPWINDOW);
    EXPECT_FALSE(fake::window().cursorVisible);
    EXPECT_TRUE(g_display.active);
    EXPECT_EQ(g_display.width, 640);
    EXPECT_EQ(g_display.height, 480);
    EXPECT_EQ(g_display.fieldOfView, 75.0);
    EXPECT_TRUE(fake::window().contextCurrent);
}

TEST_F(StartupTest, RefusedFullScreenAnsweredYesGoesWindowed) {
    fake::window().displayModeAvailable = false;
    fake::system().messageBoxAnswers = {IDOK, IDYES};
    ASSERT_TRUE(initGame());

    const auto& boxes = fake::system().messageBoxes;
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, "Tam ekrani desteklemiyor\nSizin ekran kartiniz. Pencerede acilsin mi?");
    EXPECT_EQ(boxes[1].caption, "ERROR");
    EXPECT_EQ(boxes[1].style, MB_YESNO | MB_ICONEXCLAMATION);
    EXPECT_FALSE(g_display.fullscreen);
    EXPECT_EQ(fake::window().windowStyle, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(fake::window().windowExStyle, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
    EXPECT_TRUE(fake::window().cursorVisible);

    shutdownGame();
    EXPECT_FALSE(fake::called("restoreDisplayMode")) << "a windowed run never changed the display mode";
}

TEST_F(StartupTest, RefusedFullScreenAnsweredNoEndsWithoutClosingLines) {
    fake::window().displayModeAvailable = false;
    fake::system().messageBoxAnswers = {IDOK, IDNO};
    fake::window().whenQueueEmpty = [] { FAIL() << "the loop must not run"; };

    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);

    const auto& boxes = fake::system().messageBoxes;
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].text, "Program kapatildi.");
    EXPECT_EQ(boxes[2].caption, "HATA");
    EXPECT_EQ(boxes[2].style, MB_OK | MB_ICONHAND);
    EXPECT_FALSE(fake::called("createWindow"));
    EXPECT_EQ(logAfterHead(), SIGNATURE) << "the log stops after the engine banner, with no closing lines";
    EXPECT_TRUE(fake::window().classRegistered) << "nothing is torn down on this path";
    EXPECT_EQ(GameState, 0);
}

TEST_F(StartupTest, ClassRegistrationFailureWritesNoLogLineAndShowsNothing) {
    fake::window().registerClassFails = true;
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
    EXPECT_EQ(logAfterHead(), "");
    EXPECT_TRUE(fake::system().messageBoxes.empty());
    EXPECT_EQ(fake::window().swapCount, 0);
}

TEST_F(StartupTest, ContextFailureTearsDownWhatExistsWithoutAMessage) {
    fake::window().createContextFails = true;
    EXPECT_FALSE(initGame());

    EXPECT_EQ(fake::system().messageBoxes.size(), 1u) << "only the notice";
    EXPECT_TRUE(fake::called("restoreDisplayMode"));
    EXPECT_TRUE(fake::called("releaseDC"));
    EXPECT_TRUE(fake::called("destroyWindow"));
    EXPECT_FALSE(fake::window().classRegistered);
    EXPECT_EQ(logAfterHead(), SIGNATURE + CLOSING);
    EXPECT_FALSE(g_display.active);
    EXPECT_EQ(GameState, 0);
}

TEST_F(StartupTest, EachFailingWindowStepEndsTheStartUp) {
    bool fake::WindowState::*const steps[] = {
        &fake::WindowState::createWindowFails, &fake::WindowState::getDCFails,
        &fake::WindowState::choosePixelFormatFails, &fake::WindowState::setPixelFormatFails,
        &fake::WindowState::makeCurrentFails};
    for (bool fake::WindowState::*step : steps) {
        resetEngineGlobals();
        fake::window().*step = true;
        EXPECT_FALSE(initGame());
        EXPECT_FALSE(fake::window().classRegistered);
        EXPECT_EQ(fake::window().window, nullptr);
        EXPECT_FALSE(fake::called("showWindow"));
    }
}
