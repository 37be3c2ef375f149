#include "output/output_text.h"

#include <cerrno>
#include <cstdarg>

#include "console/atomic_file.h"
#include "console/fixed_point.h"
#include "console/text_format.h"

namespace {

// Large enough that a file of a hundred megabytes takes a few thousand
// writes, small enough to stay out of the way.
constexpr int kBufferCapacity = 1 << 16;

struct OutputText {
    char buffer[kBufferCapacity];  // what is put and not yet written
    int length;                    // bytes held in buffer
    int file;                      // the atomic file written to; -1 for none
    bool failed;                   // a write failed; later text is dropped
    int problem;                   // errno of the failed write
};

OutputText output = {{0}, 0, -1, false, 0};

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

void putFixed(double value, int decimals) {
    char text[400];
    putBytes(text, formatFixed(value, decimals, text, sizeof text));
}

namespace {

// The length of the UTF-8 sequence that starts at text (2 to 4 bytes, no
// overlong form, no surrogate, nothing above U+10FFFF), or 0 when none
// does.
int utf8SequenceAt(const unsigned char* text) {
    int length = 0;
    uint32_t code = 0;
    if (text[0] >= 0xC2 && text[0] <= 0xDF) {
        length = 2;
        code = text[0] & 0x1Fu;
    } else if (text[0] >= 0xE0 && text[0] <= 0xEF) {
        length = 3;
        code = text[0] & 0x0Fu;
    } else if (text[0] >= 0xF0 && text[0] <= 0xF4) {
        length = 4;
        code = text[0] & 0x07u;
    } else {
        return 0;
    }
    for (int i = 1; i < length; ++i) {
        if ((text[i] & 0xC0u) != 0x80u) return 0;  // also stops at the terminating zero
        code = (code << 6) | (text[i] & 0x3Fu);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

void putEscapedXml(const char* text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (int i = 0; bytes[i] != '\0'; ++i) {
        switch (bytes[i]) {
            case '&':
                putText("&amp;");
                break;
            case '<':
                putText("&lt;");
                break;
            case '>':
                putText("&gt;");
                break;
            case '"':
                putText("&quot;");
                break;
            case '\'':
                putText("&#39;");
                break;
            default:
                if (bytes[i] < 0x80) {
                    putBytes(text + i, 1);
                } else if (const int length = utf8SequenceAt(bytes + i)) {
                    putBytes(text + i, length);
                    i += length - 1;
                } else {
                    // A byte of a single-byte character set: taken as
                    // Latin-1, so that the file stays well-formed UTF-8.
                    putText("&#");
                    putInteger(bytes[i]);
                    putText(";");
                }
                break;
        }
    }
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
