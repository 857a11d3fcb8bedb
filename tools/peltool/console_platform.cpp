// The platform operations the engine's file readers call, for a console tool: message boxes become lines on
// stderr, there is no window, and files open as the engine opens them. A subcommand that runs another reader
// adds the operations that reader needs here.
#include <cstdio>
#include <cstring>

#include "platform/system.h"
#include "platform/window.h"

namespace plat {

int messageBox(HWND, const char* text, const char* caption, UINT) {
    const char* body = text ? text : "";
    const std::size_t length = std::strlen(body);
    std::fprintf(stderr, "%s: %s%s", caption ? caption : "", body,
                 length > 0 && body[length - 1] == '\n' ? "" : "\n");
    return IDOK;
}

HWND getFocus() {
    return nullptr;
}

}  // namespace plat
