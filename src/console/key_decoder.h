// Turns the bytes a terminal sends for one key press into key codes.
// Keys that produce no character (arrows, function keys, Alt combinations)
// arrive as escape sequences; they are decoded into the classic two-code
// form: a lead code 0 or 0xE0, then a second code.
#pragma once

// What a byte reader returns when no byte arrives in time, or when the
// terminal cannot deliver any more (hang-up, read error).
constexpr int kNoByte = -1;
constexpr int kByteFailure = -2;

// How long to wait for the byte after an Esc before taking the Esc as a
// key of its own; long enough for a remote terminal.
constexpr int kEscapeWaitMs = 50;

// Returns the next byte 0..255, kNoByte when none arrives within
// timeoutMs (a negative timeout waits as long as it takes), or kByteFailure.
typedef int (*ByteReader)(void* context, int timeoutMs);

// Reads one key press and stores its codes in codes[0] (and codes[1] for
// a key of two codes). Returns the number of codes, 1 or 2, or 0 when the
// reader failed. A sequence that stands for no known key is consumed whole
// and the next key is read.
int decodeKey(ByteReader reader, void* context, int codes[2]);
