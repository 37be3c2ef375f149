// The text of the output file being written (-o), for the writers of every
// format: put in pieces, kept in a static buffer and written out to the
// file's temporary copy as the buffer fills.
#pragma once

#include <cstdint>

#include "game/game_record.h"

// Bytes as they are.
void putBytes(const char* bytes, int length);

// A zero-terminated text as it is.
void putText(const char* text);

// Formatted as printText formats (%s, %d with a width, %f and %.Nf).
void putFormatted(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A whole number in decimal.
void putInteger(int64_t value);

// A whole number with its digits in groups of three, "1,234,567": how the
// report and the picture write counts, the same in both.
void putGrouped(int64_t value);

// `value` with `decimals` digits after the point, rounded as the console
// rounds (see console/fixed_point.h).
void putFixed(double value, int decimals);

// Text typed by the user (a name), as XML and HTML character data and
// attribute values take it: & < > " ' as references, UTF-8 characters as
// they are; a byte that is not part of one is the Latin-1 character of
// that byte from 0xA0 up, and the replacement character U+FFFD below
// (a control code, a stray byte), so the file stays well-formed UTF-8.
void putEscapedXml(const char* text);

// A name as putEscapedXml puts it, between FIRST STRONG ISOLATE and POP
// DIRECTIONAL ISOLATE (U+2068, U+2069), for text where no element may
// isolate it (an SVG text, a page's <title>): a name holding a
// right-to-left character or override (U+202E) then cannot reorder the
// sentence around it.
void putIsolatedXml(const char* text);

// A name in a page: escaped as putEscapedXml does, in a <bdi> element, so
// that a name with a right-to-left character (or an override, U+202E)
// cannot reorder the words of the sentence around it.
void putHtmlName(const char* text);

// A name as putHtmlName puts it, as a text for putFormatted's %s: the
// sentences of the page are translated whole, with the names inside them.
struct HtmlName {
    char text[kNameCapacity * 8 + 16];  // <bdi>, the name escaped (8 bytes a byte at most), </bdi>
};
HtmlName htmlName(const char* text);
// A name as putIsolatedXml puts it, in the same kind of buffer.
HtmlName isolatedName(const char* text);

// A whole number as putGrouped puts it, as a text for putFormatted's %s.
struct GroupedNumber {
    char text[32];  // "1,234,567"
};
GroupedNumber groupedNumber(int64_t value);

// Where the text goes: set by the file mechanism around each writer.
// Returns false once a write to the file has failed (errno tells why).
void startOutputText(int file);
bool finishOutputText();
