// The print fields of the program, formatted the same on every platform.
#pragma once

#include <cstdarg>
#include <cstdint>

// Formats into out (zero-terminated, cut at capacity-1 characters) and
// returns the length. Fields: %s, %d, %f, each with an optional width
// (right-aligned; a longer text takes the room it needs) and, for %f, an
// optional precision (%.2f; 6 when none is given); %% prints a percent
// sign. Anything else after a percent sign is printed as it stands.
int formatText(char* out, int capacity, const char* format, va_list args);

// Formats as formatText does, and hands the text to `sink` in pieces as
// it grows: however long, none of it is cut.
void writeFormatted(void (*sink)(const char* text, int length), const char* format, va_list args);

// The decimal text of value, zero-terminated, into text (21 bytes hold
// any value).
void formatInteger(int64_t value, char* text);

// A decimal text ("-1234567.5") with its whole part in groups of three
// digits ("-1,234,567.5"), zero-terminated, cut at capacity-1 characters;
// returns the length. The report and the picture write the counts and
// the axes' numbers so, one way everywhere.
int groupDigits(const char* number, char* out, int capacity);
