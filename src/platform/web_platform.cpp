// The console in a web page. The page runs a terminal and gives the
// program its keys; the program gets them through functions the page
// provides (imported, module "web"). The two reads wait for the user: the
// page suspends the program in them and resumes it when the answer is
// there (binaryen's asyncify, whose stack of saved calls lives in a
// buffer of this file, apart from anything the program uses).
//
// The page's terminal is a UTF-8 one; standard output and error both go
// to it, as at a real terminal. A line is typed and edited in the page as
// in a terminal's cooked mode, and comes here whole; a key read takes the
// bytes the terminal sends, one by one, through the program's own decoder.
#include <cstdint>
#include <cstdlib>

#include "keys/key_decoder.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "platform/standard_streams.h"
#include "text/language_choice.h"

#define BR_IMPORT(name) __attribute__((import_module("web"), import_name(name)))
#define BR_EXPORT(name) __attribute__((export_name(name)))

extern "C" {
// Waits for the user to end a line with Enter and stores it, its line
// end included, up to capacity bytes. Returns how many; 0 when the user
// ended the input (Ctrl+D on an empty line).
BR_IMPORT("read_line") int webReadLine(char* buffer, int capacity);
// The next byte the terminal sends in raw mode, 0..255; -1 when none comes
// within timeoutMs (a negative timeout waits as long as it takes).
BR_IMPORT("read_byte") int webReadByte(int timeoutMs);
// Writes bytes straight to the terminal.
BR_IMPORT("echo") void webEcho(const char* text, int length);
// The browser's local date as year * 10000 + month * 100 + day.
BR_IMPORT("today") int webToday();
}

// Debian's builtins for wasm32 (the 128-bit divisions of the exact
// solution) are built with the stack protector, which WASI's C library
// does not provide: its guard word and its report are here.
extern "C" {
uintptr_t __stack_chk_guard = 0x5aa5c3e1;
[[noreturn]] void __stack_chk_fail() { abort(); }
}

namespace {

// The saved calls of a suspended program: asyncify's two words (where
// the saved data goes next, where the room ends), then the room itself.
// The deepest wait (a key read under the results report) saves a few
// hundred bytes; the room is ample.
struct AsyncifyData {
    int32_t next;
    int32_t end;
    alignas(16) unsigned char room[16384];
};

AsyncifyData asyncifyData;

int readWebByte(void*, int timeoutMs) {
    const int byte = webReadByte(timeoutMs);
    return byte < 0 ? kNoByte : byte;
}

ByteInput webBytes = {readWebByte, nullptr, {0}, 0, false};

}  // namespace

// The page takes the address of the asyncify buffer from here, and sets
// its two words before each suspension.
extern "C" BR_EXPORT("asyncify_data") void* webAsyncifyData() {
    asyncifyData.next = static_cast<int32_t>(reinterpret_cast<intptr_t>(asyncifyData.room));
    asyncifyData.end = static_cast<int32_t>(
        reinterpret_cast<intptr_t>(asyncifyData.room + sizeof asyncifyData.room));
    return &asyncifyData;
}

bool platformToday(int* year, int* month, int* day) {
    const int today = webToday();
    *year = today / 10000;
    *month = today / 100 % 100;
    *day = today % 100;
    return today > 0;
}

void platformStart() { setUpStandardStreams(true); }

int platformReadInput(char* buffer, int capacity) { return webReadLine(buffer, capacity); }

void platformFlushOutput() {
    if (!flushStandardOutput()) platformExit(1);
}

void platformInputEnded() {}

void platformWriteOutput(const char* text, int length) {
    if (!writeStandardOutput(text, length)) platformExit(1);
}

void platformWriteError(const char* text, int length) {
    platformFlushOutput();
    webEcho(text, length);
}

bool platformHasConsole() { return true; }

bool platformReadKey(KeyPress* key) { return decodeKey(&webBytes, key); }

HighCodeEcho platformHighCodeEcho() { return kHighCodesAsUtf8; }

void platformEchoText(const char* text, int length) { webEcho(text, length); }

void platformExit(int status) {
    status = finishStandardOutput(status);
    discardAtomicFiles();
    exit(status);
}

Language platformLanguage() {
    return chooseLanguage(LanguageEnvironment{getenv("LANGUAGE"), getenv("LC_ALL"),
                                              getenv("LC_MESSAGES"), getenv("LC_CTYPE"),
                                              getenv("LANG")});
}
