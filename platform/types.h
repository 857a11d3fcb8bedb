// Windows-shaped types, result codes, window messages and flags of the platform contract.
//
// The engine was written against Win32 and DirectX; every operating-system call it makes is one operation of
// the contract in this folder, shaped like the call it stands for. These definitions carry the Windows values
// so that every backend, and every test, speaks the same numbers. On Windows they are the SDK's own.
//
// A backend defines every operation of the contract, under its plat:: name, except those that bring values
// from outside into the program (clocks, message boxes, the display mode, window messages, input devices,
// what the sound and the music report): those it defines as plat::native::NAME, listed in platform/native.h,
// and the replay layer (platform/replay/) defines their plat:: names, recording or replaying what passes.
#pragma once

#include <cstdint>

#ifdef _WIN32

// Only what the engine names: no min/max macros, none of the rarely used headers.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#else

// The calling convention of the Windows entry points; nothing on other systems.
#define WINAPI

// Opaque handles. Each backend decides what lies behind them; the engine only stores and passes them.
struct HINSTANCE__;
struct HWND__;
struct HDC__;
struct HGLRC__;
using HINSTANCE = HINSTANCE__*;
using HWND = HWND__*;
using HDC = HDC__*;
using HGLRC = HGLRC__*;

using HRESULT = std::int32_t;
using UINT = std::uint32_t;
using DWORD = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Result codes (HRESULT). Negative values are failures.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_ABORT = static_cast<HRESULT>(0x80004004u);

constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

constexpr std::uint16_t LOWORD(std::uintptr_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFF);
}
constexpr std::uint16_t HIWORD(std::uintptr_t value) {
    return static_cast<std::uint16_t>((value >> 16) & 0xFFFF);
}
constexpr LPARAM MAKELPARAM(std::uint16_t low, std::uint16_t high) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16));
}
constexpr WPARAM MAKEWPARAM(std::uint16_t low, std::uint16_t high) {
    return static_cast<WPARAM>(static_cast<std::uint32_t>(low) | (static_cast<std::uint32_t>(high) << 16));
}

// Window messages the engine sends, receives or posts.
constexpr UINT WM_SIZE = 5;
constexpr UINT WM_ACTIVATE = 6;
constexpr UINT WM_CLOSE = 16;
constexpr UINT WM_QUIT = 18;
constexpr UINT WM_KEYDOWN = 256;
constexpr UINT WM_CHAR = 258;
constexpr UINT WM_SYSCOMMAND = 274;

// WM_ACTIVATE: the low word of wParam says how, the high word is non-zero while the window is minimised.
constexpr std::uint16_t WA_INACTIVE = 0;
constexpr std::uint16_t WA_ACTIVE = 1;

// WM_SYSCOMMAND commands.
constexpr WPARAM SC_SCREENSAVE = 0xF140;    // 61760
constexpr WPARAM SC_MONITORPOWER = 0xF170;  // 61808

// Message boxes: buttons, icons, answers.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Window class and window styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_VISIBLE = 0x10000000u;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000u;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000u;
constexpr DWORD WS_OVERLAPPEDWINDOW = 0x00CF0000u;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100u;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000u;
constexpr int SW_SHOW = 5;

// Pixel format descriptor flags and values.
constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001u;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004u;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020u;
constexpr std::uint8_t PFD_TYPE_RGBA = 0;
constexpr std::uint8_t PFD_MAIN_PLANE = 0;

// Result of a display mode change.
constexpr std::int32_t DISP_CHANGE_SUCCESSFUL = 0;
constexpr std::int32_t DISP_CHANGE_FAILED = -1;
constexpr std::int32_t DISP_CHANGE_BADMODE = -2;

#endif  // _WIN32
