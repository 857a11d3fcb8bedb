// The file operations of the platform contract on a system whose path separator is '/': every backend on
// Linux (the real one, the test fake, the asset tool's console) shares them.
#include <cstdio>
#include <string>

#include "platform/system.h"

namespace plat {

std::FILE* openFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    std::string local(path);
    for (char& c : local) {
        if (c == '\\') c = '/';
    }
    return std::fopen(local.c_str(), mode);
}

}  // namespace plat
