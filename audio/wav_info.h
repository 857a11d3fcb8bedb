// What the engine makes of a WAV file, in one line: the report of `peltool wavinfo`.
#pragma once

#include <string>

#include "platform/types.h"

// Reads the file as a sound load does and walks its chunks. On success returns S_OK and sets *line to
// "pcm channels=C rate=R bits=B data=D" (D the sample bytes); otherwise returns the failure and sets *line to
// its name (E_INVALIDARG, E_FAIL, DSERR_BADFORMAT, E_NOTIMPL, WAVE_E_TRUNCATED, ...).
HRESULT describeWave(const char* path, std::string* line);

// The name of a result code a WAV load can give, or its value in hexadecimal.
std::string waveResultName(HRESULT result);
