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

void putEscapedXml(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) {
        switch (*c) {
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
                putBytes(c, 1);
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
