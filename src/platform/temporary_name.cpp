#include "platform/temporary_name.h"

#include "text/text_buffer.h"
#include "text/text_format.h"

bool temporaryNameOf(const char* target, int64_t process, int attempt, char* out, int capacity) {
    char processText[24];
    char attemptText[24];
    formatInteger(process, processText);
    formatInteger(attempt, attemptText);
    TextBuffer name = boundedText(out, capacity);
    appendText(&name, target);
    appendChar(&name, '.');
    appendText(&name, processText);
    appendChar(&name, '-');
    appendText(&name, attemptText);
    appendText(&name, ".tmp");
    // A full text may have lost its end: the name would not be the one
    // meant, so it is no name at all.
    const bool fits = !textFull(&name);
    endText(&name);
    return fits;
}
