#include "text/text_format.h"

#include <cstdint>

#include "text/fixed_point.h"
#include "text/text_buffer.h"

namespace {

int readNumber(const char** cursor) {
    int number = 0;
    while (**cursor >= '0' && **cursor <= '9') {
        if (number < 1000) number = number * 10 + (**cursor - '0');
        ++*cursor;
    }
    return number;
}

}  // namespace

// The magnitude is taken unsigned so that the most negative value has one
// too.
void formatInteger(int64_t value, char* text) {
    TextBuffer out = boundedText(text, 21);
    appendInteger(&out, value);
    endText(&out);
}

namespace {

void formatInto(TextBuffer* output, const char* format, va_list args) {
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            appendChar(output, *p++);
            continue;
        }
        const char* fieldStart = p++;
        const int width = readNumber(&p);
        int precision = 6;
        if (*p == '.') {
            ++p;
            precision = readNumber(&p);
            if (precision > 17) precision = 17;  // beyond that the digits are all 0
        }
        char field[400];
        switch (*p) {
            case 'd':
                formatInteger(static_cast<int32_t>(va_arg(args, int)), field);
                appendRight(output, field, width);
                break;
            case 's':
                appendRight(output, va_arg(args, const char*), width);
                break;
            case 'f':
                formatFixed(va_arg(args, double), precision, field, sizeof field);
                appendRight(output, field, width);
                break;
            case '%':
                appendChar(output, '%');
                break;
            default:  // not a field: print it as it stands
                for (const char* q = fieldStart; q <= p && *q != '\0'; ++q) appendChar(output, *q);
                if (*p == '\0') --p;
                break;
        }
        ++p;
    }
}

}  // namespace

int formatText(char* out, int capacity, const char* format, va_list args) {
    TextBuffer output = boundedText(out, capacity);
    formatInto(&output, format, args);
    return endText(&output);
}

void writeFormatted(void (*sink)(const char* text, int length), const char* format, va_list args) {
    char text[512];
    // A full text goes to the sink, so that none of it is cut.
    TextBuffer output = {text, sizeof text, 0, sink};
    formatInto(&output, format, args);
    if (output.length > 0) sink(text, output.length);
}

int groupDigits(const char* number, char* out, int capacity) {
    TextBuffer text = boundedText(out, capacity);
    const char* digits = number[0] == '-' ? number + 1 : number;
    int wholeDigits = 0;
    while (digits[wholeDigits] >= '0' && digits[wholeDigits] <= '9') ++wholeDigits;
    if (digits != number) appendChar(&text, '-');
    for (int d = 0; d < wholeDigits; ++d) {
        if (d > 0 && (wholeDigits - d) % 3 == 0) appendChar(&text, ',');
        appendChar(&text, digits[d]);
    }
    appendText(&text, digits + wholeDigits);
    return endText(&text);
}
