// Recording and replaying whole runs of the program. The replay layer sits between the engine and the backend
// (see platform/native.h): without options it passes every call straight on.
//
//   --record FILE    plays as usual and writes every value that enters through the contract to FILE;
//   --replay FILE    runs on the values FILE holds instead of the devices and clocks, at the recorded pace,
//                    drawing and sounding as usual; message boxes are answered from FILE, not shown;
//   --timedemo FILE  replays FILE as fast as the machine draws, then prints frames, seconds and frames per
//                    second on one line.
// A replay that cannot go on (the file is from another version, cut short or corrupted, or this run asks for
// something else than the recorded one did) ends the process with a message on stderr and REPLAY_FAILED.
#pragma once

namespace replay {

constexpr int EXIT_USAGE = 2;
constexpr int REPLAY_FAILED = 3;

// Called where the process begins, before the engine starts: reads the options. True to go on and run the
// engine; false when the process must end now with *exitStatus (a wrong option, a recording that cannot be
// written or read), after saying why on stderr.
bool start(int argc, char** argv, int* exitStatus);

// Called when the engine's entry routine has returned with `status`: finishes the recording, or checks that
// the replay used the whole recording and prints the timedemo's line. Returns the process's exit status.
int finish(int status);

// Frames presented so far (buffer swaps) while recording or replaying.
unsigned framesPresented();

// Called with each frame's number just before the frame is presented, while recording or replaying: a test
// harness can read the finished frame then. Null for none.
using FrameObserver = void (*)(unsigned frame);
void setFrameObserver(FrameObserver observer);

}  // namespace replay
