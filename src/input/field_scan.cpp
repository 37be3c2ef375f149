#include "input/field_scan.h"

#include "text/characters.h"

namespace {

// Passes over white space; returns the first other byte, left unread, or EOF.
int skipBlanks(TextInput* in) {
    int c = nextInputByte(in);
    while (c != EOF && isWhiteSpace(c)) c = nextInputByte(in);
    if (c != EOF) giveBackInputByte(in, c);
    return c;
}

}  // namespace

ScanStatus scanInt(TextInput* in, int32_t* value) {
    int c = skipBlanks(in);
    if (c == EOF) return kScanEnd;

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = (c == '-');
        nextInputByte(in);
        c = nextInputByte(in);
        // Characters were matched and then the field failed: unreadable,
        // not the end, so it is refused like any other; the next read
        // meets the end.
        if (c == EOF) return kScanUnreadable;
        giveBackInputByte(in, c);
    }
    if (!isDigit(c)) return kScanUnreadable;

    // The magnitude is kept in 64 bits and stops growing once it is past
    // the 32-bit range, so a long run of digits can never wrap around.
    const int64_t limit = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    while ((c = nextInputByte(in)) != EOF && isDigit(c)) {
        if (magnitude <= limit) magnitude = magnitude * 10 + (c - '0');
    }
    if (c != EOF) giveBackInputByte(in, c);

    if (magnitude > limit || (!negative && magnitude == limit)) {
        *value = negative ? INT32_MIN : INT32_MAX;
        return kScanOutOfRange;
    }
    *value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return kScanOk;
}

ScanStatus scanWholeNumber(TextInput* in, int32_t* value) {
    const ScanStatus status = scanInt(in, value);
    if (status != kScanOk && status != kScanOutOfRange) return status;
    const int c = nextInputByte(in);
    if (c == EOF) return status;
    giveBackInputByte(in, c);
    return isWhiteSpace(c) ? status : kScanUnreadable;
}

ScanStatus scanWord(TextInput* in, char* out, int capacity, int* kept) {
    int c = skipBlanks(in);
    if (c == EOF) return kScanEnd;

    int length = 0;
    bool tooLong = false;
    while ((c = nextInputByte(in)) != EOF && !isWhiteSpace(c)) {
        if (length < capacity - 1) {
            out[length++] = static_cast<char>(c);
        } else {
            tooLong = true;  // the rest of the word is taken but not kept
        }
    }
    if (c != EOF) giveBackInputByte(in, c);
    out[length] = '\0';
    if (kept != nullptr) *kept = length;
    return tooLong ? kScanOutOfRange : kScanOk;
}

int scanNonBlank(TextInput* in) {
    int c = skipBlanks(in);
    if (c != EOF) nextInputByte(in);
    return c;
}

void dropLine(TextInput* in) {
    int c = nextInputByte(in);
    while (c != EOF && c != '\n') c = nextInputByte(in);
}
