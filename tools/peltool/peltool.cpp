// peltool SUBCOMMAND ARGS...: packs and unpacks the engine's .spr images and decodes bitmaps the way the
// engine reads them. peltool --help and peltool --version answer on standard output, as GNU tools do.
#include <cstdio>
#include <cstring>

#include "tools/peltool/commands.h"

namespace {

constexpr int EXIT_USAGE = 2;

struct Command {
    const char* name;
    const char* arguments;
    const char* summary;
    int argumentCount;
    int (*run)(char** args);
};

// One row per subcommand; usage text and dispatch both come from here.
const Command COMMANDS[] = {
    {"pack", "IN OUT.spr", "compress any file into a .spr image", 2, packCommand},
    {"unpack", "IN.spr OUT.bmp", "expand a .spr image as the engine does", 2, unpackCommand},
    {"decode", "IN.bmp OUT.ppm", "read a bitmap as the engine does; write a binary PPM, top row first", 2,
     decodeCommand},
    {"wavinfo", "IN.wav", "report a WAV file as the engine loads it", 1, wavinfoCommand},
};

void printUsage(std::FILE* out) {
    std::fprintf(out, "usage: peltool COMMAND ARGS...\n       peltool --help | --version\n\ncommands:\n");
    for (const Command& command : COMMANDS) {
        std::fprintf(out, "  %-7s %-16s %s\n", command.name, command.arguments, command.summary);
    }
    std::fprintf(out,
                 "\nExit status: 0 done, 1 failed (the reason is printed), 2 usage error.\n"
                 "See peltool(1).\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0)) {
        printUsage(stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("peltool %s\n", PEL_VERSION);
        return 0;
    }
    if (argc >= 2) {
        for (const Command& command : COMMANDS) {
            if (std::strcmp(argv[1], command.name) != 0) continue;
            if (argc - 2 == command.argumentCount) return command.run(argv + 2);
            std::fprintf(stderr, "peltool %s: expects %s\n", command.name, command.arguments);
            printUsage(stderr);
            return EXIT_USAGE;
        }
        std::fprintf(stderr, "peltool: unknown command '%s'\n", argv[1]);
    }
    printUsage(stderr);
    return EXIT_USAGE;
}
