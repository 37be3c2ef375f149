#include "dialogue/dialogue_input.h"

#include "console/console.h"
#include "game/game_record.h"
#include "text/translation.h"
#include "text/utf8_text.h"

void endOfInput() {
    printText("%s", tr("\n The input ended before the game was complete.\n"));
    endProgram(1);
}

// A refused answer is dropped with the rest of its line before the
// message, so that an answer shown from the game file stands whole on its
// line, and the message after it.
void refuseAnswer() {
    dropInputLine();
    endAnswer();
}

// A name is counted in characters as its owner counts them ("Алексей" is
// 7, though 14 bytes), is written to the terminal in every report, and
// must not be able to drive the terminal (retitle its window, reset it).
// A word longer than the record's room is longer than 11 characters too.
void askName(const char* prompt, char* out) {
    printText("%s", prompt);
    for (;;) {
        int length = 0;
        ScanStatus status = readWordField(out, kNameCapacity, &length);
        if (status == kScanEnd) endOfInput();
        if (status == kScanOk && characterCount(out, length) > kNameCharacters)
            status = kScanOutOfRange;
        const bool control = status == kScanOk && answerHoldsControlCode(out, length);
        if (status == kScanOk && !control) {
            endAnswer();
            return;
        }
        refuseAnswer();
        if (control) {
            printText("%s", tr("\n A name may not hold control characters."));
        } else {
            printText(tr("\n A name may have at most %d characters."), kNameCharacters);
        }
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
            endAnswer();
            *target = value;
            return;
        }
        refuseAnswer();
        printText(tr("\n Please enter a whole number from %d to %d."), low, high);
        printText(prompt, first, second);
    }
}

int askKey(const char* prompt) {
    printText("%s", prompt);
    const int key = readKey();
    if (key >= 0) return key;
    if (!hasConsole()) endOfInput();
    printError("brown-robinson: %s\n",
               tr("the terminal can no longer be read; the game cannot go on."));
    endProgram(1);
}
