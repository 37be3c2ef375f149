// Turns the bytes a terminal sends for one key press into key codes, in two
// steps: readKeyBytes (key_bytes.h) takes one whole key's bytes by the
// grammar, then keyOfBytes tells which key they stand for, a sequence by
// the table of sequences (key_sequences.h). Keys that produce no character
// (arrows, function keys, Alt combinations) get the classic two-code form:
// a lead code 0 or 0xE0, then a second code.
#pragma once

#include "keys/key_bytes.h"
#include "keys/key_codes.h"

// The key that the bytes of one key stand for. False for a sequence that
// names no key (it is dropped whole, whatever bytes it holds).
bool keyOfBytes(const KeyBytes& b, KeyPress* press);

// Reads key after key until one stands for a key, and stores it. False
// when the reader failed or has nothing more to give.
bool decodeKey(ByteInput* input, KeyPress* key);
