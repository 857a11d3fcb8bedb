// The replay layer's options, its start and finish, and the records its operations share.
#include "platform/replay/session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/replay/replay.h"

namespace replay {

Session g_session;

namespace {

using Clock = std::chrono::steady_clock;

const char* g_program = "brikatan";
const char* g_path = "";
std::FILE* g_output = nullptr;
unsigned g_frames = 0;
FrameObserver g_observer = nullptr;

// Pacing: the first replayed counter reading and the wall clock at that moment.
bool g_paceStarted = false;
std::int64_t g_paceFirstCounter = 0;
std::int64_t g_paceFrequency = 0;
Clock::time_point g_paceStart;
Clock::time_point g_firstFrame;

int usage() {
    std::fprintf(stderr,
                 "usage: %s [--record FILE | --replay FILE | --timedemo FILE]\n"
                 "  --record FILE    play as usual and record the game into FILE\n"
                 "  --replay FILE    play the recorded game back at its own pace\n"
                 "  --timedemo FILE  play it back as fast as it can be drawn and print the frame rate\n",
                 g_program);
    return EXIT_USAGE;
}

bool readWhole(const char* path, std::vector<std::uint8_t>* bytes, std::string* error) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        *error = std::strerror(errno);
        return false;
    }
    std::uint8_t chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        if (bytes->size() + got > RECORDING_MAX_BYTES) {
            *error = "too large to be a recording";
            std::fclose(file);
            return false;
        }
        bytes->insert(bytes->end(), chunk, chunk + got);
    }
    const bool readFailed = std::ferror(file) != 0;
    std::fclose(file);
    if (readFailed) *error = "it cannot be read";
    return !readFailed;
}

bool startRecording(int* exitStatus) {
    g_output = std::fopen(g_path, "wb");
    // Whole blocks are written at once; the stream needs no buffer of its own.
    if (g_output) std::setvbuf(g_output, nullptr, _IONBF, 0);
    if (!g_output || !g_session.writer.begin(g_output)) {
        std::fprintf(stderr, "%s: cannot write the recording %s: %s\n", g_program, g_path,
                     std::strerror(errno));
        if (g_output) std::fclose(g_output);
        *exitStatus = EXIT_USAGE;
        return false;
    }
    g_session.mode = Mode::record;
    return true;
}

bool startReplay(int* exitStatus) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readWhole(g_path, &bytes, &error) || !g_session.reader.load(std::move(bytes))) {
        if (error.empty()) error = g_session.reader.error;
        std::fprintf(stderr, "%s: cannot replay %s: %s\n", g_program, g_path, error.c_str());
        *exitStatus = REPLAY_FAILED;
        return false;
    }
    g_session.mode = Mode::replay;
    return true;
}

// The run's last record: written when recording; when replaying, it must be what the recording holds next.
void lastRecord() {
    const Entry last(Op::end);
}

int finishRecording(int status) {
    lastRecord();
    g_session.mode = Mode::off;
    const bool written = g_session.writer.flush() && std::fclose(g_output) == 0;
    if (written) return status;
    std::fprintf(stderr, "%s: the recording %s could not be written whole\n", g_program, g_path);
    return status != 0 ? status : REPLAY_FAILED;
}

int finishReplay(int status) {
    lastRecord();
    g_session.ended = true;
    if (g_session.timedemo) {
        // Timed from the first frame presented to the last, so start-up (loading the pictures) is left out.
        const double seconds = std::chrono::duration<double>(Clock::now() - g_firstFrame).count();
        const unsigned frames = g_frames > 1 ? g_frames - 1 : 0;
        std::printf("timedemo %s: %u frames, %.3f seconds, %.1f frames per second\n", g_path, frames, seconds,
                    seconds > 0 ? frames / seconds : 0.0);
        std::fflush(stdout);
    }
    return status;
}

}  // namespace

bool start(int argc, char** argv, int* exitStatus) {
    *exitStatus = 0;
    g_session = Session{};
    g_frames = 0;
    g_paceStarted = false;
    if (argc > 0 && argv[0]) {
        const char* slash = std::strrchr(argv[0], '/');
        g_program = slash ? slash + 1 : argv[0];
    }
    if (argc <= 1) return true;
    const char* option = argv[1];
    if (argc != 3) {
        *exitStatus = usage();
        return false;
    }
    g_path = argv[2];
    if (std::strcmp(option, "--record") == 0) return startRecording(exitStatus);
    if (std::strcmp(option, "--replay") == 0) return startReplay(exitStatus);
    if (std::strcmp(option, "--timedemo") == 0) {
        g_session.timedemo = true;
        return startReplay(exitStatus);
    }
    *exitStatus = usage();
    return false;
}

int finish(int status) {
    if (recording()) return finishRecording(status);
    if (replaying()) return finishReplay(status);
    return status;
}

unsigned framesPresented() {
    return g_frames;
}

void setFrameObserver(FrameObserver observer) {
    g_observer = observer;
}

// Called by the buffer swap of a recorded or replayed run, before the frame is presented.
void framePresented() {
    if (g_observer) g_observer(g_frames);
    if (g_frames == 0) g_firstFrame = Clock::now();
    ++g_frames;
}

void fail(const char* why) {
    std::fprintf(stderr, "%s: replay of %s stopped at frame %u: %s\n", g_program, g_path, g_frames, why);
    std::fflush(nullptr);
    // The engine is in the middle of a frame and cannot be unwound from here; nothing of the replay is left
    // to save, and the window and the devices go with the process.
    std::_Exit(REPLAY_FAILED);
}

void pace(std::int64_t counter) {
    if (g_session.timedemo || g_paceFrequency <= 0) return;
    const Clock::time_point now = Clock::now();
    if (!g_paceStarted) {
        g_paceStarted = true;
        g_paceFirstCounter = counter;
        g_paceStart = now;
        return;
    }
    const double recorded =
        static_cast<double>(counter - g_paceFirstCounter) / static_cast<double>(g_paceFrequency);
    const auto due =
        g_paceStart + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(recorded));
    if (due > now) std::this_thread::sleep_until(due);
}

void setPaceFrequency(std::int64_t frequency) {
    g_paceFrequency = frequency;
}

Entry::Entry(Op op) {
    if (recording()) {
        g_session.writer.op(op);
    } else if (replaying()) {
        const Op found = g_session.reader.op();
        if (g_session.reader.failed()) fail(g_session.reader.error.c_str());
        if (found != op) {
            static char why[200];
            std::snprintf(why, sizeof why,
                          "this run asks for %s where the recording has %s: it was recorded with other game "
                          "files, another program, or it is corrupted",
                          opName(op), opName(found));
            fail(why);
        }
    }
}

Entry::~Entry() {
    if (replaying() && g_session.reader.failed()) fail(g_session.reader.error.c_str());
}

Entry& Entry::result(HRESULT& value) {
    auto bits = static_cast<std::uint32_t>(value);
    bits = bits << 1 | bits >> 31;
    number(bits);
    bits = bits >> 1 | bits << 31;
    value = static_cast<HRESULT>(bits);
    return *this;
}

Entry& Entry::flag(bool& value) {
    std::uint8_t bit = recording() && value ? 1 : 0;
    number(bit);
    if (replaying() && bit > 1) fail("corrupted: a yes-or-no value of more than 1");
    value = bit != 0;
    return *this;
}

Entry& Entry::reading(std::int64_t& value, std::int64_t& last) {
    // In unsigned arithmetic, which wraps, so that no reading (or corrupted difference) can overflow.
    auto difference =
        static_cast<std::int64_t>(static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(last));
    number(difference);
    value =
        static_cast<std::int64_t>(static_cast<std::uint64_t>(last) + static_cast<std::uint64_t>(difference));
    last = value;
    return *this;
}

Entry& Entry::bytes(void* data, std::size_t size) {
    if (recording())
        g_session.writer.bytes(data, size);
    else if (replaying())
        g_session.reader.bytes(data, size);
    return *this;
}

Op either(Op first, Op second, bool firstInRecording) {
    if (!replaying()) return firstInRecording ? first : second;
    const Op next = g_session.reader.nextOp();
    return next == second ? second : first;
}

}  // namespace replay
