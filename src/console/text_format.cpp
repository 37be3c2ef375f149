#include "console/text_format.h"

#include <cstdint>

#include "console/fixed_point.h"

namespace {

// A bounded writer: never passes capacity-1, always leaves room for the
// terminating zero.
struct Output {
    char* text;
    int capacity;
    int length;
};

void putChar(Output* out, char c) {
    if (out->length < out->capacity - 1) out->text[out->length++] = c;
}

void putPadded(Output* out, const char* text, int width) {
    int length = 0;
    while (text[length] != '\0') ++length;
    for (int i = length; i < width; ++i) putChar(out, ' ');
    for (int i = 0; i < length; ++i) putChar(out, text[i]);
}

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
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    int length = 0;
    if (value < 0) text[length++] = '-';
    while (count > 0) text[length++] = reversed[--count];
    text[length] = '\0';
}

int formatText(char* out, int capacity, const char* format, va_list args) {
    Output output = {out, capacity, 0};
    const char* p = format;
    while (*p != '\0') {
        if (*p != '%') {
            putChar(&output, *p++);
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
                putPadded(&output, field, width);
                break;
            case 's':
                putPadded(&output, va_arg(args, const char*), width);
                break;
            case 'f':
                formatFixed(va_arg(args, double), precision, field, sizeof field);
                putPadded(&output, field, width);
                break;
            case '%':
                putChar(&output, '%');
                break;
            default:  // not a field: print it as it stands
                for (const char* q = fieldStart; q <= p && *q != '\0'; ++q) putChar(&output, *q);
                if (*p == '\0') --p;
                break;
        }
        ++p;
    }
    if (capacity > 0) out[output.length] = '\0';
    return output.length;
}
