// The program's entry on the fake backend: start-up and shutdown on each path with the log they write, the
// main loop's passes, quits and frame clock, and the window procedure's own messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "core/entry.h"
#include "game/entity_list.h"
#include "graphics/gl_extensions.h"
#include "support/engine_fixture.h"

namespace {

const std::string RULE(37, '-');
const std::string MULTITEXTURE =
    "Ekran kartinin desteklemedigi Extension: GL_ARB_multitexture\r\n"
    "Multitexturing , video kartinin destekledigi 0 texture unit\r\n";

// A whole run's log: the Windows build's (tests/win32), but for the extension lines, which tell this
// backend's GL, without multitexturing, from whatever the Windows machine has.
std::string wholeRunLog() {
    std::ifstream in(std::string(PEL_SOURCE_DIR) + "/tests/win32/pel3dlog.expected");
    std::string log;
    for (std::string line; std::getline(in, line);)
        log += line + "\r\n";
    const std::size_t at = log.find("Ekran kartinin");
    const std::size_t end = log.find("texture unit\r\n", at);
    return end == std::string::npos ? "" : log.replace(at, end + 14 - at, MULTITEXTURE);
}

using StartupTest = EngineTest;

TEST_F(StartupTest, NoticeThenFullScreenOrAWindowAndACompleteRunWritesEverySectionInOrder) {
    ASSERT_TRUE(initGame());
    EXPECT_EQ(GameState, STATE_MENU);
    const auto& boxes = fake::system().messageBoxes;
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(std::tie(boxes[0].caption, boxes[0].style, boxes[0].owner),
              std::make_tuple("PEL2D - TEST", MB_OK | MB_ICONQUESTION, nullptr));
    EXPECT_EQ(boxes[0].text.rfind("Pel2d Engine Test oyunu  \nBu oyun sadece deneme surumudur.\n", 0), 0u);
    EXPECT_TRUE(fake::called("changeDisplayMode 640x480x16"));
    EXPECT_EQ(std::tie(fake::window().windowStyle, fake::window().cursorVisible, g_display.active),
              std::make_tuple(WS_POPUP | WS_VISIBLE, false, true));
    shutdownGame();
    EXPECT_EQ(readLogBytes(), wholeRunLog());
    EXPECT_EQ(std::tie(fake::window().classRegistered, fake::window().window, fake::window().fullscreenMode),
              std::make_tuple(false, nullptr, false))
        << "torn down, the desktop's display mode restored";

    // Full screen refused, answered yes: a window, with the cursor, and the display mode never changed.
    resetEngineGlobals();
    fake::window().displayModeAvailable = false;
    fake::system().messageBoxAnswers = {IDOK, IDYES};
    ASSERT_TRUE(initGame());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(
        shownBox(1),
        std::make_tuple("ERROR", "Tam ekrani desteklemiyor\nSizin ekran kartiniz. Pencerede acilsin mi?",
                        MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(std::tie(fake::window().windowStyle, fake::window().cursorVisible),
              std::make_tuple(WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, true));
    shutdownGame();
    EXPECT_FALSE(fake::called("restoreDisplayMode"));
}

// Each way a start can fail: the loop never runs, nothing is left shown, and the boxes, the log and the
// window class are as that step leaves them.
TEST_F(StartupTest, AFailedStartStopsBeforeTheLoopWithItsOwnMessagesLogAndRemains) {
    using fake::WindowState;
    const std::string whole = wholeRunLog();
    ASSERT_FALSE(whole.empty());
    const std::string head =
        whole.substr(0, whole.find(RULE));  // the page's head, before the engine's banner
    const std::string started = whole.substr(0, whole.find(MULTITEXTURE));
    const std::string tornDown = started + whole.substr(whole.rfind("\r\n\r\n" + RULE));
    // The step, its setting, the boxes shown, the log, the window class left registered.
    const std::tuple<bool WindowState::*, bool, std::size_t, std::string, bool> cases[] = {
        {&WindowState::registerClassFails, true, 0, head, false},
        // Full screen refused and answered no: the program closes without closing lines or teardown.
        {&WindowState::displayModeAvailable, false, 3, started, true},
        {&WindowState::createWindowFails, true, 1, tornDown, false},
        {&WindowState::getDCFails, true, 1, tornDown, false},
        {&WindowState::choosePixelFormatFails, true, 1, tornDown, false},
        {&WindowState::setPixelFormatFails, true, 1, tornDown, false},
        {&WindowState::createContextFails, true, 1, tornDown, false},
        {&WindowState::makeCurrentFails, true, 1, tornDown, false},
    };
    int index = 0;
    for (const auto& [step, value, boxes, log, classRegistered] : cases) {
        resetEngineGlobals();
        fake::window().*step = value;
        fake::system().messageBoxAnswers = {IDOK, IDNO};
        fake::window().whenQueueEmpty = [] { FAIL() << "the loop must not run"; };
        EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
        SCOPED_TRACE(index++);
        ASSERT_EQ(fake::system().messageBoxes.size(), boxes);
        if (boxes == 3) {
            EXPECT_EQ(shownBox(2), std::make_tuple("HATA", "Program kapatildi.", MB_OK | MB_ICONHAND));
        }
        EXPECT_EQ(readLogBytes(), log);
        EXPECT_EQ(fake::window().classRegistered, classRegistered);
        EXPECT_EQ(std::tie(fake::window().window, fake::window().fullscreenMode, fake::window().swapCount),
                  std::make_tuple(nullptr, false, 0));
        EXPECT_FALSE(fake::called("showWindow"));
        EXPECT_EQ(std::tie(g_display.active, GameState), std::make_tuple(false, 0));
    }
}

TEST_F(StartupTest, EveryLogLineFeedIsStoredAsCrLfLongLinesWholeAndALostLineIsReported) {
    const std::string longText(3000, 'x');
    const std::tuple<const char*, const char*, std::string> lines[] = {
        // format, argument, bytes stored
        {"\n", "", "\r\n\r\n"},  // a text of just a line feed gives two empty lines
        {"%s", "", "\r\n"},      // the empty text gives one empty line
        {"%s\n", "-----", "-----\r\n\r\n"},
        {"a\nb %s", "7", "a\r\nb 7\r\n"},
        {"%s", longText.c_str(), longText + "\r\n"},
    };
    std::string expected;
    for (const auto& [format, argument, stored] : lines) {
        EXPECT_TRUE(g_debugLog.writeLine(format, argument));
        expected += stored;
        EXPECT_EQ(readLogBytes(), expected);
    }

    // Each run starts a fresh file; a log that cannot be opened loses the line and says so.
    DebugLog secondRun;
    EXPECT_EQ(readLogBytes(), "");
    std::filesystem::remove(DEBUG_LOG_FILE);
    std::filesystem::create_directory(DEBUG_LOG_FILE);
    EXPECT_FALSE(g_debugLog.writeLine("lost"));
    std::filesystem::remove(DEBUG_LOG_FILE);
    EXPECT_TRUE(g_debugLog.writeLine("kept"));
    EXPECT_EQ(readLogBytes(), "kept\r\n");
}

TEST_F(StartupTest, ExtensionQueryMatchesWholeNamesOnly) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"GL_ARB_multitexture", "GL_ARB_multitexture GL_EXT_bgra", true},
        {"GL_EXT_bgra", "GL_ARB_multitexture GL_EXT_bgra ", true},
        {"GL_ARB", "GL_ARB_multitexture", false},
        {"multitexture", "GL_ARB_multitexture", false},
        {"GL_ARB_multitexture GL_EXT_bgra", "GL_ARB_multitexture GL_EXT_bgra", false},
        {"GL_ARB_multitexture", "GL_ARB_multitexture_plus", false},
        {"GL_ARB_multitexture", "", false},
        {"GL_ARB_multitexture", nullptr, false},
    };
    for (const auto& [name, list, supported] : cases)
        EXPECT_EQ(isExtensionSupported(name, list), supported) << name << " in " << (list ? list : "null");
}

using MainLoopTest = EngineTest;

TEST_F(MainLoopTest, StatesWithoutARoutineDoNothingAndAQuitIsActedOnOnlyAfterItIsDispatched) {
    ASSERT_TRUE(initGame());
    for (int state : {0, 3, 5, 6, 7, 8, -1, 10, 1000}) {
        GameState = state;
        const int reads = fake::system().counterReads;
        const int swaps = fake::window().swapCount;
        EXPECT_TRUE(runGameState());
        EXPECT_EQ(fake::window().swapCount, swaps) << "state " << state;
        EXPECT_EQ(fake::system().counterReads, reads) << "state " << state;
    }

    // A quit is acted on only after the messages before it are dispatched; later ones stay queued.
    const HWND window = fake::fakeWindowHandle();
    fake::window().queue = {{window, WM_SIZE, 0, MAKELPARAM(320, 200)},
                            {nullptr, WM_QUIT, 0, 0},
                            {window, WM_SIZE, 0, MAKELPARAM(800, 600)}};
    EXPECT_FALSE(g_display.pumpMessages());
    EXPECT_EQ(fake::window().dispatched.size(), 2u);
    EXPECT_EQ(g_display.width, 320);
    ASSERT_EQ(fake::window().queue.size(), 1u);
    EXPECT_TRUE(g_display.pumpMessages());
    EXPECT_EQ(g_display.width, 800);
}

TEST_F(MainLoopTest, FramesAreTimedFromTheStartOfStartUpThenFromTheFrameBeforeIfThereIsACounter) {
    fake::system().counter = 1000;  // a 1 MHz counter
    ASSERT_TRUE(initGame());
    fake::system().counter = 1000 + 3 * 1000000;  // start-up took three seconds
    runGameState();
    EXPECT_FLOAT_EQ(g_display.frameTime, 3.0f);
    fake::system().counter += 20000;
    runGameState();
    EXPECT_FLOAT_EQ(g_display.frameTime, 0.02f);
    EXPECT_FLOAT_EQ(g_display.framesPerSecond, 50.0f);
    // A frame shorter than a tick has no rate of its own: the last one stays, not "inf".
    g_display.measureFrame();
    EXPECT_EQ(std::tie(g_display.framesPerSecond, g_display.frameTime), std::make_tuple(50.0f, 0.0f));

    // Without a counter the clock reports failure and nothing moves.
    resetEngineGlobals();
    fake::system().hasCounter = false;
    EXPECT_FALSE(g_display.startFrameClock());
    fake::system().counter = 100;
    g_display.measureFrame();
    EXPECT_EQ(std::tie(g_display.frameTime, g_display.framesPerSecond), std::make_tuple(0.0f, 0.0f));
}

LRESULT send(UINT message, WPARAM wParam) {
    return WindowProc(fake::fakeWindowHandle(), message, wParam, 0);
}

void post(UINT message, WPARAM wParam) {
    fake::window().queue.push_back({fake::fakeWindowHandle(), message, wParam, 0});
}

// Minimised in the middle of the teardown, the program stops deleting and drawing; restored, it finishes the
// teardown, returns to the menu and can start the next game.
TEST_F(MainLoopTest, TeardownWaitsWhileMinimisedAndFinishesWhenRestored) {
    int pass = 0;
    int swaps = 0;
    std::size_t bricks = 0;
    fake::window().whenQueueEmpty = [&] {
        if (++pass == 1) GameState = STATE_NEW_GAME;
        if (pass == 3) {
            EXPECT_EQ(g_bricks.count, 216u);
            GameState = STATE_TEARDOWN;
        }
        if (pass == 50) post(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1));
        if (pass == 51) std::tie(bricks, swaps) = std::make_tuple(g_bricks.count, fake::window().swapCount);
        if (pass == 500) {
            EXPECT_GT(bricks, 0u);
            EXPECT_EQ(std::tie(g_bricks.count, fake::window().swapCount, GameState),
                      std::make_tuple(bricks, swaps, int{STATE_TEARDOWN}))
                << "nothing is deleted or drawn while minimised";
            post(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0));
        }
        if (pass == 800) {
            EXPECT_EQ(std::tie(g_bricks.count, GameState), std::make_tuple(std::size_t{0}, int{STATE_MENU}));
            GameState = STATE_NEW_GAME;
        }
        if (pass == 802) {
            EXPECT_EQ(g_bricks.count, 216u) << "the next game has a full wall";
            post(WM_CLOSE, 0);
        }
    };
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
}

using WindowProcTest = EngineTest;

// Losing the focus alone keeps the game running; minimising and restoring are seen in the teardown above.
TEST_F(WindowProcTest, ScreenSaverMonitorPowerKeysAndActivationAreHandledAndTheRestReachTheDefault) {
    g_display.active = true;
    for (const auto& [message, wParam] : {std::pair<UINT, WPARAM>{WM_SYSCOMMAND, SC_SCREENSAVE},
                                          {WM_SYSCOMMAND, SC_MONITORPOWER},
                                          {WM_KEYDOWN, 'A'},
                                          {WM_CHAR, 'a'},
                                          {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0)}})
        EXPECT_EQ(send(message, wParam), 0) << message;
    EXPECT_TRUE(g_display.active);
    EXPECT_TRUE(fake::window().defaultProcessed.empty());
    send(WM_SYSCOMMAND, 0xF020 /* SC_MINIMIZE */);
    send(WM_SYSCOMMAND, SC_SCREENSAVE + 1);
    send(0x0400 /* any other message */, 0);
    EXPECT_EQ(fake::window().defaultProcessed.size(), 3u);
}

}  // namespace
