#include "output/output_text.h"

#include <cerrno>
#include <cstdarg>

#include "platform/atomic_file.h"
#include "text/fixed_point.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

// Large enough that a file of a hundred megabytes takes a few thousand
// writes, small enough to stay out of the way.
constexpr int kBufferCapacity = 1 << 16;

struct OutputText {
    char buffer[kBufferCapacity];  // what is put and not yet written
    int length;                    // bytes held in buffer
    int file;                      // the atomic file written to (set by startOutputText)
    bool failed;                   // a write failed; later text is dropped
    int problem;                   // errno of the failed write
};

// All zero at the start, so that it takes no room in the program file and
// no page of memory until a file is written.
OutputText output;

void writeBuffer() {
    if (!output.failed && output.length > 0 &&
        !writeAtomicFile(output.file, output.buffer, output.length)) {
        output.failed = true;
        output.problem = errno;
    }
    output.length = 0;
}

}  // namespace

void putBytes(const char* bytes, int length) {
    while (length > 0) {
        if (output.length == kBufferCapacity) writeBuffer();
        int room = kBufferCapacity - output.length;
        if (room > length) room = length;
        for (int i = 0; i < room; ++i) output.buffer[output.length + i] = bytes[i];
        output.length += room;
        bytes += room;
        length -= room;
    }
}

void putText(const char* text) {
    int length = 0;
    while (text[length] != '\0') ++length;
    putBytes(text, length);
}

void putFormatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeFormatted(putBytes, format, args);
    va_end(args);
}

void putInteger(int64_t value) {
    char text[24];
    formatInteger(value, text);
    putText(text);
}

void putGrouped(int64_t value) {
    char plain[24];
    char grouped[32];
    formatInteger(value, plain);
    putBytes(grouped, groupDigits(plain, grouped, sizeof grouped));
}

void putFixed(double value, int decimals) {
    char text[400];
    putBytes(text, formatFixed(value, decimals, text, sizeof text));
}

namespace {

// The length of the well-formed UTF-8 sequence at `c` that encodes a
// printable character, 0 when there is none: a stray or cut byte, an
// overlong form, a surrogate, a control code (C0, DEL or C1).
int printableSequenceLength(const unsigned char* c) {
    if (c[0] < 0x20 || c[0] == 0x7F) return 0;
    if (c[0] < 0x80) return 1;
    int length = 0;
    unsigned char low = 0x80;   // the second byte's range, narrowed for the
    unsigned char high = 0xBF;  // leads that would allow overlong forms
    if (c[0] == 0xC2) {
        length = 2;
        low = 0xA0;  // U+0080..U+009F are the C1 control codes
    } else if (c[0] > 0xC2 && c[0] <= 0xDF) {
        length = 2;
    } else if (c[0] >= 0xE0 && c[0] <= 0xEF) {
        length = 3;
        if (c[0] == 0xE0) low = 0xA0;
        if (c[0] == 0xED) high = 0x9F;  // no surrogates
    } else if (c[0] >= 0xF0 && c[0] <= 0xF4) {
        length = 4;
        if (c[0] == 0xF0) low = 0x90;
        if (c[0] == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (c[1] < low || c[1] > high) return 0;
    for (int n = 2; n < length; ++n) {
        if (c[n] < 0x80 || c[n] > 0xBF) return 0;
    }
    return length;
}

// A byte that starts no printable character: a byte of a Latin-1 name
// (0xA0..0xFF) is that character, as such a terminal shows it; anything
// else cannot be shown and is the replacement character.
void appendStrayByte(TextBuffer* out, unsigned char byte) {
    if (byte >= 0xA0) {
        appendText(out, "&#");
        appendInteger(out, byte);
        appendText(out, ";");
    } else {
        appendText(out, "&#xFFFD;");
    }
}

const char* xmlReference(unsigned char c) {
    switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        case '\'':
            return "&#39;";
        default:
            return nullptr;
    }
}

void appendEscapedXml(TextBuffer* out, const char* text) {
    const auto* c = reinterpret_cast<const unsigned char*>(text);
    while (*c != '\0') {
        const char* reference = xmlReference(*c);
        const int length = reference != nullptr ? 1 : printableSequenceLength(c);
        if (reference != nullptr) {
            appendText(out, reference);
        } else if (length == 0) {
            appendStrayByte(out, *c);
        } else {
            for (int n = 0; n < length; ++n) appendChar(out, static_cast<char>(c[n]));
        }
        c += length == 0 ? 1 : length;
    }
}

}  // namespace

void putEscapedXml(const char* text) {
    char chunk[64];
    TextBuffer out{chunk, sizeof chunk, 0, putBytes};
    appendEscapedXml(&out, text);
    putBytes(chunk, out.length);
}

void putIsolatedXml(const char* text) {
    putText("\xE2\x81\xA8");
    putEscapedXml(text);
    putText("\xE2\x81\xA9");
}

void putHtmlName(const char* text) {
    putText("<bdi>");
    putEscapedXml(text);
    putText("</bdi>");
}

HtmlName isolatedName(const char* text) {
    HtmlName name;
    TextBuffer out = boundedText(name.text, sizeof name.text);
    appendText(&out, "\xE2\x81\xA8");
    appendEscapedXml(&out, text);
    appendText(&out, "\xE2\x81\xA9");
    endText(&out);
    return name;
}

GroupedNumber groupedNumber(int64_t value) {
    char plain[24];
    GroupedNumber number;
    formatInteger(value, plain);
    const int length = groupDigits(plain, number.text, sizeof number.text - 1);
    number.text[length] = '\0';
    return number;
}

HtmlName htmlName(const char* text) {
    HtmlName name;
    TextBuffer out = boundedText(name.text, sizeof name.text);
    appendText(&out, "<bdi>");
    appendEscapedXml(&out, text);
    appendText(&out, "</bdi>");
    endText(&out);
    return name;
}

void startOutputText(int file) {
    output.length = 0;
    output.file = file;
    output.failed = false;
    output.problem = 0;
}

bool finishOutputText() {
    writeBuffer();
    output.file = -1;
    errno = output.problem;
    return !output.failed;
}
