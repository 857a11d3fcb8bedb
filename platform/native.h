// The operations of the contract that bring values from outside into the program, as a backend defines them.
//
// Everything that makes one run of the program differ from another enters through these: the clocks, the
// answers of message boxes, the display mode granted, the window messages and the pointer, every input
// device, and what the sound device and the music player report. The engine calls them as plat::NAME; the
// replay layer (platform/replay/) defines those and passes each call on to plat::native::NAME, recording what
// comes back
// (--record) or giving back what a recording holds instead (--replay, --timedemo). Window creation and the
// buffer swap are here too, so that the replay layer knows the window its messages name and counts frames.
//
// A backend adopts this by defining these operations as plat::native::NAME (for instance
// `HRESULT native::acquire(InputDevice* device)` inside its `namespace plat`) and the rest of the contract as
// plat::NAME, and a program links the engine, the replay layer and one backend. Each operation keeps the
// contract of its plat:: declaration in system.h, window.h, input.h, sound.h and media.h.
#pragma once

#include <cstdint>

#include "platform/input.h"
#include "platform/media.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "platform/window.h"

namespace plat::native {

// system.h
bool queryPerformanceFrequency(std::int64_t* frequency);
bool queryPerformanceCounter(std::int64_t* counter);
DWORD timeGetTime();
int messageBox(HWND owner, const char* text, const char* caption, UINT style);

// window.h
std::int32_t changeDisplayMode(int width, int height, int bitsPerPixel);
HWND createWindow(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y,
                  int width, int height, HINSTANCE instance);
bool swapBuffers(HDC dc);
bool peekMessage(Message* message);
bool getCursorPos(Point* point);

// input.h
HRESULT directInputCreate(HINSTANCE instance, DWORD version, InputObject** out, void* outer);
HRESULT createDevice(InputObject* input, const Guid& guid, InputDevice** out, void* outer);
HRESULT enumDevices(InputObject* input, DWORD devType, EnumDevicesCallback callback, void* context,
                    DWORD flags);
std::uint32_t release(InputObject* input);
HRESULT setDataFormat(InputDevice* device, const DataFormat* format);
HRESULT setCooperativeLevel(InputDevice* device, HWND window, DWORD flags);
HRESULT acquire(InputDevice* device);
HRESULT unacquire(InputDevice* device);
HRESULT getDeviceState(InputDevice* device, DWORD size, void* data);
HRESULT setProperty(InputDevice* device, PropertyId property, const PropertyHeader* header);
HRESULT getDeviceInfo(InputDevice* device, DeviceInstance* info);
HRESULT queryInterface(InputDevice* device, const Guid& iid, InputDevice2** out);
HRESULT poll(InputDevice2* device);
std::uint32_t release(InputDevice* device);

// sound.h
HRESULT directSoundCreate(SoundDevice** device);
HRESULT setCooperativeLevel(SoundDevice* device, HWND window, DWORD level);
HRESULT createSoundBuffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** buffer);
HRESULT duplicateSoundBuffer(SoundDevice* device, SoundBuffer* original, SoundBuffer** duplicate);
std::uint32_t releaseSoundDevice(SoundDevice* device);
HRESULT lockBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                   void** region2, DWORD* bytes2, DWORD flags);
HRESULT unlockBuffer(SoundBuffer* buffer, void* region1, DWORD bytes1, void* region2, DWORD bytes2);
HRESULT playBuffer(SoundBuffer* buffer, DWORD reserved, DWORD priority, DWORD flags);
HRESULT stopBuffer(SoundBuffer* buffer);
HRESULT getBufferStatus(SoundBuffer* buffer, DWORD* status);
HRESULT getCurrentPosition(SoundBuffer* buffer, DWORD* playCursor, DWORD* writeCursor);
HRESULT setCurrentPosition(SoundBuffer* buffer, DWORD position);
HRESULT restoreBuffer(SoundBuffer* buffer);
std::uint32_t releaseBuffer(SoundBuffer* buffer);

// media.h
HRESULT coInitialize();
void coUninitialize();
HRESULT createFilterGraph(GraphBuilder** graph);
HRESULT queryMediaControl(GraphBuilder* graph, MediaControl** control);
HRESULT queryMediaEvent(GraphBuilder* graph, MediaEvent** events);
HRESULT queryMediaSeeking(GraphBuilder* graph, MediaSeeking** seeking);
HRESULT renderFile(GraphBuilder* graph, const wchar_t* file, const wchar_t* playList);
HRESULT run(MediaControl* control);
HRESULT stop(MediaControl* control);
HRESULT getEvent(MediaEvent* events, long* code, LONG_PTR* param1, LONG_PTR* param2, long timeoutMs);
HRESULT freeEventParams(MediaEvent* events, long code, LONG_PTR param1, LONG_PTR param2);
HRESULT setPositions(MediaSeeking* seeking, LONGLONG* current, DWORD currentFlags, LONGLONG* stopPosition,
                     DWORD stopFlags);
std::uint32_t release(GraphBuilder* graph);
std::uint32_t release(MediaControl* control);
std::uint32_t release(MediaEvent* events);
std::uint32_t release(MediaSeeking* seeking);

}  // namespace plat::native
