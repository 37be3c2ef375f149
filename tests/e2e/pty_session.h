// Runs the built program the way a person or a batch job does: in a
// pseudo-terminal (openpty), or detached from every terminal with standard
// input from a file. Every wait has a deadline, and a session always kills
// and reaps its program when it goes out of scope, even after a failed
// ASSERT, so no test leaves a process behind.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>
#include <termios.h>

#include <gtest/gtest.h>

namespace e2e {

// Generous, since the same tests also run under the sanitizers.
constexpr int kTimeoutMs = 10000;

// What the terminal shows for a plain text: the output processing of a
// cooked terminal (and its echo of typed lines) turns "\n" into "\r\n".
std::string screenOf(const std::string& text);

// The text with control and non-ASCII bytes spelled out, for messages.
std::string visible(const std::string& text);

// "exited with status 1", "killed by signal 15 (Terminated)", ...
std::string describeStatus(int waitStatus);

::testing::AssertionResult exitedWith(int waitStatus, int code);
::testing::AssertionResult killedBy(int waitStatus, int signalNumber);

// Compares the line settings that matter to a person at the terminal.
::testing::AssertionResult sameTerminalMode(const termios& expected, const termios& actual);

// The mode a fresh terminal window starts in: cooked, echoing, ONLCR.
termios cookedMode();

class PtySession {
public:
    PtySession() = default;
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    // Starts the program on a new 80x24 pseudo-terminal in cookedMode(),
    // with TERM=xterm and what addEnvironment gave as its only environment
    // (sanitizer options are passed on). The terminal's mode, read back
    // before the program is started, is kept as initialMode().
    ::testing::AssertionResult start();

    // Before start(): the arguments the program is started with.
    void setArguments(const std::vector<std::string>& arguments) { arguments_ = arguments; }

    // Before start(): standard output goes to a pipe instead of the
    // terminal, as in `brown-robinson | tee transcript`.
    void sendOutputToPipe() { outputToPipe_ = true; }

    // Reads the pipe until `text` appears after what was found before.
    ::testing::AssertionResult waitForPipedOutput(const std::string& text,
                                                  int timeoutMs = kTimeoutMs);

    // Before start(): one more variable in the program's environment, as
    // "LANG=C.UTF-8".
    void addEnvironment(const std::string& entry) { environment_.push_back(entry); }

    // Before start(): another terminal type, or none when empty.
    void setTerminalType(const std::string& type) { terminalType_ = type; }

    // Before start(): the program starts with SIGHUP ignored, as under
    // nohup, so that a closed terminal shows only as a failing read.
    void ignoreHangUpSignal() { ignoreHangUp_ = true; }

    // Reads the screen until `text` appears at or after the cursor; the
    // cursor then moves behind it.
    ::testing::AssertionResult waitFor(const std::string& text, int timeoutMs = kTimeoutMs);

    // Waits until the terminal is in raw (ICANON off) or cooked mode.
    ::testing::AssertionResult waitForRawMode(int timeoutMs = kTimeoutMs);
    ::testing::AssertionResult waitForCookedMode(int timeoutMs = kTimeoutMs);

    // Sends bytes as typed on the keyboard.
    void type(const std::string& bytes);

    // Reads everything until the program has ended and reaps it; kills it
    // with SIGKILL if it is still running when the time is up (a failure).
    ::testing::AssertionResult readUntilExit(int timeoutMs = kTimeoutMs);

    // Closes the terminal's master side, as when the window is closed.
    void hangUp();

    // Waits for the program to end without reading the terminal (after
    // hangUp); kills it when the time is up (a failure).
    ::testing::AssertionResult waitForExit(int timeoutMs = kTimeoutMs);

    void sendSignal(int signalNumber);

    // Opens the program's side of the terminal here too, so that what the
    // program leaves unread in the terminal's input stays there after it
    // has ended, for inputLeft() to find.
    void holdTerminal();
    std::string inputLeft();

    // The terminal's current line settings (tcgetattr on the master side),
    // and new ones for it, as another program on the terminal would set.
    termios currentMode() const;
    void setMode(const termios& mode);
    const termios& initialMode() const { return initialMode_; }

    // What the terminal shows: everything the program wrote to it but the
    // sequences of the Alt mode (xterm's metaSendsEscape), which are
    // logged instead, in order, by their final letters: s (save), h (set),
    // r (restore).
    const std::string& transcript() const { return transcript_; }
    const std::string& altModeLog() const { return altModeLog_; }
    std::string::size_type cursor() const { return cursor_; }
    int exitStatus() const { return exitStatus_; }

private:
    bool readSome(int timeoutMs);
    void takeOutput(const std::string& bytes);
    bool childHasEnded() const;
    ::testing::AssertionResult reap(int timeoutMs);
    ::testing::AssertionResult waitForMode(bool raw, int timeoutMs);
    ::testing::AssertionResult failure(const std::string& what) const;
    void killAndReap();

    std::vector<std::string> arguments_;
    bool outputToPipe_ = false;
    int pipeOutput_ = -1;
    std::string pipedOutput_;
    std::string::size_type pipedCursor_ = 0;
    int master_ = -1;
    int heldSlave_ = -1;
    pid_t pid_ = -1;
    bool reaped_ = false;
    bool ignoreHangUp_ = false;
    std::vector<std::string> environment_;
    bool masterClosedBySlave_ = false;
    int exitStatus_ = 0;
    termios initialMode_{};
    std::string terminalType_ = "xterm";
    std::string unsorted_;  // the start of a mode sequence, not yet complete
    std::string transcript_;
    std::string altModeLog_;
    std::string::size_type cursor_ = 0;
};

// The result of a run without a console.
struct DetachedRun {
    bool finished = false;  // false: killed when the time was up
    int status = 0;         // as waitpid reports it
    std::string output;     // standard output
    std::string errors;     // standard error
};

// Runs the program in a new session with no controlling terminal,
// standard input read from a file holding `input`, standard output and
// standard error written to files (standard output to `outputPath`
// instead, when given; the output then stays empty), with `arguments`.
// With `inputPath`, standard input is that file instead, opened
// non-blocking, as a careless parent may leave it. `inChild`, when given,
// is called in the child just before the program starts, to change what
// it inherits (a closed stream, a limit, another user). `environment`
// adds NAME=VALUE entries to the program's environment.
DetachedRun runWithoutConsole(const std::string& input, int timeoutMs = kTimeoutMs,
                              const char* outputPath = nullptr,
                              const std::vector<std::string>& arguments = {},
                              const char* inputPath = nullptr, void (*inChild)() = nullptr,
                              const std::vector<std::string>& environment = {});

}  // namespace e2e
