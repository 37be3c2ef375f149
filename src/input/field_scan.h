// Reading one field from a stream of typed lines, the way the classic
// formatted read does: leading white space (line ends included) is passed
// over, what follows the field stays unread for the next read.
#pragma once

#include <cstdint>
#include <cstdio>

#include "input/text_input.h"

enum ScanStatus {
    kScanOk,          // the field was read
    kScanUnreadable,  // no digit where a number must start; that byte stays unread
    kScanOutOfRange,  // a number beyond 32 bits, or a word longer than the room for it
    kScanEnd,         // the input ended (or failed) before the field began
};

// "%d": optional sign and decimal digits. A sign without a digit is taken
// and the byte after it stays unread. Every digit of the number is taken,
// even when the value no longer fits; *value is then the nearest value
// that fits (so its sign is known). *value is written only on kScanOk and
// kScanOutOfRange.
ScanStatus scanInt(TextInput* in, int32_t* value);

// A number that is an answer of its own: read as scanInt reads it, and
// unreadable when it runs on into other characters ("2.7", "3x", "1,5"),
// whose first then stays unread. *value as for scanInt, and undefined
// when the number runs on.
ScanStatus scanWholeNumber(TextInput* in, int32_t* value);

// "%s": the characters up to the next white space, stored zero-terminated.
// A word of more than capacity-1 characters is taken up to its end but
// reported as kScanOutOfRange; out then holds only its beginning. The
// number of bytes kept (a word may hold a zero byte) goes to *kept when
// kept is not null.
ScanStatus scanWord(TextInput* in, char* out, int capacity, int* kept = nullptr);

// The next byte that is not white space, or EOF.
int scanNonBlank(TextInput* in);

// Drops what is left of the current line, its line end included.
void dropLine(TextInput* in);
