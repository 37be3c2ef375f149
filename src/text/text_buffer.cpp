#include "text/text_buffer.h"

TextBuffer boundedText(char* text, int capacity) { return TextBuffer{text, capacity, 0, nullptr}; }

void appendToFullText(TextBuffer* out, char c) {
    if (out->sink == nullptr) return;  // cut
    out->sink(out->text, out->length);
    out->length = 0;
    if (!textFull(out)) out->text[out->length++] = c;
}

void appendText(TextBuffer* out, const char* text) { appendBytes(out, text, textLength(text)); }

void appendRepeated(TextBuffer* out, char c, int count) {
    for (int n = 0; n < count; ++n) appendChar(out, c);
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
