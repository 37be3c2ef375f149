#include "pty_session.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

#ifndef BR_PROGRAM_PATH
#error "BR_PROGRAM_PATH must name the program under test"
#endif

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point deadlineAfter(int timeoutMs) {
    return Clock::now() + std::chrono::milliseconds(timeoutMs);
}

int msLeft(Clock::time_point deadline) {
    auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// The environment of the program: a terminal type (none when empty) and,
// so that the sanitizer builds behave as configured, the sanitizer options.
std::vector<std::string> childEnvironment(const std::string& terminalType) {
    std::vector<std::string> env;
    if (!terminalType.empty()) env.push_back("TERM=" + terminalType);
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"}) {
        const char* value = std::getenv(name);
        if (value != nullptr) env.push_back(std::string(name) + "=" + value);
    }
    return env;
}

struct ExecArguments {
    std::vector<std::string> envStrings;
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    std::vector<char*> envp;

    explicit ExecArguments(const std::vector<std::string>& programArguments,
                           const std::vector<std::string>& moreEnvironment = {},
                           const std::string& terminalType = "xterm")
        : envStrings(childEnvironment(terminalType)), arguments(programArguments) {
        envStrings.insert(envStrings.end(), moreEnvironment.begin(), moreEnvironment.end());
        argv.push_back(const_cast<char*>(BR_PROGRAM_PATH));
        for (std::string& argument : arguments) argv.push_back(&argument[0]);
        argv.push_back(nullptr);
        for (std::string& entry : envStrings) envp.push_back(&entry[0]);
        envp.push_back(nullptr);
    }
};

// In the child, between fork and exec: no core files from the signal
// tests, default signal handling (or a hang-up ignored, as under nohup),
// then the program.
[[noreturn]] void execProgram(ExecArguments& args, bool ignoreHangUp = false) {
    struct rlimit noCore = {0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGTSTP, SIGTTIN, SIGTTOU}) {
        signal(sig, SIG_DFL);
    }
    if (ignoreHangUp) signal(SIGHUP, SIG_IGN);
    execve(args.argv[0], args.argv.data(), args.envp.data());
    _exit(127);
}

// The sequences that ask for Alt as Esc during a key read and give the
// terminal's own setting back: a terminal shows nothing for them. Each
// is logged as its final letter.
const char* const kAltModeSequences[] = {"\x1b[?1036s", "\x1b[?1036h", "\x1b[?1036r"};

// How many bytes of a mode sequence `text` starts with: all of one, or a
// part of one that has not arrived in full yet (-1 for none).
int altModeSequenceAt(const std::string& text, std::string::size_type at, bool* whole) {
    for (const char* sequence : kAltModeSequences) {
        const std::string s(sequence);
        const std::string start = text.substr(at, s.size());
        if (start == s) {
            *whole = true;
            return static_cast<int>(s.size());
        }
        if (start.size() < s.size() && s.compare(0, start.size(), start) == 0) {
            *whole = false;
            return static_cast<int>(start.size());
        }
    }
    return -1;
}

std::string readWholeFile(int fd) {
    std::string text;
    lseek(fd, 0, SEEK_SET);
    char buffer[4096];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

}  // namespace

std::string screenOf(const std::string& text) {
    std::string screen;
    for (char c : text) {
        if (c == '\n') screen += '\r';
        screen += c;
    }
    return screen;
}

std::string visible(const std::string& text) {
    std::string shown;
    for (unsigned char c : text) {
        if (c == '\n') {
            shown += "\\n\n";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (c == '\\') {
            shown += "\\\\";
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            shown += hex;
        } else {
            shown += static_cast<char>(c);
        }
    }
    return shown;
}

std::string describeStatus(int waitStatus) {
    if (WIFEXITED(waitStatus))
        return "exited with status " + std::to_string(WEXITSTATUS(waitStatus));
    if (WIFSIGNALED(waitStatus)) {
        int sig = WTERMSIG(waitStatus);
        return "killed by signal " + std::to_string(sig) + " (" + strsignal(sig) + ")";
    }
    return "wait status " + std::to_string(waitStatus);
}

::testing::AssertionResult exitedWith(int waitStatus, int code) {
    if (WIFEXITED(waitStatus) && WEXITSTATUS(waitStatus) == code)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected exit status " << code << ", but the program " << describeStatus(waitStatus);
}

::testing::AssertionResult killedBy(int waitStatus, int signalNumber) {
    if (WIFSIGNALED(waitStatus) && WTERMSIG(waitStatus) == signalNumber)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected death by signal " << signalNumber << " (" << strsignal(signalNumber)
           << "), but the program " << describeStatus(waitStatus);
}

::testing::AssertionResult sameTerminalMode(const termios& expected, const termios& actual) {
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    bool same = true;
    auto compareFlags = [&](const char* name, tcflag_t want, tcflag_t got) {
        if (want == got) return;
        same = false;
        char line[160];
        std::snprintf(line, sizeof line, "%s: expected %#o, got %#o (differing bits %#o)\n", name,
                      static_cast<unsigned>(want), static_cast<unsigned>(got),
                      static_cast<unsigned>(want ^ got));
        result << line;
    };
    compareFlags("c_iflag", expected.c_iflag, actual.c_iflag);
    compareFlags("c_oflag", expected.c_oflag, actual.c_oflag);
    compareFlags("c_cflag", expected.c_cflag, actual.c_cflag);
    compareFlags("c_lflag", expected.c_lflag, actual.c_lflag);
    for (int i = 0; i < NCCS; ++i) {
        if (expected.c_cc[i] == actual.c_cc[i]) continue;
        same = false;
        result << "c_cc[" << i << "]: expected " << static_cast<int>(expected.c_cc[i]) << ", got "
               << static_cast<int>(actual.c_cc[i]) << "\n";
    }
    if (same) return ::testing::AssertionSuccess();
    return result;
}

termios cookedMode() {
    termios mode{};
    mode.c_iflag = ICRNL | IXON;
    mode.c_oflag = OPOST | ONLCR;
    mode.c_cflag = CS8 | CREAD | HUPCL;
    mode.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | IEXTEN;
    mode.c_cc[VINTR] = 0x03;
    mode.c_cc[VQUIT] = 0x1C;
    mode.c_cc[VERASE] = 0x7F;
    mode.c_cc[VKILL] = 0x15;
    mode.c_cc[VEOF] = 0x04;
    mode.c_cc[VTIME] = 0;
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VSTART] = 0x11;
    mode.c_cc[VSTOP] = 0x13;
    mode.c_cc[VSUSP] = 0x1A;
    mode.c_cc[VREPRINT] = 0x12;
    mode.c_cc[VWERASE] = 0x17;
    mode.c_cc[VLNEXT] = 0x16;
    mode.c_cc[VDISCARD] = 0x0F;
    cfsetispeed(&mode, B38400);
    cfsetospeed(&mode, B38400);
    return mode;
}

PtySession::~PtySession() {
    killAndReap();
    if (master_ >= 0) close(master_);
    if (pipeOutput_ >= 0) close(pipeOutput_);
    if (heldSlave_ >= 0) close(heldSlave_);
}

::testing::AssertionResult PtySession::start() {
    if (pid_ > 0) return ::testing::AssertionFailure() << "the session was already started";
    ExecArguments args(arguments_, environment_, terminalType_);
    termios mode = cookedMode();
    int outputPipe[2] = {-1, -1};
    if (outputToPipe_ && pipe(outputPipe) != 0) {
        return ::testing::AssertionFailure() << "pipe failed: " << std::strerror(errno);
    }
    winsize size{};
    size.ws_row = 24;
    size.ws_col = 80;
    // The mode is taken before the fork: once the program runs, it may
    // already have made the terminal raw for a key read.
    int slave = -1;
    if (openpty(&master_, &slave, nullptr, &mode, &size) != 0)
        return ::testing::AssertionFailure() << "openpty failed: " << std::strerror(errno);
    if (tcgetattr(master_, &initialMode_) != 0) {
        close(slave);
        return ::testing::AssertionFailure() << "tcgetattr failed: " << std::strerror(errno);
    }
    pid_t pid = fork();
    if (pid < 0) {
        close(slave);
        return ::testing::AssertionFailure() << "fork failed: " << std::strerror(errno);
    }
    if (pid == 0) {
        close(master_);
        if (login_tty(slave) != 0) _exit(126);
        if (outputToPipe_) dup2(outputPipe[1], STDOUT_FILENO);
        execProgram(args, ignoreHangUp_);
    }
    close(slave);
    pid_ = pid;
    if (outputToPipe_) {
        close(outputPipe[1]);
        pipeOutput_ = outputPipe[0];
        fcntl(pipeOutput_, F_SETFD, FD_CLOEXEC);
    }
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    return ::testing::AssertionSuccess();
}

// Appends what the terminal shows within timeoutMs; false when nothing came.
bool PtySession::readSome(int timeoutMs) {
    if (master_ < 0 || masterClosedBySlave_) return false;
    pollfd pfd{master_, POLLIN, 0};
    int ready = poll(&pfd, 1, timeoutMs);
    if (ready <= 0) return false;
    char buffer[4096];
    ssize_t n = read(master_, buffer, sizeof buffer);
    if (n > 0) {
        takeOutput(std::string(buffer, static_cast<size_t>(n)));
        return true;
    }
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return false;
    // EIO (or end of file): every slave side has been closed, all output read.
    masterClosedBySlave_ = true;
    return false;
}

void PtySession::takeOutput(const std::string& bytes) {
    unsorted_ += bytes;
    std::string::size_type i = 0;
    while (i < unsorted_.size()) {
        bool whole = false;
        const int length = unsorted_[i] == '\x1b' ? altModeSequenceAt(unsorted_, i, &whole) : -1;
        if (length < 0) {
            transcript_ += unsorted_[i++];
        } else if (whole) {
            altModeLog_ += unsorted_[i + static_cast<std::string::size_type>(length) - 1];
            i += static_cast<std::string::size_type>(length);
        } else {
            break;  // the rest of it is still on its way
        }
    }
    unsorted_.erase(0, i);
}

bool PtySession::childHasEnded() const {
    if (reaped_) return true;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
        return true;
    return info.si_pid != 0;
}

::testing::AssertionResult PtySession::failure(const std::string& what) const {
    ::testing::AssertionResult result = ::testing::AssertionFailure();
    result << what << "\nProgram: ";
    if (reaped_) {
        result << describeStatus(exitStatus_);
    } else {
        result << (childHasEnded() ? "has ended" : "still running");
    }
    result << "\nScreen so far (cursor at " << cursor_ << "):\n" << visible(transcript_) << "\n";
    return result;
}

::testing::AssertionResult PtySession::waitFor(const std::string& text, int timeoutMs) {
    auto deadline = deadlineAfter(timeoutMs);
    for (;;) {
        auto found = transcript_.find(text, cursor_);
        if (found != std::string::npos) {
            cursor_ = found + text.size();
            return ::testing::AssertionSuccess();
        }
        if (masterClosedBySlave_ || msLeft(deadline) == 0) {
            return failure("The screen did not show:\n" + visible(text));
        }
        readSome(std::min(msLeft(deadline), 50));
    }
}

::testing::AssertionResult PtySession::waitForMode(bool raw, int timeoutMs) {
    auto deadline = deadlineAfter(timeoutMs);
    for (;;) {
        termios mode = currentMode();
        if (((mode.c_lflag & ICANON) == 0) == raw) return ::testing::AssertionSuccess();
        if (childHasEnded() || msLeft(deadline) == 0) {
            return failure(std::string("The terminal did not go into ") + (raw ? "raw" : "cooked") +
                           " mode.");
        }
        readSome(5);
    }
}

::testing::AssertionResult PtySession::waitForRawMode(int timeoutMs) {
    return waitForMode(true, timeoutMs);
}

::testing::AssertionResult PtySession::waitForCookedMode(int timeoutMs) {
    return waitForMode(false, timeoutMs);
}

void PtySession::type(const std::string& bytes) {
    std::string::size_type done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ADD_FAILURE() << "typing failed: " << std::strerror(errno);
            return;
        }
        done += static_cast<std::string::size_type>(n);
    }
}

::testing::AssertionResult PtySession::reap(int timeoutMs) {
    auto deadline = deadlineAfter(timeoutMs);
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            reaped_ = true;
            exitStatus_ = status;
            return ::testing::AssertionSuccess();
        }
        if (done < 0 && errno != EINTR) return failure("waitpid failed");
        if (msLeft(deadline) == 0) {
            killAndReap();
            return failure("The program had not ended in time and was killed.");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

::testing::AssertionResult PtySession::readUntilExit(int timeoutMs) {
    auto deadline = deadlineAfter(timeoutMs);
    while (!masterClosedBySlave_ && msLeft(deadline) > 0) {
        if (!readSome(std::min(msLeft(deadline), 50)) && childHasEnded()) {
            // Ended, yet the terminal is still open on the other side
            // (inherited by something else): take what is left and stop.
            while (readSome(100)) {
            }
            break;
        }
    }
    return reap(msLeft(deadline));
}

void PtySession::hangUp() {
    if (master_ >= 0) close(master_);
    master_ = -1;
}

::testing::AssertionResult PtySession::waitForExit(int timeoutMs) { return reap(timeoutMs); }

::testing::AssertionResult PtySession::waitForPipedOutput(const std::string& text, int timeoutMs) {
    auto deadline = deadlineAfter(timeoutMs);
    while (pipedOutput_.find(text, pipedCursor_) == std::string::npos) {
        if (msLeft(deadline) == 0 || pipeOutput_ < 0) {
            return ::testing::AssertionFailure()
                   << "waited in vain for \"" << visible(text) << "\" on the pipe; it holds \""
                   << visible(pipedOutput_.substr(pipedCursor_)) << "\"";
        }
        pollfd pfd{pipeOutput_, POLLIN, 0};
        if (poll(&pfd, 1, std::min(msLeft(deadline), 50)) <= 0) continue;
        char buffer[4096];
        const ssize_t n = read(pipeOutput_, buffer, sizeof buffer);
        if (n > 0) pipedOutput_.append(buffer, static_cast<size_t>(n));
        if (n == 0) {
            close(pipeOutput_);
            pipeOutput_ = -1;
        }
    }
    pipedCursor_ = pipedOutput_.find(text, pipedCursor_) + text.size();
    return ::testing::AssertionSuccess();
}

void PtySession::sendSignal(int signalNumber) {
    if (pid_ > 0 && !reaped_) kill(pid_, signalNumber);
}

void PtySession::holdTerminal() {
    if (heldSlave_ < 0) heldSlave_ = open(ptsname(master_), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (heldSlave_ < 0) ADD_FAILURE() << "cannot open the terminal: " << std::strerror(errno);
}

// A cooked terminal hands out no unfinished line, so the input is read in
// raw mode, and the mode put back afterwards.
std::string PtySession::inputLeft() {
    std::string left;
    termios mode{};
    if (heldSlave_ < 0 || tcgetattr(heldSlave_, &mode) != 0) {
        ADD_FAILURE() << "the terminal was not held";
        return left;
    }
    termios raw = mode;
    cfmakeraw(&raw);
    tcsetattr(heldSlave_, TCSANOW, &raw);
    pollfd pfd{heldSlave_, POLLIN, 0};
    char buffer[256];
    while (poll(&pfd, 1, 50) > 0) {
        const ssize_t n = read(heldSlave_, buffer, sizeof buffer);
        if (n <= 0) break;
        left.append(buffer, static_cast<size_t>(n));
    }
    tcsetattr(heldSlave_, TCSANOW, &mode);
    return left;
}

termios PtySession::currentMode() const {
    termios mode{};
    if (master_ < 0 || tcgetattr(master_, &mode) != 0) {
        ADD_FAILURE() << "tcgetattr on the terminal failed: " << std::strerror(errno);
    }
    return mode;
}

void PtySession::setMode(const termios& mode) {
    if (master_ < 0 || tcsetattr(master_, TCSANOW, &mode) != 0)
        ADD_FAILURE() << "tcsetattr on the terminal failed: " << std::strerror(errno);
}

void PtySession::killAndReap() {
    if (pid_ <= 0 || reaped_) return;
    kill(pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
    exitStatus_ = status;
}

DetachedRun runWithoutConsole(const std::string& input, int timeoutMs, const char* outputPath,
                              const std::vector<std::string>& arguments, const char* inputPath,
                              void (*inChild)(), const std::vector<std::string>& environment) {
    DetachedRun run;
    // Anonymous files: they vanish with the last descriptor.
    FILE* in = std::tmpfile();
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    if (in == nullptr || out == nullptr || err == nullptr) {
        ADD_FAILURE() << "cannot create temporary files: " << std::strerror(errno);
        for (FILE* f : {in, out, err}) {
            if (f != nullptr) std::fclose(f);
        }
        return run;
    }
    std::fwrite(input.data(), 1, input.size(), in);
    std::fflush(in);
    lseek(fileno(in), 0, SEEK_SET);

    ExecArguments args(arguments, environment);
    pid_t pid = fork();
    if (pid == 0) {
        setsid();  // a new session: no controlling terminal, /dev/tty cannot be opened
        dup2(fileno(in), STDIN_FILENO);
        if (inputPath != nullptr) {
            const int input = open(inputPath, O_RDONLY | O_NONBLOCK);
            if (input < 0) _exit(126);
            dup2(input, STDIN_FILENO);
        }
        if (outputPath != nullptr) {
            const int output = open(outputPath, O_WRONLY);
            if (output < 0) _exit(126);
            dup2(output, STDOUT_FILENO);
        } else {
            dup2(fileno(out), STDOUT_FILENO);
        }
        dup2(fileno(err), STDERR_FILENO);
        if (inChild != nullptr) inChild();
        execProgram(args);
    }
    if (pid < 0) {
        ADD_FAILURE() << "fork failed: " << std::strerror(errno);
    } else {
        auto deadline = deadlineAfter(timeoutMs);
        for (;;) {
            pid_t done = waitpid(pid, &run.status, WNOHANG);
            if (done == pid) {
                run.finished = true;
                break;
            }
            if (done < 0 && errno != EINTR) break;
            if (msLeft(deadline) == 0) {
                kill(pid, SIGKILL);
                while (waitpid(pid, &run.status, 0) < 0 && errno == EINTR) {
                }
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        run.output = readWholeFile(fileno(out));
        run.errors = readWholeFile(fileno(err));
    }
    std::fclose(in);
    std::fclose(out);
    std::fclose(err);
    return run;
}

}  // namespace e2e
