// System services of the platform contract: clocks, message boxes, files.
//
// Each operation stands for one Win32 call and keeps its inputs, results and meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "platform/types.h"

namespace plat {

// QueryPerformanceFrequency: ticks per second of the high-resolution counter. False when there is none.
bool queryPerformanceFrequency(std::int64_t* frequency);

// QueryPerformanceCounter: the current value of the high-resolution counter. False when there is none.
bool queryPerformanceCounter(std::int64_t* counter);

// timeGetTime: milliseconds since an arbitrary start, wrapping at 2^32.
DWORD timeGetTime();

// GetModuleHandleA of the program itself.
HINSTANCE getModuleHandle();

// MessageBoxA: shows a modal box and returns the button pressed (IDOK, IDYES, IDNO, ...), or 0 when no box
// could be shown. `style` combines one MB_ button set with one MB_ icon. A null owner makes it owner-less.
int messageBox(HWND owner, const char* text, const char* caption, UINT style);

// fopen on one of the program's own relative paths. The engine writes paths the Windows way; a backend on a
// system whose separator is '/' maps every '\' to '/'. The caller closes the stream with fclose.
std::FILE* openFile(const char* path, const char* mode);

// CreateFileA, CreateFileMappingA and MapViewOfFile of one of the program's own files, whole and read-only:
// its bytes and their count in *size, until unmapFile(view, *size). Null (and *size 0) when the file cannot
// be opened or mapped, and for an empty file, which has nothing to map. A backend without file mapping may
// hand out a copy instead; either way the bytes must not be written to.
const std::uint8_t* mapFile(const char* path, std::size_t* size);
// UnmapViewOfFile of a view mapFile gave; `size` is the size it gave with it.
void unmapFile(const std::uint8_t* view, std::size_t size);

}  // namespace plat
