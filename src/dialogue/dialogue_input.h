// Asking for one answer of the dialogue, and asking again when the answer
// cannot be taken: one policy for every question.
#pragma once

#include <cstdint>

// Each question prints its prompt, then reads the answer; an answer that
// cannot be taken is refused with a message, the rest of its line is
// dropped, and the prompt is printed again for a new read.

// Reads a name into out (kNameCapacity bytes); a name of more than
// kNameCharacters characters, or holding a control character, is refused.
void askName(const char* prompt, char* out);

// Reads a whole number from low to high into *target; an answer that
// cannot be read or lies outside the range is refused. The prompt's
// fields are filled by first and second.
void askNumber(int32_t* target, int32_t low, int32_t high, const char* prompt, int first = 0,
               int second = 0);

// Prints the prompt and returns the next key code, for a question
// answered by a single key press.
int askKey(const char* prompt);

// The end of the input before the game could be complete.
[[noreturn]] void endOfInput();
