// peltool wavinfo IN.wav: what the engine makes of a WAV file. Prints "pcm channels=C rate=R bits=B data=D"
// and exits 0, or prints the name of the load's failure and exits 1.
#include <cstdio>
#include <string>

#include "audio/wav_info.h"
#include "tools/peltool/commands.h"

int wavinfoCommand(char** args) {
    std::string line;
    const HRESULT result = describeWave(args[0], &line);
    std::printf("%s\n", line.c_str());
    return SUCCEEDED(result) ? 0 : 1;
}
