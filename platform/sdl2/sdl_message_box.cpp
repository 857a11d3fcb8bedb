// Message boxes on SDL2. A file of its own, so that a program that must not wait for a person (a benchmark of
// the start-up) can link its own answers in its place.
#include <SDL.h>

#include <cstdio>

#include "platform/native.h"
#include "platform/system.h"

namespace plat {

namespace {

Uint32 messageBoxFlags(UINT style) {
    switch (style & MB_ICONMASK) {
        case MB_ICONHAND:
            return SDL_MESSAGEBOX_ERROR;
        case MB_ICONEXCLAMATION:
            return SDL_MESSAGEBOX_WARNING;
        default:
            return SDL_MESSAGEBOX_INFORMATION;
    }
}

}  // namespace

int native::messageBox(HWND, const char* text, const char* caption, UINT style) {
    static const SDL_MessageBoxButtonData okButton[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"}};
    // SDL lays buttons out in array order; No first puts Yes on the right, as a Windows box has it.
    static const SDL_MessageBoxButtonData yesNoButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"}};
    const bool yesNo = (style & MB_TYPEMASK) == MB_YESNO;

    SDL_MessageBoxData box{};
    box.flags = messageBoxFlags(style);
    box.title = caption ? caption : "";
    box.message = text ? text : "";
    box.numbuttons = yesNo ? 2 : 1;
    box.buttons = yesNo ? yesNoButtons : okButton;

    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        // No box could be shown (no display, no fonts): say on the terminal what it would have said, and take
        // the answer a player pressing Return would give, so the program goes on as far as it can.
        std::fprintf(stderr, "%s: %s\n", box.title, box.message);
        return yesNo ? IDYES : IDOK;
    }
    return pressed < 0 ? (yesNo ? IDNO : IDOK) : pressed;
}

}  // namespace plat
