#include "text/text_buffer.h"

TextBuffer boundedText(char* text, int capacity) { return TextBuffer{text, capacity, 0, nullptr}; }

void appendToFullText(TextBuffer* out, char c) {
    if (out->sink == nullptr) return;  // cut
    out->sink(out->text, out->length);
    out->length = 0;
    if (!textFull(out)) out->text[out->length++] = c;
}

void appendText(TextBuffer* out, const char* text) {
    for (const char* c = text; *c != '\0'; ++c) appendChar(out, *c);
}

void appendRepeated(TextBuffer* out, char c, int count) {
    for (int n = 0; n < count; ++n) appendChar(out, c);
}

// The digits are found from the last, into a small array, and turned.
void appendInteger(TextBuffer* out, int64_t value) {
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    if (value < 0) appendChar(out, '-');
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0) appendChar(out, reversed[--count]);
}

void appendRight(TextBuffer* out, const char* text, int width) {
    appendRepeated(out, ' ', width - textLength(text));
    appendText(out, text);
}

int endText(TextBuffer* out) {
    if (out->capacity > 0) out->text[out->length] = '\0';
    return out->length;
}

int textLength(const char* text) {
    int length = 0;
    while (text[length] != '\0') ++length;
    return length;
}
