#include "audio/wav_info.h"

#include <cstdio>
#include <vector>

#include "audio/wav_reader.h"
#include "platform/system.h"

namespace {

struct ResultName {
    HRESULT result;
    const char* name;
};

const ResultName RESULT_NAMES[] = {
    {S_OK, "S_OK"},
    {E_INVALIDARG, "E_INVALIDARG"},
    {E_FAIL, "E_FAIL"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {DSERR_BADFORMAT, "DSERR_BADFORMAT"},
    {DSERR_UNINITIALIZED, "DSERR_UNINITIALIZED"},
    {WAVE_E_TRUNCATED, "WAVE_E_TRUNCATED"},
};

// The whole file, read as a sound load reads it; E_FAIL when it does not open or a read fails.
HRESULT readWholeFile(const char* path, std::vector<std::uint8_t>* image) {
    std::FILE* file = plat::openFile(path, "rb");
    if (!file) return E_FAIL;
    std::uint8_t chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        image->insert(image->end(), chunk, chunk + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? E_FAIL : S_OK;
}

}  // namespace

std::string waveResultName(HRESULT result) {
    for (const ResultName& entry : RESULT_NAMES) {
        if (entry.result == result) return entry.name;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(result));
    return hex;
}

HRESULT describeWave(const char* path, std::string* line) {
    HRESULT result = path ? S_OK : E_INVALIDARG;
    std::vector<std::uint8_t> image;
    if (SUCCEEDED(result)) result = readWholeFile(path, &image);
    WaveLayout layout{};
    if (SUCCEEDED(result)) result = walkWave(image.data(), image.size(), &layout);
    if (FAILED(result)) {
        *line = waveResultName(result);
        return result;
    }
    char text[128];
    std::snprintf(text, sizeof text, "pcm channels=%u rate=%u bits=%u data=%u", layout.format.channels,
                  layout.format.samplesPerSec, layout.format.bitsPerSample, layout.dataBytes);
    *line = text;
    return S_OK;
}
