#include "text/line_equation.h"

#include "text/text_buffer.h"
#include "text/text_format.h"

int formatLineEquation(int32_t atZero, int32_t atOne, const char* variable, char* out,
                       int capacity) {
    TextBuffer text = boundedText(out, capacity);
    char number[24];
    formatInteger(atZero, number);
    appendText(&text, number);
    const int64_t slope = int64_t{atOne} - atZero;
    if (slope != 0) {
        appendText(&text, slope < 0 ? " - " : " + ");
        // A slope of one is written as the variable alone, as by hand.
        if (slope != 1 && slope != -1) {
            formatInteger(slope < 0 ? -slope : slope, number);
            appendText(&text, number);
        }
        appendText(&text, variable);
    }
    return endText(&text);
}
