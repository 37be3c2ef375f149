// The console on a POSIX terminal. The dialogue's lines are read from
// standard input in the terminal's own (cooked) mode; a single key is read
// from the terminal itself in raw mode, switched on for that one read and
// off again at once, so the terminal is always given back as it was found:
// after each read, at every exit and when a signal stops or ends the
// process in the middle of a read. For that read the terminal is also asked
// to send Alt with a character as Esc and the character (xterm's default
// sends the character with its eighth bit set: Alt+Q would arrive as ñ),
// and its own setting is given back with the mode.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "keys/key_decoder.h"
#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "platform/standard_streams.h"

namespace {

// xterm's private mode 1036 (metaSendsEscape): saved and set for a key
// read, the saved setting restored after it. A terminal that does not
// know the mode ignores the sequences; a terminal type of "dumb" (or
// none) gets none.
const char kSendAltAsEscape[] = "\x1b[?1036s\x1b[?1036h";
const char kRestoreAlt[] = "\x1b[?1036r";

// The terminal and standard input, as the key reads and the signal
// handlers see them. The handlers read and write the sig_atomic_t fields.
struct Terminal {
    bool consoleChecked;          // the controlling terminal has been looked for
    int fd;                       // the controlling terminal, for key reads; -1 when there is none
    bool inputIsTerminal;         // standard input is a terminal: read a byte at a time
    bool inputEnded;              // standard input has ended: it is not read again
    bool takesModes;              // the terminal type takes xterm's private modes
    termios savedMode;            // the mode found at a key read, given back after it
    termios rawMode;              // the mode of a key read
    volatile sig_atomic_t isRaw;  // in rawMode, or being put there
    volatile sig_atomic_t waitingForKey;    // a key read is under way: raw again on continue
    volatile sig_atomic_t altSentAsEscape;  // asked for mode 1036, own setting not yet back
};

Terminal terminal = {false, -1, false, false, false, {}, {}, 0, 0, 0};

// The signals whose default action is not to end the process: they stop
// it, continue it or are ignored (or cannot be caught). SIGPIPE and
// SIGXFSZ end it, but are ignored, so that a reader that has gone away
// and a file past the size limit (ulimit -f) show up as failed writes
// (EPIPE, EFBIG), which are reported, instead of a silent death.
const int kSignalsThatDoNotEnd[] = {SIGCHLD, SIGCONT,  SIGSTOP, SIGTSTP, SIGTTIN, SIGTTOU,
                                    SIGURG,  SIGWINCH, SIGKILL, SIGPIPE, SIGXFSZ};

bool endsTheProcess(int signal) {
    for (int other : kSignalsThatDoNotEnd) {
        if (other == signal) return false;
    }
    return true;
}

void writeAll(int fd, const char* text, int length);

bool termTakesModes() {
    const char* term = getenv("TERM");
    return term != nullptr && term[0] != '\0' && strcmp(term, "dumb") != 0;
}

// Sends one of the mode's sequences with every signal held off: a handler
// run in between would write its own sequence into the middle of this
// one, or act on a flag that does not yet say what the terminal was told.
// Called by the handlers too (write and sigprocmask are async-signal-safe).
void sendAltMode(const char* sequence, int length, int setAfter) {
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &before);
    if (terminal.takesModes && terminal.altSentAsEscape != setAfter) {
        writeAll(terminal.fd, sequence, length);
        terminal.altSentAsEscape = setAfter;
    }
    sigprocmask(SIG_SETMASK, &before, nullptr);
}

// Only once per key read: a second save would keep the mode just set.
void sendMetaSendsEscape() { sendAltMode(kSendAltAsEscape, sizeof kSendAltAsEscape - 1, 1); }

void restoreMetaSendsEscape() { sendAltMode(kRestoreAlt, sizeof kRestoreAlt - 1, 0); }

void setRaw() {
    terminal.isRaw = 1;  // set first: a signal in between restores a mode not yet changed
    tcsetattr(terminal.fd, TCSANOW, &terminal.rawMode);
    sendMetaSendsEscape();
}

void setSaved() {
    restoreMetaSendsEscape();
    tcsetattr(terminal.fd, TCSANOW, &terminal.savedMode);
    terminal.isRaw = 0;
}

// Lets the signal do what it does by default (end or stop the process)
// from inside its handler. Only async-signal-safe calls.
void raiseWithDefaultAction(int signal) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = SIG_DFL;
    sigaction(signal, &action, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
}

// Ends the process the way the signal would have, after giving the
// terminal back and undoing the files of -o. The other ending signals are
// held off meanwhile (see installSignalHandlers), so that a second one
// cannot cut the undoing short between two of its steps.
void onEndingSignal(int signal) {
    if (terminal.isRaw) setSaved();
    discardAtomicFiles();
    raiseWithDefaultAction(signal);
}

void installHandler(int signal, void (*handler)(int), const sigset_t* heldOff) {
    struct sigaction action;
    memset(&action, 0, sizeof action);
    action.sa_handler = handler;
    action.sa_mask = *heldOff;
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

void installHandler(int signal, void (*handler)(int)) {
    sigset_t none;
    sigemptyset(&none);
    installHandler(signal, handler, &none);
}

// A stop in the middle of a key read (Ctrl+Z, or a read or a mode change
// from the background: SIGTTIN, SIGTTOU): the shell gets its terminal back
// in its own mode while the program is stopped. SIGTTOU is held off while
// the mode is given back, so that it is given back from the background
// too, instead of stopping the process a second time with the terminal
// still raw.
void onStop(int signal) {
    const int savedErrno = errno;
    sigset_t ttou;
    sigset_t before;
    sigemptyset(&ttou);
    sigaddset(&ttou, SIGTTOU);
    sigprocmask(SIG_BLOCK, &ttou, &before);
    if (terminal.isRaw) setSaved();
    sigprocmask(SIG_SETMASK, &before, nullptr);
    raiseWithDefaultAction(signal);
    // Resumed here, or not stopped at all: in an orphaned process group
    // the stop is discarded. Either way a key read still waiting needs its
    // mode back.
    installHandler(signal, onStop);
    if (terminal.waitingForKey) setRaw();
    errno = savedErrno;
}

void onContinue(int) {
    const int savedErrno = errno;
    if (terminal.waitingForKey) setRaw();
    errno = savedErrno;
}

// Only signals left to their default action get a handler: one that is
// ignored stays ignored (as under nohup), and one that a runtime handles
// (a sanitizer's crash report) stays handled. Signals the system keeps
// for itself are refused by sigaction and are left alone.
bool hasDefaultAction(int signal) {
    struct sigaction current;
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_DFL &&
           (current.sa_flags & SA_SIGINFO) == 0;
}

void installSignalHandlers() {
    sigset_t ending;
    sigemptyset(&ending);
    for (int signal = 1; signal < NSIG; ++signal) {
        if (endsTheProcess(signal)) sigaddset(&ending, signal);
    }
    for (int signal = 1; signal < NSIG; ++signal) {
        if (endsTheProcess(signal) && hasDefaultAction(signal))
            installHandler(signal, onEndingSignal, &ending);
    }
    const int stops[] = {SIGTSTP, SIGTTIN, SIGTTOU};
    for (int stop : stops) {
        if (hasDefaultAction(stop)) installHandler(stop, onStop);
    }
    installHandler(SIGCONT, onContinue);
    signal(SIGPIPE, SIG_IGN);
    signal(SIGXFSZ, SIG_IGN);
}

// A standard stream that is closed leaves its number free, and the next
// file opened would take it: the dialogue written to standard output
// would go into a file of -o, or a game file be taken for standard
// output. Each closed one gets /dev/null, opened the wrong way round, so
// that its reads or writes still fail as they did (EBADF) and are
// reported as they were.
void reserveStandardStreams() {
    const int directions[] = {O_WRONLY, O_RDONLY, O_RDONLY};  // stdin, stdout, stderr
    for (int fd = 0; fd < 3; ++fd) {
        if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
        const int reserved = open("/dev/null", directions[fd]);
        if (reserved >= 0 && reserved != fd) close(reserved);  // (fd was taken meanwhile)
    }
}

// The key-read mode: bytes as they come, one at a time, no echo, no
// signals from Ctrl+C or Ctrl+Z, Enter as CR, no flow control. Output
// processing stays as it was.
void makeRawMode() {
    terminal.rawMode = terminal.savedMode;
    terminal.rawMode.c_iflag &=
        ~(tcflag_t)(ICRNL | INLCR | IGNCR | IXON | IXOFF | IXANY | ISTRIP | BRKINT);
    terminal.rawMode.c_lflag &= ~(tcflag_t)(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    terminal.rawMode.c_cc[VMIN] = 1;
    terminal.rawMode.c_cc[VTIME] = 0;
}

int readTerminalByte(void*, int timeoutMs) {
    for (;;) {
        struct pollfd ready = {terminal.fd, POLLIN, 0};
        const int polled = poll(&ready, 1, timeoutMs);
        if (polled < 0 && errno == EINTR) continue;
        if (polled < 0) return kByteFailure;
        if (polled == 0) return kNoByte;
        unsigned char byte;
        const ssize_t got = read(terminal.fd, &byte, 1);
        if (got == 1) return byte;
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        return kByteFailure;  // end of file or an error: the terminal is gone
    }
}

// The terminal's bytes, with those read ahead of the key being decoded.
ByteInput terminalBytes = {readTerminalByte, nullptr, {0}, 0, false};

void writeAll(int fd, const char* text, int length) {
    while (length > 0) {
        const ssize_t written = write(fd, text, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text += written;
        length -= static_cast<int>(written);
    }
}

}  // namespace

void platformStart() {
    reserveStandardStreams();
    setUpStandardStreams(isatty(STDOUT_FILENO) == 1);
    terminal.inputIsTerminal = isatty(STDIN_FILENO) == 1;
    terminal.takesModes = termTakesModes();
    installSignalHandlers();
}

// A terminal is read a byte at a time: when it goes back to line mode
// after a key read, everything typed ahead comes in one piece, and the
// answers and keys in it must still be taken in the order they were
// typed. A line typed in raw mode ends in CR, not LF.
// An input left non-blocking by whoever started the program is waited
// for, not taken to have ended. An error after some bytes is met again at
// the next read.
int platformReadInput(char* buffer, int capacity) {
    int length = 0;
    while (!terminal.inputEnded && length < capacity) {
        const ssize_t got =
            read(STDIN_FILENO, buffer + length, terminal.inputIsTerminal ? 1 : capacity - length);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            struct pollfd ready = {STDIN_FILENO, POLLIN, 0};
            poll(&ready, 1, -1);
            continue;
        }
        if (got < 0) return length > 0 ? length : -1;
        if (got == 0) {
            terminal.inputEnded = length == 0;
            break;
        }
        length += static_cast<int>(got);
        const char last = buffer[length - 1];
        if (!terminal.inputIsTerminal || last == '\n' || last == '\r') break;
    }
    return length;
}

void platformFlushOutput() {
    if (!flushStandardOutput()) platformExit(1);
}

// Ctrl+C at a line read is SIGINT here, and ends the program by itself.
void platformInputEnded() {}

void platformWriteOutput(const char* text, int length) {
    // Nobody can see the dialogue any more: asking on would only wait
    // for answers to questions that were never shown.
    if (!writeStandardOutput(text, length)) platformExit(1);
}

void platformWriteError(const char* text, int length) { writeAll(STDERR_FILENO, text, length); }

bool platformHasConsole() {
    if (!terminal.consoleChecked) {
        terminal.consoleChecked = true;
        terminal.fd = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    return terminal.fd >= 0;
}

bool platformReadKey(KeyPress* key) {
    if (!platformHasConsole() || tcgetattr(terminal.fd, &terminal.savedMode) != 0) return false;
    makeRawMode();
    terminal.waitingForKey = 1;
    setRaw();
    const bool read = decodeKey(&terminalBytes, key);
    terminal.waitingForKey = 0;
    setSaved();
    return read;
}

// A terminal shows text in the character set of the locale.
HighCodeEcho platformHighCodeEcho() {
    return localeTakesUtf8(getenv("LC_ALL"), getenv("LC_CTYPE"), getenv("LANG"))
               ? kHighCodesAsUtf8
               : kHighCodesAsBytes;
}

void platformEchoText(const char* text, int length) { writeAll(terminal.fd, text, length); }

// What is still typed ahead in the terminal was meant for this program
// (the rest of a pasted text, the second character of a key), not for the
// shell that gets the terminal next.
void platformExit(int status) {
    status = finishStandardOutput(status);
    discardAtomicFiles();
    if (terminal.isRaw) setSaved();
    // (From the background that would stop the process instead.)
    if (terminal.fd >= 0 && tcgetpgrp(terminal.fd) == getpgrp()) tcflush(terminal.fd, TCIFLUSH);
    exit(status);
}
