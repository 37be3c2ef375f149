// Asking for one answer of the dialogue, and asking again when the answer
// cannot be taken: one policy for every question.
#pragma once

#include <cstdint>

// Reads a name into out (kNameCapacity bytes). A name that is too long is
// refused and `prompt` printed again.
void askName(const char* prompt, char* out);

// Reads a whole number from low to high into *target. An answer that
// cannot be read or lies outside the range is refused: a message, the rest
// of the line dropped, `prompt` (with its fields filled by first and
// second) printed again, and a new read.
void askNumber(int32_t* target, int32_t low, int32_t high, const char* prompt, int first = 0,
               int second = 0);

// The next key code, for a question answered by a single key press.
int askKey();

// The end of the input before the game could be complete.
[[noreturn]] void endOfInput();
