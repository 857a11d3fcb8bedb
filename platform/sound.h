// The sound device and its buffers in the platform contract, shaped like DirectSound.
//
// Each operation stands for one DirectSound call (DirectSoundCreate, or a method of IDirectSound or
// IDirectSoundBuffer) and keeps its inputs, result codes and meaning. Handles are opaque; each backend
// decides what lies behind them. A buffer stays valid (and keeps the output open) until releaseBuffer, even
// after its device has been released.
#pragma once

#include <cstdint>

#include "platform/types.h"

#ifdef _WIN32
// The Windows build speaks DirectSound's own definitions.
#include <mmsystem.h>

#include <dsound.h>
#else
// Result codes of the sound device (MAKE_DSHRESULT values and the COM codes DirectSound reuses).
constexpr HRESULT DS_OK = S_OK;
constexpr HRESULT DSERR_ALLOCATED = static_cast<HRESULT>(0x8878000Au);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_GENERIC = E_FAIL;
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_ALREADYINITIALIZED = static_cast<HRESULT>(0x88780082u);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096u);
constexpr HRESULT DSERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x887800A0u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);

// Cooperative levels.
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// Buffer capabilities (SoundBufferDesc::flags).
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001u;
constexpr DWORD DSBCAPS_STATIC = 0x00000002u;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020u;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040u;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080u;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000u;

// Buffer status bits.
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001u;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002u;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004u;

// Play and lock flags.
constexpr DWORD DSBPLAY_LOOPING = 0x00000001u;
constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001u;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002u;

// Buffer sizes and rates a device accepts.
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFFu;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;
#endif

namespace plat {

// WAVEFORMATEX, member for member. `extraSize` is 0 when the block the caller holds ends before it.
struct WaveFormat {
    std::uint16_t formatTag;
    std::uint16_t channels;
    std::uint32_t samplesPerSec;
    std::uint32_t avgBytesPerSec;
    std::uint16_t blockAlign;
    std::uint16_t bitsPerSample;
    std::uint16_t extraSize;
};

// DSBUFFERDESC, member for member; `size` is the structure size the engine passes (36).
struct SoundBufferDesc {
    DWORD size;
    DWORD flags;
    DWORD bufferBytes;
    DWORD reserved;
    const WaveFormat* format;
};

struct SoundDevice;
struct SoundBuffer;

// DirectSoundCreate for the default device. Stores the device in *device, or null on failure
// (DSERR_NODRIVER when there is no sound hardware).
HRESULT directSoundCreate(SoundDevice** device);
// IDirectSound::SetCooperativeLevel with the main window and one DSSCL_ level.
HRESULT setCooperativeLevel(SoundDevice* device, HWND window, DWORD level);
// IDirectSound::CreateSoundBuffer: a secondary buffer of desc.bufferBytes bytes in desc.format (PCM only),
// its contents silent until locked and written. DSERR_BADFORMAT for a format the device cannot play,
// DSERR_INVALIDPARAM for a size outside DSBSIZE_MIN..DSBSIZE_MAX. Stores null in *buffer on failure.
HRESULT createSoundBuffer(SoundDevice* device, const SoundBufferDesc& desc, SoundBuffer** buffer);
// IDirectSound::DuplicateSoundBuffer: a second buffer sharing the original's samples, with its own position
// and status (stopped, at 0). Stores null in *duplicate on failure.
HRESULT duplicateSoundBuffer(SoundDevice* device, SoundBuffer* original, SoundBuffer** duplicate);
// IDirectSound::Release.
std::uint32_t releaseSoundDevice(SoundDevice* device);

// IDirectSoundBuffer::Lock: up to two regions covering `bytes` bytes from `offset` (the second one when the
// range wraps around the end). DSBLOCK_ENTIREBUFFER locks the whole buffer and ignores `bytes`.
HRESULT lockBuffer(SoundBuffer* buffer, DWORD offset, DWORD bytes, void** region1, DWORD* bytes1,
                   void** region2, DWORD* bytes2, DWORD flags);
// IDirectSoundBuffer::Unlock with the regions Lock gave. The samples written become what the buffer plays.
HRESULT unlockBuffer(SoundBuffer* buffer, void* region1, DWORD bytes1, void* region2, DWORD bytes2);
// IDirectSoundBuffer::Play from the current position; once, or with DSBPLAY_LOOPING until stopped.
HRESULT playBuffer(SoundBuffer* buffer, DWORD reserved, DWORD priority, DWORD flags);
// IDirectSoundBuffer::Stop: stops where it is; the position stays.
HRESULT stopBuffer(SoundBuffer* buffer);
// IDirectSoundBuffer::GetStatus: DSBSTATUS_ bits.
HRESULT getBufferStatus(SoundBuffer* buffer, DWORD* status);
// IDirectSoundBuffer::GetCurrentPosition and SetCurrentPosition, in bytes of the buffer's own format.
HRESULT getCurrentPosition(SoundBuffer* buffer, DWORD* playCursor, DWORD* writeCursor);
HRESULT setCurrentPosition(SoundBuffer* buffer, DWORD position);
// IDirectSoundBuffer::Restore: makes a lost buffer usable again; its samples must be written again.
HRESULT restoreBuffer(SoundBuffer* buffer);
// IDirectSoundBuffer::Release.
std::uint32_t releaseBuffer(SoundBuffer* buffer);

}  // namespace plat
