#include "console/console.h"

int keyEchoText(int code, bool highCodesAreText, char out[5]) {
    const int c = code & 0xFF;
    int length = 0;
    if (c >= 0x80 && highCodesAreText) {
        out[length++] = static_cast<char>(c);
        out[length] = '\0';
        return length;
    }
    if (c >= 0x80 && c < 0xA0) {  // the 8-bit control codes
        out[length++] = 'M';
        out[length++] = '-';
    }
    const int low = c & 0x7F;
    const bool keptAsIs = low == '\t' || low == '\r' || low == '\n' || low == '\b';
    if ((c < 0x20 || (c >= 0x80 && c < 0xA0)) && !(c < 0x80 && keptAsIs)) {
        out[length++] = '^';
        out[length++] = static_cast<char>(low + '@');
    } else if (c == 0x7F) {
        out[length++] = '^';
        out[length++] = '?';
    } else {
        out[length++] = static_cast<char>(c);
    }
    out[length] = '\0';
    return length;
}
