// The console on Windows. The dialogue's lines are read from standard
// input, which the console edits and echoes (text mode, so a line ends in
// a plain "\n" as on other systems); a single key is read from the console
// input device itself, event by event, with every input mode switched off
// for that one read and the mode found restored right after it, also when
// the process is ended by a console event in the middle of the read.
// A run in Russian or Ukrainian switches the console to UTF-8 and reads
// the typed lines as the console's own characters, so that a name arrives
// as the same UTF-8 bytes as on Linux; the code pages found are given
// back however the run ends.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

#include "keys/windows_keys.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "platform/standard_streams.h"
#include "text/language_choice.h"
#include "text/translation.h"

static_assert(kRightAltPressed == RIGHT_ALT_PRESSED && kLeftAltPressed == LEFT_ALT_PRESSED &&
                  kRightCtrlPressed == RIGHT_CTRL_PRESSED &&
                  kLeftCtrlPressed == LEFT_CTRL_PRESSED && kShiftPressed == SHIFT_PRESSED &&
                  kEnhancedKey == ENHANCED_KEY,
              "control key state bits as the console reports them");
static_assert(kVkTab == VK_TAB && kVkShift == VK_SHIFT && kVkControl == VK_CONTROL &&
                  kVkMenu == VK_MENU && kVkPageUp == VK_PRIOR && kVkPageDown == VK_NEXT &&
                  kVkEnd == VK_END && kVkHome == VK_HOME && kVkLeft == VK_LEFT && kVkUp == VK_UP &&
                  kVkRight == VK_RIGHT && kVkDown == VK_DOWN && kVkInsert == VK_INSERT &&
                  kVkDelete == VK_DELETE && kVkF1 == VK_F1 && kVkF12 == VK_F12 &&
                  kVkOemPlus == VK_OEM_PLUS && kVkOemMinus == VK_OEM_MINUS &&
                  kVkNumpad0 == VK_NUMPAD0 && kVkNumpad9 == VK_NUMPAD9 && kVkClear == VK_CLEAR,
              "virtual key codes as the console reports them");

namespace {

bool consoleChecked = false;
HANDLE consoleInput = INVALID_HANDLE_VALUE;
HANDLE consoleOutput = INVALID_HANDLE_VALUE;

// Shared with the console event handler, which runs on a thread of its
// own: the mode to give back and whether a key read has changed it.
DWORD savedMode = 0;
volatile LONG modeIsChanged = 0;

void setKeyMode() {
    InterlockedExchange(&modeIsChanged,
                        1);  // first: an event in between restores a mode not yet changed
    SetConsoleMode(consoleInput, 0);
}

void restoreMode() {
    if (InterlockedExchange(&modeIsChanged, 0) != 0) SetConsoleMode(consoleInput, savedMode);
}

// The code pages of a console switched to UTF-8, to give back; shared
// with the console event handler as the mode is.
constexpr UINT kUtf8CodePage = 65001;
UINT savedInputCodePage = 0;
UINT savedOutputCodePage = 0;
volatile LONG codePagesChanged = 0;

// Only for a translated run: English texts are ASCII, and an English run
// keeps the console's code page for what is typed, as it always has.
void switchToUtf8() {
    if (currentLanguage() == kEnglish) return;
    savedInputCodePage = GetConsoleCP();
    savedOutputCodePage = GetConsoleOutputCP();
    if (savedInputCodePage == 0 || savedOutputCodePage == 0) return;  // no console
    InterlockedExchange(&codePagesChanged, 1);
    SetConsoleCP(kUtf8CodePage);
    SetConsoleOutputCP(kUtf8CodePage);
}

void restoreCodePages() {
    if (InterlockedExchange(&codePagesChanged, 0) == 0) return;
    SetConsoleCP(savedInputCodePage);
    SetConsoleOutputCP(savedOutputCodePage);
}

// Set when Ctrl+C or Ctrl+Break is pressed outside a key read.
volatile LONG interrupted = 0;

// Ctrl+C or Ctrl+Break at a line read, Ctrl+Break at a key read, a closed
// window, logoff or shutdown: the console is given back in its mode before
// the process ends the way the event ends it (the next handler, the
// system's own, ends it).
BOOL WINAPI onConsoleEvent(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) InterlockedExchange(&interrupted, 1);
    restoreMode();
    restoreCodePages();
    discardAtomicFiles();
    return FALSE;
}

// Ends the process as the system ends it for Ctrl+C.
[[noreturn]] void endAsInterrupted() {
    finishStandardOutput(0);
    restoreMode();
    restoreCodePages();
    discardAtomicFiles();
    ExitProcess(STATUS_CONTROL_C_EXIT);
}

bool isConsoleHandle(HANDLE handle) {
    DWORD mode;
    return handle != INVALID_HANDLE_VALUE && GetFileType(handle) == FILE_TYPE_CHAR &&
           GetConsoleMode(handle, &mode) != 0;
}

HANDLE openConsoleDevice(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING, 0, nullptr);
}

// The next key pressed; false when the console fails. Key-up events count
// only where the console delivers a character with one (Alt released after
// keypad digits).
bool readKeyEvents(KeyPress* key) {
    for (;;) {
        INPUT_RECORD record;
        DWORD count = 0;
        if (!ReadConsoleInputA(consoleInput, &record, 1, &count) || count != 1) return false;
        if (record.EventType != KEY_EVENT) continue;
        const KEY_EVENT_RECORD& event = record.Event.KeyEvent;
        const ConsoleKey pressed = {
            event.wVirtualKeyCode, static_cast<unsigned char>(event.uChar.AsciiChar),
            static_cast<unsigned>(event.dwControlKeyState), event.bKeyDown != 0};
        *key = KeyPress{};
        key->codeCount = consoleKeyCodes(pressed, key->codes);
        if (key->codeCount > 0) return true;
    }
}

// A console line read as the console's characters, in UTF-8, handed out
// a piece at a time as the caller's buffer allows.
struct WideLine {
    char bytes[4 * 512 + 8];  // the UTF-8 of one read, "\r\n" made "\n"
    int length;               // how many bytes it holds
    int taken;                // how many of them are handed out already
    wchar_t carried;          // a high surrogate whose pair comes with the next read
    bool ended;               // Ctrl+Z began a line: the input has ended
};
WideLine wideLine = {};

// A line read as it is typed: ends with "\r\n" unless it is longer than
// one read. False when nothing is left: the input ended, the read failed
// (-1 in *failed) or Ctrl+C aborted it (as the runtime's read reports it).
bool readWideLine(HANDLE input, int* failed) {
    wchar_t wide[513];
    int count = 0;
    if (wideLine.carried != 0) wide[count++] = wideLine.carried;
    wideLine.carried = 0;
    DWORD got = 0;
    if (!ReadConsoleW(input, wide + count, 512 - count, &got, nullptr)) {
        *failed = 1;
        return false;
    }
    if (got == 0) return false;
    count += static_cast<int>(got);
    if (wide[0] == 0x1A) {  // Ctrl+Z at the start of a line, as the runtime takes it
        wideLine.ended = true;
        return false;
    }
    if (count > 1 && wide[count - 1] >= 0xD800 && wide[count - 1] <= 0xDBFF)
        wideLine.carried = wide[--count];
    if (count >= 2 && wide[count - 2] == L'\r' && wide[count - 1] == L'\n') {
        wide[count - 2] = L'\n';
        --count;
    }
    wideLine.length =
        WideCharToMultiByte(CP_UTF8, 0, wide, count, wideLine.bytes,
                            static_cast<int>(sizeof wideLine.bytes), nullptr, nullptr);
    wideLine.taken = 0;
    return wideLine.length > 0;
}

int readConsoleLine(HANDLE input, char* buffer, int capacity) {
    if (wideLine.taken >= wideLine.length) {
        int failed = 0;
        if (wideLine.ended || !readWideLine(input, &failed)) return failed != 0 ? -1 : 0;
    }
    int length = 0;
    while (length < capacity && wideLine.taken < wideLine.length) {
        const char c = wideLine.bytes[wideLine.taken++];
        buffer[length++] = c;
        if (c == '\n') break;
    }
    return length;
}

void writeAll(HANDLE handle, const char* text, int length) {
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(handle, text, static_cast<DWORD>(length), &written, nullptr) || written == 0)
            return;
        text += written;
        length -= static_cast<int>(written);
    }
}

}  // namespace

bool platformToday(int* year, int* month, int* day) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    *year = now.wYear;
    *month = now.wMonth;
    *day = now.wDay;
    return true;
}

void platformStart() {
    setUpStandardStreams(isConsoleHandle(GetStdHandle(STD_OUTPUT_HANDLE)));
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    switchToUtf8();
}

// The runtime's standard input, which lets the console edit the line;
// one line at most, as on a terminal. In UTF-8 the runtime's byte reads
// lose what is not ASCII, so a console is then read as characters.
int platformReadInput(char* buffer, int capacity) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (codePagesChanged != 0 && isConsoleHandle(input))
        return readConsoleLine(input, buffer, capacity);
    static bool ended = false;
    int length = 0;
    while (!ended && length < capacity) {
        const int c = getc(stdin);
        if (c == EOF && ferror(stdin) && length == 0) return -1;
        if (c == EOF) {
            ended = length == 0;
            break;
        }
        buffer[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    return length;
}

void platformFlushOutput() {
    if (!flushStandardOutput()) platformExit(1);
}

// A console line read cut short by Ctrl+C or Ctrl+Break returns nothing,
// which the runtime takes for the end of the input, and it may do so
// before the console's handler thread has even run. The aborted read tells
// it apart from a real end (Ctrl+Z); the program then ends as Ctrl+C ends
// it, not with a message about an input that did not end.
void platformInputEnded() {
    const bool aborted = GetLastError() == ERROR_OPERATION_ABORTED;
    if (!isConsoleHandle(GetStdHandle(STD_INPUT_HANDLE))) return;  // a file or pipe really ended
    if (aborted || interrupted != 0) endAsInterrupted();
}

void platformWriteOutput(const char* text, int length) {
    // Nobody can see the dialogue any more: asking on would only wait
    // for answers to questions that were never shown.
    if (!writeStandardOutput(text, length)) platformExit(1);
}

void platformWriteError(const char* text, int length) {
    writeAll(GetStdHandle(STD_ERROR_HANDLE), text, length);
}

bool platformHasConsole() {
    if (!consoleChecked) {
        consoleChecked = true;
        consoleInput = openConsoleDevice("CONIN$");
        consoleOutput = openConsoleDevice("CONOUT$");
        if (!isConsoleHandle(consoleInput) || !isConsoleHandle(consoleOutput)) {
            if (consoleInput != INVALID_HANDLE_VALUE) CloseHandle(consoleInput);
            if (consoleOutput != INVALID_HANDLE_VALUE) CloseHandle(consoleOutput);
            consoleInput = INVALID_HANDLE_VALUE;
            consoleOutput = INVALID_HANDLE_VALUE;
        }
    }
    return consoleInput != INVALID_HANDLE_VALUE;
}

bool platformReadKey(KeyPress* key) {
    if (!platformHasConsole() || !GetConsoleMode(consoleInput, &savedMode)) return false;
    setKeyMode();
    const bool read = readKeyEvents(key);
    restoreMode();
    return read;
}

// In a Windows code page the codes from 0x80 up are characters (e acute
// is 0x82 in code page 850).
HighCodeEcho platformHighCodeEcho() {
    return codePagesChanged != 0 ? kHighCodesAsUtf8 : kHighCodesAsCodePage;
}

void platformEchoText(const char* text, int length) {
    DWORD written = 0;
    WriteConsoleA(consoleOutput, text, static_cast<DWORD>(length), &written, nullptr);
}

void platformExit(int status) {
    status = finishStandardOutput(status);
    restoreMode();
    restoreCodePages();
    discardAtomicFiles();
    exit(status);
}

// LANGUAGE, when set, chooses as on Linux (the console is switched to
// UTF-8 for a translated run); otherwise the language of the user's
// interface.
Language platformLanguage() {
    const char* list = getenv("LANGUAGE");
    if (list != nullptr && list[0] != '\0') {
        // As a UTF-8 locale of some language would: the list decides.
        return chooseLanguage(
            LanguageEnvironment{list, nullptr, nullptr, "en_US.UTF-8", "en_US.UTF-8"});
    }
    switch (PRIMARYLANGID(GetUserDefaultUILanguage())) {
        case LANG_RUSSIAN:
            return kRussian;
        case LANG_UKRAINIAN:
            return kUkrainian;
        default:
            return kEnglish;
    }
}
