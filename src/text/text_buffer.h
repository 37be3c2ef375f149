// The one bounded text writer of the program: characters are appended to
// a caller's array and never run past it.
#pragma once

#include <cstdint>

// A text being written into `text`. It never holds more than capacity-1
// characters, so that the terminating zero always has room. What does not
// fit is cut, unless there is a sink: then a full text is handed to the
// sink and writing starts afresh at the beginning, so that nothing is cut.
struct TextBuffer {
    char* text;    // the caller's array the characters go into
    int capacity;  // its size in bytes, the terminating zero included
    int length;    // characters written so far (since the last hand-over)
    void (*sink)(const char* text, int length);  // takes full texts; null to cut them
};

// An empty text over text[0..capacity-1] that cuts what does not fit.
TextBuffer boundedText(char* text, int capacity);

// No room is left for another character.
inline bool textFull(const TextBuffer* out) { return out->length >= out->capacity - 1; }

// The text is full: hands it to the sink and starts afresh with c, or
// drops c when there is no sink.
void appendToFullText(TextBuffer* out, char c);

// Inline: every character the program prints goes through here.
inline void appendChar(TextBuffer* out, char c) {
    if (textFull(out)) {
        appendToFullText(out, c);
    } else {
        out->text[out->length++] = c;
    }
}
void appendText(TextBuffer* out, const char* text);
// `count` bytes as they are. Inline, as appendInteger: the CSV file of
// a long run appends hundreds of millions of numbers. The bytes are
// counted into a local length and stored once, since a store through
// out->text may alias out->length.
inline void appendBytes(TextBuffer* out, const char* bytes, int count) {
    if (out->length + count > out->capacity - 1) {
        for (int i = 0; i < count; ++i) appendChar(out, bytes[i]);
        return;
    }
    char* end = out->text + out->length;
    for (int i = 0; i < count; ++i) end[i] = bytes[i];
    out->length += count;
}
// `count` copies of c; none when count is 0 or less.
void appendRepeated(TextBuffer* out, char c, int count);
// A whole number in decimal, its digits found from the last.
inline void appendInteger(TextBuffer* out, int64_t value) {
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char digits[21];
    int first = sizeof digits;
    do {
        digits[--first] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[--first] = '-';
    appendBytes(out, digits + first, static_cast<int>(sizeof digits) - first);
}
// text right-aligned in `width` columns: spaces first; a longer text
// takes the room it needs.
void appendRight(TextBuffer* out, const char* text, int width);

// Writes the terminating zero (when there is room for anything at all)
// and returns the length.
int endText(TextBuffer* out);

// The length of a zero-terminated text.
int textLength(const char* text);
