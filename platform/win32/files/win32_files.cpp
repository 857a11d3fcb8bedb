// The file operations of the platform contract on Windows, shared by the real backend, the test fake and the
// asset tool's console. The engine's paths are already Windows paths: they open as they stand.
#include <cstdio>

#include "platform/system.h"

namespace plat {

std::FILE* openFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    return std::fopen(path, mode);
}

}  // namespace plat
