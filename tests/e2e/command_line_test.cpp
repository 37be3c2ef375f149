// The command line: what each option and each usage error does (status,
// which stream, what it says), and games whose answers come from a file.
#include <unistd.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

const std::string kTryHelp = "Try 'brown-robinson --help' for more information.\n";
const std::string kWorkedGame = "Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\nq";

// A file that is removed when the test is done with it.
struct TempFile {
    std::string path;
    explicit TempFile(const std::string& content) {
        char name[] = "/tmp/brown-robinson-test-XXXXXX";
        const int fd = mkstemp(name);
        path = name;
        if (fd < 0 ||
            write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
            ADD_FAILURE() << "cannot write " << path;
        if (fd >= 0) close(fd);
    }
    ~TempFile() { unlink(path.c_str()); }
};

std::string usageError(const std::string& problem) {
    return "brown-robinson: " + problem + "\n" + kTryHelp;
}

// A path longer than any buffer of the program's messages.
std::string longPath() {
    std::string path = "/nonexistent";
    for (int i = 0; i < 10; ++i) path += "/" + std::string(200, 'd');
    return path + "/x.game";
}

TEST(CommandLine, OptionsAndUsageErrors) {
    const DetachedRun help = runWithoutConsole("", kTimeoutMs, nullptr, {"--help"});
    const DetachedRun version = runWithoutConsole("", kTimeoutMs, nullptr, {"--version"});
    ASSERT_TRUE(help.finished && version.finished);
    // clang-format off
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string output;  // the whole of standard output
        std::string errors;  // the whole of standard error
    } cases[] = {
        {{"--help"}, 0, help.output, ""},
        {{"-h"}, 0, help.output, ""},
        {{"--he"}, 0, help.output, ""},
        {{"-x", "--help", "--bogus"}, 0, help.output, ""},
        {{"-V"}, 0, version.output, ""},
        {{"--vers"}, 0, version.output, ""},
        {{"--bogus"}, 2, "", usageError("unrecognized option '--bogus'")},
        {{"--bogus=1"}, 2, "", usageError("unrecognized option '--bogus=1'")},
        {{"--=x"}, 2, "", usageError("unrecognized option '--=x'")},
        {{"-q"}, 2, "", usageError("invalid option -- 'q'")},
        {{"-xwq", "--help"}, 2, "", usageError("invalid option -- 'q'")},
        {{"--exact=yes"}, 2, "", usageError("option '--exact' doesn't allow an argument")},
        {{"--wid=1"}, 2, "", usageError("option '--wide' doesn't allow an argument")},
        {{"a.game", "b.game"}, 2, "", usageError("extra operand 'b.game'")},
        {{"-", "-"}, 2, "", usageError("extra operand '-'")},
        {{"/nonexistent/x.game"}, 2, "",
         usageError("cannot open '/nonexistent/x.game': No such file or directory")},
        {{"-w", "/"}, 2, "", usageError("cannot open '/': Is a directory")},
        {{"--", "-x"}, 2, "", usageError("cannot open '-x': No such file or directory")},
        {{longPath()}, 2, "", usageError("cannot open '" + longPath() + "': No such file or directory")},
        // Opens, but its first bytes cannot be read.
        {{"/proc/self/mem"}, 2, "", usageError("cannot read '/proc/self/mem': Input/output error")},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::string shown;
        for (const std::string& argument : c.arguments) shown += " " + argument;
        SCOPED_TRACE("arguments:" + shown);
        const DetachedRun run = runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, c.arguments);
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(exitedWith(run.status, c.status));
        EXPECT_EQ(visible(run.output), visible(c.output));
        EXPECT_EQ(visible(run.errors), visible(c.errors));
    }
}

TEST(CommandLine, HelpAndVersionSayWhatTheyMust) {
    const DetachedRun help = runWithoutConsole("", kTimeoutMs, nullptr, {"--help"});
    EXPECT_EQ(help.output.rfind("Usage: brown-robinson [OPTION]... [GAME-FILE]\n", 0), 0u);
    for (const char* text : {"-x, --exact", "-w, --wide", "-h, --help", "-V, --version",
                             "GAME-FILE", "Exit status:", "\nSee brown-robinson(1).\n"}) {
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
    }
    std::istringstream lines(help.output);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;

    const DetachedRun version = runWithoutConsole("", kTimeoutMs, nullptr, {"-V"});
    EXPECT_EQ(version.output.rfind("brown-robinson " BR_VERSION "\n", 0), 0u);
    EXPECT_NE(version.output.find("MIT"), std::string::npos);
}

// However the answers are split between the file and standard input, the
// run is the one they give on standard input alone.
TEST(GameFile, FileThenStandardInputWithoutATerminal) {
    const DetachedRun typed = runWithoutConsole(kWorkedGame);
    ASSERT_TRUE(exitedWith(typed.status, 'q'));
    const size_t afterMatrix = kWorkedGame.find("Y\n");
    const struct {
        std::string file;
        std::string input;
        std::vector<std::string> before, after;  // arguments around the file's name
    } cases[] = {
        {kWorkedGame, "", {}, {}},
        {kWorkedGame.substr(0, afterMatrix), kWorkedGame.substr(afterMatrix), {}, {}},
        {"Alice", kWorkedGame.substr(5), {"--"}, {}},  // a name cut by the end of the file
        {"", kWorkedGame, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("file: " + visible(c.file));
        TempFile file(c.file);
        std::vector<std::string> arguments = c.before;
        arguments.push_back(file.path);
        const DetachedRun run = runWithoutConsole(c.input, kTimeoutMs, nullptr, arguments);
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        EXPECT_EQ(visible(run.output), visible(typed.output));
        EXPECT_EQ(run.errors, "");
    }
    const DetachedRun dash = runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, {"-"});
    EXPECT_EQ(visible(dash.output), visible(typed.output));
}

// At a terminal the file's answers are not echoed (nobody typed them); the
// keys and the answers after the file come from the person.
TEST(GameFile, FileThenTheTerminal) {
    TempFile file("Ann Bob\n2 2\n1 2\n3 4\n");
    PtySession session;
    session.setArguments({file.path});
    ASSERT_TRUE(session.start());
    const std::string dialogue = kFirstName + kSecondName + rowsQuestion("Ann") +
                                 columnsQuestion("Bob") + matrixIntro("Ann", "Bob") + entry(1, 1) +
                                 entry(1, 2) + entry(2, 1) + entry(2, 2) + startQuestion("Ann");
    ASSERT_TRUE(session.waitFor(screenOf(dialogue)));
    EXPECT_EQ(visible(screenOf(dialogue)), visible(session.transcript()));
    ASSERT_TRUE(session.waitForRawMode());
    session.type("y");
    ASSERT_TRUE(session.waitFor(screenOf("y" + kStrategyPrompt)));
    session.type("2\n");
    ASSERT_TRUE(session.waitFor(screenOf(kIterationsQuestion)));
    session.type("3\n");
    ASSERT_TRUE(session.waitFor(screenOf(reportRowsQuestion("3"))));
    session.type("0\n");
    ASSERT_TRUE(session.waitForRawMode());
    session.type("z");
    ASSERT_TRUE(session.readUntilExit());
    EXPECT_TRUE(exitedWith(session.exitStatus(), 'z'));
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
}

}  // namespace
}  // namespace e2e
