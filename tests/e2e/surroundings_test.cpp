// Faults of the surroundings: a terminal that goes away while the program
// waits for a key, and an output that cannot be written.
#include <csignal>
#include <cstdio>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

const std::string kOneByOne = "Ann Bob\n1 1\n7\n";

// Types a 1 by 1 game up to the Y/N question and waits there in raw mode.
::testing::AssertionResult reachKeyQuestion(PtySession& session) {
    auto result = session.start();
    if (!result) return result;
    for (const char* typed : {"Ann Bob\n", "1 1\n", "7\n"}) {
        if (!(result = session.waitFor(": "))) return result;
        session.type(typed);
    }
    if (!(result = session.waitFor(screenOf(kKeyPrompt)))) return result;
    return session.waitForRawMode();
}

// From the Y/N question to the end: N, one iteration, no rows, and x as
// the final key, which is the exit status.
void finishFromKeyQuestion(PtySession& session) {
    ASSERT_TRUE(session.waitForRawMode());
    session.type("n");
    ASSERT_TRUE(session.waitFor(screenOf(kIterationsLimit)));
    session.type("1\n0\n");
    ASSERT_TRUE(session.waitFor("|________|\r\n"));
    ASSERT_TRUE(session.waitForRawMode());
    session.type("x");
    ASSERT_TRUE(session.readUntilExit());
    EXPECT_TRUE(exitedWith(session.exitStatus(), 'x'));
}

// With the hang-up signal ignored the closed terminal shows only as a
// failing read: the game cannot go on, and that is no success.
TEST(LostTerminal, AtTheKeyQuestionEndsWithFailure) {
    PtySession session;
    session.ignoreHangUpSignal();
    ASSERT_TRUE(reachKeyQuestion(session));
    session.hangUp();
    ASSERT_TRUE(session.waitForExit());
    EXPECT_TRUE(exitedWith(session.exitStatus(), 1));
}

// At the final key the report is complete: the run counts as done.
TEST(LostTerminal, AtTheFinalKeyEndsWithSuccess) {
    for (bool ignoreHangUp : {true, false}) {
        SCOPED_TRACE(ignoreHangUp ? "SIGHUP ignored" : "SIGHUP by default");
        PtySession session;
        if (ignoreHangUp) session.ignoreHangUpSignal();
        ASSERT_TRUE(reachKeyQuestion(session));
        session.type("n");
        ASSERT_TRUE(session.waitFor(screenOf(kIterationsLimit)));
        session.type("2\n");
        ASSERT_TRUE(session.waitFor(screenOf(reportRowsQuestion("2"))));
        session.type("2\n");
        ASSERT_TRUE(session.waitFor("|________|\r\n"));
        ASSERT_TRUE(session.waitForRawMode());
        session.hangUp();
        ASSERT_TRUE(session.waitForExit());
        if (ignoreHangUp) {
            EXPECT_TRUE(exitedWith(session.exitStatus(), 0));
        } else {
            EXPECT_TRUE(killedBy(session.exitStatus(), SIGHUP));
        }
    }
}

// A stop request while the program waits for a key gives the terminal its
// own mode back; the key read then goes on in raw mode. (Started on a
// terminal of its own, the program is in an orphaned process group, where
// the kernel discards the stop itself, so only the way back is seen.)
TEST(LostTerminal, StopRequestAtTheKeyQuestionKeepsTheReadGoing) {
    PtySession session;
    ASSERT_TRUE(reachKeyQuestion(session));
    session.sendSignal(SIGTSTP);
    // Time for the handler to run; a key typed in the terminal's own mode
    // would wait for Enter and the next prompt would never come.
    usleep(100 * 1000);
    ASSERT_NO_FATAL_FAILURE(finishFromKeyQuestion(session));
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
}

// A stop that no handler sees (SIGSTOP), while something else gives the
// terminal another mode (as a shell does when it gets the terminal back):
// on continue the key read takes its raw mode again.
TEST(LostTerminal, ContinueAfterAStopAtTheKeyQuestionTakesRawModeAgain) {
    PtySession session;
    ASSERT_TRUE(reachKeyQuestion(session));
    session.sendSignal(SIGSTOP);
    usleep(100 * 1000);
    session.setMode(session.initialMode());
    session.sendSignal(SIGCONT);
    ASSERT_TRUE(session.waitForRawMode(2000));
    ASSERT_NO_FATAL_FAILURE(finishFromKeyQuestion(session));
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
}

// While a key is read the terminal is asked to send Alt as Esc before the
// key, its own setting saved first and restored when the read ends, however
// it ends; a terminal type that takes no such sequences gets none.
struct AltModeCase {
    const char* name;
    const char* terminalType;
    int signal;       // sent at the Y/N question, or 0
    const char* log;  // the mode sequences the terminal receives, in order
};

// clang-format off
const AltModeCase kAltModeCases[] = {
    {"two key reads",    "xterm", 0,       "shrshr"},
    {"dumb terminal",    "dumb",  0,       ""},
    {"no terminal type", "",      0,       ""},
    // Given back at the stop request and asked for again as the read goes on.
    {"stop request",     "xterm", SIGTSTP, "shrshrshr"},
    // A read or a mode change from the background stops the process as well.
    {"background read",  "xterm", SIGTTIN, "shrshrshr"},
    {"background mode",  "xterm", SIGTTOU, "shrshrshr"},
    {"end request",      "xterm", SIGTERM, "shr"},
};
// clang-format on

TEST(AltMode, IsAskedForDuringEachKeyReadAndGivenBack) {
    for (const AltModeCase& c : kAltModeCases) {
        SCOPED_TRACE(c.name);
        PtySession session;
        session.setTerminalType(c.terminalType);
        ASSERT_TRUE(reachKeyQuestion(session));
        if (c.signal != 0) {
            session.sendSignal(c.signal);
            usleep(100 * 1000);
        }
        if (c.signal == SIGTERM) {
            ASSERT_TRUE(session.readUntilExit());
            EXPECT_TRUE(killedBy(session.exitStatus(), SIGTERM));
        } else {
            ASSERT_NO_FATAL_FAILURE(finishFromKeyQuestion(session));
        }
        EXPECT_EQ(session.altModeLog(), c.log);
    }
}

// A full disk: the output is lost, so the run must not report success,
// whatever key ended it.
TEST(FailingOutput, FullDeviceGivesStatusOneAndAMessage) {
    for (const std::string& ending :
         {std::string("0\n\n"), std::string("0\nq"), std::string("99\n\x01")}) {
        SCOPED_TRACE("report answers " + visible(ending));
        const DetachedRun run =
            runWithoutConsole(kOneByOne + "n 3\n" + ending, kTimeoutMs, "/dev/full");
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(exitedWith(run.status, 1));
        EXPECT_NE(run.errors.find("cannot write to standard output"), std::string::npos)
            << run.errors;
    }
}

// A reader that has gone away before the first line: the write fails (the
// program does not die of SIGPIPE unannounced) and the status says so.
TEST(FailingOutput, ClosedPipeGivesStatusOneAndAMessage) {
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    close(output[0]);
    FILE* input = tmpfile();
    FILE* errors = tmpfile();
    ASSERT_TRUE(input != nullptr && errors != nullptr);
    const std::string answers = kOneByOne + "n 3\n0\n";
    fwrite(answers.data(), 1, answers.size(), input);
    fflush(input);
    rewind(input);

    const pid_t pid = fork();
    if (pid == 0) {
        setsid();
        dup2(fileno(input), STDIN_FILENO);
        dup2(output[1], STDOUT_FILENO);
        dup2(fileno(errors), STDERR_FILENO);
        signal(SIGPIPE, SIG_DFL);
        execl(BR_PROGRAM_PATH, BR_PROGRAM_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(output[1]);
    ASSERT_GT(pid, 0);
    int status = 0;
    for (int waited = 0; waitpid(pid, &status, WNOHANG) == 0; ++waited) {
        if (waited == kTimeoutMs / 10) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            FAIL() << "the program did not end";
        }
        usleep(10 * 1000);
    }
    EXPECT_TRUE(exitedWith(status, 1));
    std::string message(200, '\0');
    rewind(errors);
    message.resize(fread(&message[0], 1, message.size(), errors));
    EXPECT_NE(message.find("cannot write to standard output: Broken pipe"), std::string::npos)
        << message;
    fclose(input);
    fclose(errors);
}

// Megabyte lines and binary bytes are refused by the usual policy and the
// next line is still answered.
TEST(HostileInput, LongLinesAndBinaryBytesAreRefused) {
    const std::string huge(1 << 20, '7');
    const std::string binary("\0\x01\xff\xe9", 4);
    const std::string input = std::string(1 << 20, 'x') + "\nAnn\n" + binary + "\nBob\n" + huge +
                              "\n" + binary + "\n1\n1\n" + huge + "\n-" + binary + "\n7\nn\n" +
                              binary + "\n1\n0\n";
    const DetachedRun run = runWithoutConsole(input);
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(exitedWith(run.status, 0));
    // A name of control bytes is refused like one that is too long.
    const std::string expected = kFirstName + kNameTooLong + kFirstName + kSecondName +
                                 kNameHoldsControl + kSecondName + rowsQuestion("Ann") +
                                 numberRefused(1, 10) + kRowsLimit + numberRefused(1, 10) +
                                 kRowsLimit + columnsQuestion("Bob");
    EXPECT_EQ(visible(expected), visible(run.output.substr(0, expected.size())));
    EXPECT_NE(run.output.find(entry(1, 1) + numberRefused(-10000000, 10000000) + entry(1, 1) +
                              numberRefused(-10000000, 10000000) + entry(1, 1)),
              std::string::npos);
    EXPECT_NE(run.output.find(numberRefused(1, 99) + kIterationsLimit + kReportStart),
              std::string::npos);
    EXPECT_NE(run.output.find("The mean price of the game is: 7.000000 -> 7 "), std::string::npos);
}

// Standard input that cannot be read is an error, told as one; one left
// non-blocking is waited for, not taken to have ended.
TEST(StandardInput, ReadErrorsAreToldAndANonBlockingInputIsWaitedFor) {
    const std::string game = "Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\nq";
    const DetachedRun directory = runWithoutConsole("", kTimeoutMs, nullptr, {}, "/");
    ASSERT_TRUE(directory.finished);
    EXPECT_TRUE(exitedWith(directory.status, 1));
    EXPECT_EQ(directory.errors, "brown-robinson: cannot read standard input: Is a directory\n");
    EXPECT_EQ(directory.output.find(kInputEnded), std::string::npos);

    char fifo[] = "/tmp/brown-robinson-fifo-XXXXXX";
    ASSERT_NE(mkdtemp(fifo), nullptr);
    const std::string path = std::string(fifo) + "/input";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const int writer = open(path.c_str(), O_RDWR);  // a writer that is there, but slow
    std::thread slowWriter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_EQ(write(writer, game.data(), game.size()), static_cast<ssize_t>(game.size()));
        close(writer);
    });
    const DetachedRun waited = runWithoutConsole("", kTimeoutMs, nullptr, {}, path.c_str());
    slowWriter.join();
    unlink(path.c_str());
    rmdir(fifo);
    EXPECT_TRUE(exitedWith(waited.status, 'q'));
    EXPECT_EQ(waited.output, runWithoutConsole(game).output);
}

}  // namespace
}  // namespace e2e
