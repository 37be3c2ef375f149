#include "text/utf8_text.h"

namespace {

// The byte at `at` is a continuation byte within low..high.
bool continues(const char* text, int length, int at, int low, int high) {
    if (at >= length) return false;
    const int c = static_cast<unsigned char>(text[at]);
    return c >= low && c <= high;
}

// One character from the start: its sequence, or the byte alone.
int characterLength(const char* text, int length) {
    const int sequence = utf8SequenceLength(text, length);
    return sequence > 0 ? sequence : 1;
}

}  // namespace

// The second byte's range is narrowed for the leads that would allow an
// overlong form, a surrogate or a code past U+10FFFF.
int utf8SequenceLength(const char* text, int length) {
    if (length < 2) return 0;
    const int lead = static_cast<unsigned char>(text[0]);
    int count = 0;
    int low = 0x80;
    int high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        count = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        count = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        count = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (!continues(text, length, 1, low, high)) return 0;
    for (int at = 2; at < count; ++at) {
        if (!continues(text, length, at, 0x80, 0xBF)) return 0;
    }
    return count;
}

bool isWellFormedUtf8(const char* text, int length) {
    for (int at = 0; at < length;) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const int sequence = utf8SequenceLength(text + at, length - at);
        if (sequence == 0) return false;
        at += sequence;
    }
    return true;
}

int characterCount(const char* text, int length) {
    int count = 0;
    for (int at = 0; at < length; ++count) at += characterLength(text + at, length - at);
    return count;
}

int characterPrefixLength(const char* text, int length, int characters) {
    int at = 0;
    for (int count = 0; count < characters && at < length; ++count) {
        at += characterLength(text + at, length - at);
    }
    return at;
}
