// The file operations of the platform contract on Windows, shared by the real backend, the test fake and the
// asset tool's console. The engine's paths are already Windows paths: they open as they stand.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/system.h"

namespace plat {

std::FILE* openFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    return std::fopen(path, mode);
}

const std::uint8_t* mapFile(const char* path, std::size_t* size) {
    *size = 0;
    if (!path) return nullptr;
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER length{};
    // Only a file the address space can hold whole is mapped (a 32-bit program's limit).
    const bool mappable =
        GetFileSizeEx(file, &length) && length.QuadPart > 0 &&
        static_cast<std::size_t>(length.QuadPart) == static_cast<std::uint64_t>(length.QuadPart);
    // The view keeps the mapping, and the mapping the file: both handles can go at once.
    const HANDLE mapping =
        mappable ? CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
    CloseHandle(file);
    if (!mapping) return nullptr;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    CloseHandle(mapping);
    if (!view) return nullptr;
    *size = static_cast<std::size_t>(length.QuadPart);
    return static_cast<const std::uint8_t*>(view);
}

void unmapFile(const std::uint8_t* view, std::size_t) {
    if (view) UnmapViewOfFile(view);
}

}  // namespace plat
