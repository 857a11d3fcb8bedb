// The file operations of the platform contract on a system whose path separator is '/': every backend on
// Linux (the real one, the test fake, the asset tool's console) shares them.
#include <cstdio>
#include <cstdlib>
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

// A copy, not a mapping: a mapped file cut short by another program would end this one with SIGBUS.
const std::uint8_t* mapFile(const char* path, std::size_t* size) {
    *size = 0;
    std::FILE* file = openFile(path, "rb");
    if (!file) return nullptr;
    long end = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) end = std::ftell(file);
    auto* bytes = end > 0 ? static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(end))) : nullptr;
    const bool read =
        bytes && std::fseek(file, 0, SEEK_SET) == 0 &&
        std::fread(bytes, 1, static_cast<std::size_t>(end), file) == static_cast<std::size_t>(end);
    std::fclose(file);
    if (!read) {
        std::free(bytes);
        return nullptr;
    }
    *size = static_cast<std::size_t>(end);
    return bytes;
}

void unmapFile(const std::uint8_t* view, std::size_t) {
    std::free(const_cast<std::uint8_t*>(view));
}

}  // namespace plat
