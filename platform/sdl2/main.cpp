// The process entry on systems without WinMain.
#include "core/entry.h"

int main() {
    return WinMain(nullptr, nullptr, nullptr, SW_SHOW);
}
