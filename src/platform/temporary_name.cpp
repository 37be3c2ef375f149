#include "platform/temporary_name.h"

#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

bool isSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// The length of the folder part of path, its last separator included: 0
// for a bare name. (On Windows "C:name" is in the current folder of drive
// C:, whose part is "C:".)
int folderLength(const char* path) {
    int length = 0;
    for (int i = 0; path[i] != '\0'; ++i) {
        if (isSeparator(path[i])) length = i + 1;
    }
#ifdef _WIN32
    if (length == 0 && path[0] != '\0' && path[1] == ':') length = 2;
#endif
    return length;
}

// A full text may have lost its end: the name would not be the one meant,
// so it is no name at all.
bool endWhole(TextBuffer* text) {
    const bool fits = !textFull(text);
    endText(text);
    return fits;
}

}  // namespace

bool folderOf(const char* path, char* out, int capacity) {
    TextBuffer folder = boundedText(out, capacity);
    const int length = folderLength(path);
    if (length == 0) {
        appendChar(&folder, '.');
    } else {
        // "/" stays itself; "a/b/" names the folder "a/b".
        const int kept = length > 1 && isSeparator(path[length - 1]) ? length - 1 : length;
        for (int i = 0; i < kept; ++i) appendChar(&folder, path[i]);
    }
    return endWhole(&folder);
}

bool temporaryNameOf(const char* path, int64_t process, int number, const char* ending, char* out,
                     int capacity) {
    char processText[24];
    char numberText[24];
    formatInteger(process, processText);
    formatInteger(number, numberText);
    TextBuffer name = boundedText(out, capacity);
    const int length = folderLength(path);
    for (int i = 0; i < length; ++i) appendChar(&name, path[i]);
    appendText(&name, ".brown-robinson-");
    appendText(&name, processText);
    appendChar(&name, '-');
    appendText(&name, numberText);
    appendText(&name, ending);
    return endWhole(&name);
}
