// A stand-in for the terminal and the process, so that one fuzzing process
// can play many whole program runs: standard input and the keyboard are
// byte buffers, output goes to a bounded buffer, and ending the program
// returns to the harness instead of ending the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// What the surroundings of one run deliver.
struct FuzzSurroundings {
    const uint8_t* input;  // standard input
    size_t inputSize;
    const uint8_t* keys;  // the keyboard, as the bytes a terminal sends
    size_t keySize;
    bool hasConsole;  // without one, keys come from standard input
    bool keyPauses;   // a key byte 0xFF stands for a pause in the typing
};

// The key byte that stands for a pause when pauses are on: an Esc before
// it is a key of its own, as when the user presses Esc and then waits.
constexpr uint8_t kPauseByte = 0xFF;

// Sets up the surroundings of a new run; the previous run's are dropped.
void beginFuzzRun(const FuzzSurroundings& surroundings);

// Releases what the run held.
void endFuzzRun();

// Runs one stage of the program. Returns false when the program ended
// inside it; fuzzExitStatus() then tells the status it ended with.
bool runStage(void (*stage)());

int fuzzExitStatus();

// Writes the end of what the run printed (as much as the buffer keeps),
// for looking at a saved input.
void showFuzzOutput(FILE* to);
