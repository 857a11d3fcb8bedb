#include "graphics/display.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/credits.h"
#include "core/debug_log.h"
#include "graphics/gl_extensions.h"
#include "graphics/window_icon.h"
#include "platform/system.h"
#include "platform/window.h"

HINSTANCE g_hInstance = nullptr;
HWND g_hWnd = nullptr;
HDC g_hDC = nullptr;
HGLRC g_hRC = nullptr;

namespace {

constexpr double DISPLAY_FIELD_OF_VIEW = 75.0;
constexpr float DISPLAY_NEAR_PLANE = 0.1f;  // single precision on purpose: the projection has always used it
constexpr double DISPLAY_FAR_PLANE = 8000.0;

constexpr const char* NOTICE_TEXT =
    "Pel2d Engine Test oyunu  \nBu oyun sadece deneme surumudur.\nUYARI oyunun hizli calismasi icin ekran "
    "karti "
    "son suruculeri yukleyin.\nXP de yavas calisabilir!";
constexpr const char* FULLSCREEN_QUESTION =
    "Tam ekrani desteklemiyor\nSizin ekran kartiniz. Pencerede acilsin mi?";
constexpr const char* PROGRAM_CLOSED = "Program kapatildi.";

// The framed start-up banner: five blanks, then 40 framed characters; 45 characters a line.
const char* const STARTUP_BANNER[] = {
    "     |--------------------------------------|", "     |---------------ZENTRO-----------------|",
    "     |------------PEL2D ENGINE--------------|", "     |------------" PEL_AUTHOR_NAME "---------------|",
    "     |-------" PEL_WEB_ADDRESS "---------|",    "     |--------" PEL_EMAIL_ADDRESS "-----------|",
    "     |--------------------------------------|",
};

plat::PixelFormatDescriptor pixelFormatFor(int colorBits) {
    plat::PixelFormatDescriptor pfd{};
    pfd.size = 40;
    pfd.version = 1;
    pfd.flags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.pixelType = PFD_TYPE_RGBA;
    pfd.colorBits = static_cast<std::uint8_t>(colorBits);
    pfd.depthBits = 16;
    pfd.layerType = PFD_MAIN_PLANE;
    return pfd;
}

void setInitialGlState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

}  // namespace

bool Display::createWindow(int newWidth, int newHeight, int newColorBits, int screenMode,
                           const char* newTitle) {
    width = newWidth;
    height = newHeight;
    colorBits = newColorBits;
    fieldOfView = DISPLAY_FIELD_OF_VIEW;
    title = newTitle ? newTitle : "";

    g_hInstance = plat::getModuleHandle();
    const plat::WindowClass windowClass{CS_HREDRAW | CS_VREDRAW | CS_OWNDC, WindowProc, g_hInstance,
                                        &windowIcon(), DISPLAY_CLASS_NAME};
    if (!plat::registerClass(windowClass)) return false;

    g_debugLog.writeLine(PEL_LOG_RULE);
    g_debugLog.writeLine(PEL_LOG_ENGINE_LINE);
    g_debugLog.writeLine(PEL_LOG_AUTHOR_LINE);
    g_debugLog.writeLine(PEL_LOG_RULE "\n");

    if (!chooseScreenMode(screenMode)) return false;
    if (!createWindowAndContext()) {
        destroyWindow();
        return false;
    }

    setInitialGlState();
    plat::showWindow(g_hWnd, SW_SHOW);
    plat::setForegroundWindow(g_hWnd);
    plat::setFocus(g_hWnd);
    resizeScene(width, height, DISPLAY_FIELD_OF_VIEW);
    initMultitexture();
    writeStartupBanner();

    active = true;
    return true;
}

// The notice box and the switch to full screen, with the windowed fallback. False when the player refuses the
// window after the switch failed; nothing is torn down on that path.
bool Display::chooseScreenMode(int screenMode) {
    if (screenMode == SCREEN_NOTICE) {
        plat::messageBox(nullptr, NOTICE_TEXT, title.c_str(), MB_OK | MB_ICONQUESTION);
        fullscreen = true;
    } else if (screenMode == SCREEN_WINDOWED) {
        fullscreen = false;
    }
    if (!fullscreen && screenMode != SCREEN_FULLSCREEN) return true;

    const std::int32_t result = plat::changeDisplayMode(width, height, colorBits);
    fullscreen = true;
    if (result == DISP_CHANGE_SUCCESSFUL) return true;

    if (plat::messageBox(nullptr, FULLSCREEN_QUESTION, "ERROR", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
        fullscreen = false;
        return true;
    }
    plat::messageBox(nullptr, PROGRAM_CLOSED, "HATA", MB_OK | MB_ICONHAND);
    return false;
}

// Window, device context, pixel format and rendering context. False as soon as one of them cannot be made.
bool Display::createWindowAndContext() {
    DWORD exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD createStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (fullscreen) {
        plat::showCursor(false);
        exStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
        createStyle = WS_POPUP | WS_VISIBLE;
    }

    plat::Rect rect{0, 0, width, height};
    plat::adjustWindowRect(&rect, style, exStyle);
    g_hWnd = plat::createWindow(exStyle, DISPLAY_CLASS_NAME, title.c_str(), createStyle, 0, 0,
                                rect.right - rect.left, rect.bottom - rect.top, g_hInstance);
    if (!g_hWnd) return false;

    g_hDC = plat::getDC(g_hWnd);
    if (!g_hDC) return false;
    const plat::PixelFormatDescriptor pfd = pixelFormatFor(colorBits);
    const int format = plat::choosePixelFormat(g_hDC, pfd);
    if (format == 0 || !plat::setPixelFormat(g_hDC, format, pfd)) return false;
    g_hRC = plat::createContext(g_hDC);
    if (!g_hRC) return false;
    return plat::makeCurrent(g_hDC, g_hRC);
}

void Display::writeStartupBanner() {
    g_debugLog.writeLine("%s", "");
    for (const char* line : STARTUP_BANNER)
        g_debugLog.writeLine("%s", line);
    g_debugLog.writeLine("%s", "");
}

void Display::destroyWindow() {
    if (fullscreen) plat::restoreDisplayMode();

    g_debugLog.writeLine("\n");
    g_debugLog.writeLine(PEL_LOG_RULE);
    g_debugLog.writeLine(PEL_LOG_ENGINE_LINE);
    g_debugLog.writeLine(PEL_LOG_AUTHOR_LINE);
    g_debugLog.writeLine(PEL_LOG_RULE "\n");
    g_debugLog.writeLine("</pre>");
    g_debugLog.writeLine("</body>");
    g_debugLog.writeLine("</html>");

    if (g_hRC) {
        plat::makeCurrent(nullptr, nullptr);
        plat::deleteContext(g_hRC);
        g_hRC = nullptr;
    }
    if (g_hDC) plat::releaseDC(g_hWnd, g_hDC);
    if (g_hWnd) plat::destroyWindow(g_hWnd);
    plat::unregisterClass(DISPLAY_CLASS_NAME, g_hInstance);
}

void Display::resizeScene(int newWidth, int newHeight, double newFieldOfView) {
    if (newHeight == 0) newHeight = 1;
    glViewport(0, 0, newWidth, newHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The aspect has always been the whole-number quotient: 640 x 480 projects with 1.0, not 1.333.
    const int wholeAspect = newWidth / newHeight;
    gluPerspective(newFieldOfView, static_cast<double>(wholeAspect), static_cast<double>(DISPLAY_NEAR_PLANE),
                   DISPLAY_FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Display::setOrtho2D(int on) {
    if (on == 1) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glDisable(GL_BLEND);
        glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
    } else if (on == 0) {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }
}

void Display::clearScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void Display::present() {
    glFlush();
    plat::swapBuffers(g_hDC);
}

bool Display::pumpMessages() {
    plat::Message message;
    while (plat::peekMessage(&message)) {
        plat::translateMessage(message);
        plat::dispatchMessage(message);
        if (message.message == WM_QUIT) return false;
    }
    return true;
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            g_display.active = HIWORD(wParam) == 0;
            return 0;
        case WM_SYSCOMMAND:
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            break;
        case WM_CLOSE:
            plat::postQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
        case WM_CHAR:
            return 0;  // the keyboard is read through the input system
        case WM_SIZE:
            g_display.width = LOWORD(static_cast<WPARAM>(lParam));
            g_display.height = HIWORD(static_cast<WPARAM>(lParam));
            g_display.resizeScene(g_display.width, g_display.height, g_display.fieldOfView);
            return 0;
        default:
            break;
    }
    return plat::defWindowProc(window, message, wParam, lParam);
}
