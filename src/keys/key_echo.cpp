#include "keys/key_echo.h"

#include "text/utf8_text.h"

namespace {

int lowerCase(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// Whether a locale name's character set, the part after its '.' (the
// whole name when it has none) up to an '@', is UTF-8 in any of its
// spellings: "UTF-8", "utf8", "UTF8".
bool namesUtf8(const char* name) {
    const char* set = name;
    for (const char* p = name; *p != '\0' && *p != '@'; ++p) {
        if (*p == '.') set = p + 1;
    }
    const char* const utf8 = "utf8";
    int matched = 0;
    for (const char* p = set; *p != '\0' && *p != '@'; ++p) {
        if (*p == '-') continue;
        if (utf8[matched] == '\0' || lowerCase(*p) != utf8[matched]) return false;
        ++matched;
    }
    return utf8[matched] == '\0';
}

}  // namespace

int keyEchoText(int code, HighCodeEcho highCodes, char out[5]) {
    const int c = code & 0xFF;
    int length = 0;
    if (c >= 0x80 && highCodes == kHighCodesAsCodePage) {
        out[length++] = static_cast<char>(c);
        out[length] = '\0';
        return length;
    }
    if (c >= 0xA0 && highCodes == kHighCodesAsUtf8) {
        out[length++] = static_cast<char>(0xC0 | c >> 6);
        out[length++] = static_cast<char>(0x80 | (c & 0x3F));
        out[length] = '\0';
        return length;
    }
    if (c >= 0x80 && c < 0xA0) {  // the 8-bit control codes
        out[length++] = 'M';
        out[length++] = '-';
    }
    const int low = c & 0x7F;
    const bool keptAsIs = low == '\t' || low == '\r' || low == '\n' || low == '\b';
    if ((c < 0x20 || (c >= 0x80 && c < 0xA0)) && !(c < 0x80 && keptAsIs)) {
        out[length++] = '^';
        out[length++] = static_cast<char>(low + '@');
    } else if (c == 0x7F) {
        out[length++] = '^';
        out[length++] = '?';
    } else {
        out[length++] = static_cast<char>(c);
    }
    out[length] = '\0';
    return length;
}

bool localeTakesUtf8(const char* lcAll, const char* lcCtype, const char* lang) {
    const char* const names[] = {lcAll, lcCtype, lang};
    for (const char* name : names) {
        if (name != nullptr && name[0] != '\0') return namesUtf8(name);
    }
    return false;
}

int answerByteText(int byte, HighCodeEcho highCodes, char out[5]) {
    const int c = byte & 0xFF;
    const bool control = (c < 0x20 && c != '\t') || c == 0x7F;
    const bool eightBitControl = c >= 0x80 && c < 0xA0 && highCodes == kHighCodesAsBytes;
    if (eightBitControl) return keyEchoText(c, highCodes, out);
    int length = 0;
    if (control) {
        out[length++] = '^';
        out[length++] = static_cast<char>(c == 0x7F ? '?' : c + '@');
    } else {
        out[length++] = static_cast<char>(c);
    }
    out[length] = '\0';
    return length;
}

int answerSequenceLength(const char* bytes, int length) {
    const int sequence = utf8SequenceLength(bytes, length);
    const bool c1 = sequence == 2 && static_cast<unsigned char>(bytes[0]) == 0xC2 &&
                    static_cast<unsigned char>(bytes[1]) < 0xA0;
    return c1 ? 0 : sequence;
}

int answerText(const char* text, HighCodeEcho highCodes, char* out, int capacity) {
    int length = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        char shown[5];
        const int count = answerByteText(static_cast<unsigned char>(*c), highCodes, shown);
        if (length + count > capacity - 1) break;
        for (int i = 0; i < count; ++i) out[length++] = shown[i];
    }
    out[length] = '\0';
    return length;
}

// Bytes that are well-formed UTF-8 are taken as UTF-8 whatever the locale
// says: in the C locale the 0x90 of "А" (D0 90) is part of a letter, not a
// control code. A Windows console takes no byte for a control code, and
// its code page's letters (0xC2 0x80 is "ВЂ" in 1251) stay letters.
bool holdsControlCode(const char* text, int length, HighCodeEcho highCodes) {
    if (highCodes == kHighCodesAsBytes && isWellFormedUtf8(text, length))
        highCodes = kHighCodesAsUtf8;
    for (int i = 0; i < length; ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        const int after = i + 1 < length ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c < 0x20 || c == 0x7F) return true;
        if (highCodes == kHighCodesAsBytes && c >= 0x80 && c < 0xA0) return true;
        if (highCodes == kHighCodesAsUtf8 && c == 0xC2 && after >= 0x80 && after < 0xA0)
            return true;
    }
    return false;
}
