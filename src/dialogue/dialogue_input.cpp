#include "dialogue/dialogue_input.h"

#include "console/console.h"
#include "game/game_record.h"

void endOfInput() {
    printText("\n The input ended before the game was complete.\n");
    endProgram(1);
}

void askName(const char* prompt, char* out) {
    printText("%s", prompt);
    for (;;) {
        const ScanStatus status = readWordField(out, kNameCapacity);
        if (status == kScanOk) return;
        if (status == kScanEnd) endOfInput();
        printText("\n A name may have at most %d characters.", kNameCapacity - 1);
        dropInputLine();
        printText("%s", prompt);
    }
}

void askNumber(int32_t* target, int32_t low, int32_t high, const char* prompt, int first,
               int second) {
    printText(prompt, first, second);
    for (;;) {
        int32_t value = 0;
        const ScanStatus status = readIntField(&value);
        if (status == kScanEnd) endOfInput();
        if (status == kScanOk && value >= low && value <= high) {
            *target = value;
            return;
        }
        printText("\n Please enter a whole number from %d to %d.", low, high);
        dropInputLine();
        printText(prompt, first, second);
    }
}

int askKey(const char* prompt) {
    printText("%s", prompt);
    const int key = readKey();
    if (key >= 0) return key;
    if (!hasConsole()) endOfInput();
    printError("brown-robinson: the terminal can no longer be read; the game cannot go on.\n");
    endProgram(1);
}
