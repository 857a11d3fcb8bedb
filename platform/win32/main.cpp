// The process entry on Windows: the replay layer's options, then the engine's WinMain with what Windows
// would have passed it.
#include <cstdio>

#include "core/entry.h"
#include "platform/replay/replay.h"

namespace {

// The command line after the program's name, as WinMain receives it.
char* commandTail() {
    char* cursor = GetCommandLineA();
    if (*cursor == '"') {
        ++cursor;
        while (*cursor && *cursor != '"')
            ++cursor;
        if (*cursor == '"') ++cursor;
    } else {
        while (*cursor && *cursor != ' ' && *cursor != '\t')
            ++cursor;
    }
    while (*cursor == ' ' || *cursor == '\t')
        ++cursor;
    return cursor;
}

// How the starting program asked the window to be shown.
int showCommand() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

// A window program started from a console has no standard streams of its own. When it is given options, its
// usage and error lines go to the console it was started from.
void reachParentConsole(int argc) {
    const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    if (argc < 2 || (errors && errors != INVALID_HANDLE_VALUE)) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::FILE* reopened = std::freopen("CONOUT$", "w", stderr);
    reopened = reopened ? std::freopen("CONOUT$", "w", stdout) : nullptr;
    static_cast<void>(reopened);
}

}  // namespace

int main(int argc, char** argv) {
    reachParentConsole(argc);
    int status = 0;
    if (!replay::start(argc, argv, &status)) return status;
    return replay::finish(WinMain(GetModuleHandleA(nullptr), nullptr, commandTail(), showCommand()));
}
