// The command line: what each option and each usage error does (status,
// which stream, what it says), and games whose answers come from a file.
#include <unistd.h>

#include <cstdio>
#include <cstring>
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

std::string accuracyError(const std::string& text) {
    return "invalid accuracy: '" + text + "' (a positive decimal number, at most 9 decimals)";
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
        {{"--a=1"}, 2, "", usageError("option '--a' is ambiguous")},
        {{"--author="}, 2, "", usageError("invalid author: '' (1 to 40 bytes)")},
        {{"-a", std::string(41, 'x')}, 2, "",
         usageError("invalid author: '" + std::string(41, 'x') + "' (1 to 40 bytes)")},
        {{"--auth=a\x1b[2J"}, 2, "", usageError("invalid author: a control character in argument 1")},
        {{"-a1", "-a2", "-a3", "-a4", "-a5"}, 2, "", usageError("too many authors: '5' (at most 4)")},
        {{"a.game", "b.game"}, 2, "", usageError("extra operand 'b.game'")},
        {{"-", "-"}, 2, "", usageError("extra operand '-'")},
        {{"/nonexistent/x.game"}, 2, "",
         usageError("cannot open '/nonexistent/x.game': No such file or directory")},
        {{"-w", "/"}, 2, "", usageError("cannot open '/': Is a directory")},
        {{"--", "-x"}, 2, "", usageError("cannot open '-x': No such file or directory")},
        {{longPath()}, 2, "", usageError("cannot open '" + longPath() + "': No such file or directory")},
        // Opens, but its first bytes cannot be read.
        {{"/proc/self/mem"}, 2, "", usageError("cannot read '/proc/self/mem': Input/output error")},
        {{"-n"}, 2, "", usageError("option requires an argument -- 'n'")},
        {{"-xo"}, 2, "", usageError("option requires an argument -- 'o'")},
        {{"--iterations"}, 2, "", usageError("option '--iterations' requires an argument")},
        {{"--out"}, 2, "", usageError("option '--output' requires an argument")},
        {{"-n0"}, 2, "", usageError("invalid number of iterations: '0'")},
        {{"-n", "-5"}, 2, "", usageError("invalid number of iterations: '-5'")},
        {{"--iterations=10000001"}, 2, "",
         usageError("invalid number of iterations: '10000001'")},
        {{"--iter="}, 2, "", usageError("invalid number of iterations: ''")},
        {{"-n", "1e3"}, 2, "", usageError("invalid number of iterations: '1e3'")},
        {{"-n", "99999999999999999999"}, 2, "",
         usageError("invalid number of iterations: '99999999999999999999'")},
        {{"-o", "x.txt"}, 2, "",
         usageError("cannot tell the format of 'x.txt': its name must end in .svg, .graph.svg, .html, .csv, .nfg or .game")},
        {{"--output=svg"}, 2, "",
         usageError("cannot tell the format of 'svg': its name must end in .svg, .graph.svg, .html, .csv, .nfg or .game")},
        {{"-o", "dir/.svg"}, 2, "",
         usageError("cannot write 'dir/.svg': an output file needs a name before its extension")},
        {{"-o", ".Game"}, 2, "",
         usageError("cannot write '.Game': an output file needs a name before its extension")},
        // A name is quoted with its control characters in caret form.
        {{"-o", "\x1b[31mRED.txt"}, 2, "",
         usageError("cannot tell the format of '^[[31mRED.txt': its name must end in .svg, .graph.svg, .html, .csv, .nfg or .game")},
        {{"-o", "/nonexistent/\x1b]0;x\a.svg"}, 2, "",
         usageError("cannot write '/nonexistent/^[]0;x^G.svg': No such file or directory")},
        {{"/nonexistent/\x1b[2J\x7f"}, 2, "",
         usageError("cannot open '/nonexistent/^[[2J^?': No such file or directory")},
        {{"a.game", "\rb"}, 2, "", usageError("extra operand '^Mb'")},
        {{"-n", "\x1b[5"}, 2, "", usageError("invalid number of iterations: '^[[5'")},
        {{"-o-"}, 2, "", usageError("cannot write '-': an output file needs a name")},
        {{"-o", "/nonexistent/x.svg"}, 2, "",
         usageError("cannot write '/nonexistent/x.svg': No such file or directory")},
        {{"--output", "/etc/passwd/x.SVG"}, 2, "",
         usageError("cannot write '/etc/passwd/x.SVG': Not a directory")},
        {{"-o", "/proc/x.svg", "-n", "3"}, 2, "",
         usageError("cannot write '/proc/x.svg': No such file or directory")},
        {{"-e"}, 2, "", usageError("option requires an argument -- 'e'")},
        {{"--accuracy"}, 2, "", usageError("option '--accuracy' requires an argument")},
        {{"--st=1"}, 2, "", usageError("option '--steps' doesn't allow an argument")},
        {{"-e0"}, 2, "", usageError(accuracyError("0"))},
        {{"-e", "0.000"}, 2, "", usageError(accuracyError("0.000"))},
        {{"-e", "-0.1"}, 2, "", usageError(accuracyError("-0.1"))},
        {{"--accuracy=ten"}, 2, "", usageError(accuracyError("ten"))},
        {{"--acc", "0.1x"}, 2, "", usageError(accuracyError("0.1x"))},
        {{"-e", "0.0000000001"}, 2, "", usageError(accuracyError("0.0000000001"))},
        {{"-e", "1e-10"}, 2, "", usageError(accuracyError("1e-10"))},
        {{"-e", ""}, 2, "", usageError(accuracyError(""))},
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

// The number of iterations from the command line answers the question of
// it: the run is the one in which it was typed, less the two prints of
// that question (up to 99); a longer run shows its N and as many rows as
// asked for.
TEST(CommandLine, IterationsGiven) {
    const std::string game = "Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n";
    for (const char* iterations : {"1", "4", "99"}) {
        SCOPED_TRACE(iterations);
        const std::string rest = std::string(iterations) + "\n7\nq";
        const DetachedRun typed = runWithoutConsole(game + rest);
        const DetachedRun given =
            runWithoutConsole(game + "7\nq", kTimeoutMs, nullptr, {"-xn", iterations});
        const DetachedRun typedExact = runWithoutConsole(game + rest, kTimeoutMs, nullptr, {"-x"});
        std::string expected = typedExact.output;
        const size_t question = expected.find(kIterationsQuestion);
        ASSERT_NE(question, std::string::npos);
        expected.erase(question, kIterationsQuestion.size());
        EXPECT_EQ(visible(given.output), visible(expected));
        EXPECT_TRUE(exitedWith(given.status, 'q') && exitedWith(typed.status, 'q'));
    }

    const DetachedRun longer =
        runWithoutConsole(game + "150\nq", kTimeoutMs, nullptr, {"--iterations", "1000", "-x"});
    EXPECT_TRUE(exitedWith(longer.status, 'q'));
    EXPECT_EQ(longer.output.find(kIterationsQuestion), std::string::npos);
    EXPECT_NE(longer.output.find(reportRowsQuestion("1000")), std::string::npos);
    EXPECT_NE(longer.output.find("\n After 1000 iterations the frequencies of Alice"),
              std::string::npos);
    EXPECT_NE(longer.output.find("\n  | 150  |"), std::string::npos);
    EXPECT_EQ(longer.output.find("\n  | 151  |"), std::string::npos);
    // Each mixed strategy is a tally over N whose parts add up to N.
    for (const char* name : {"S'[Alice] = ( ", "S'[Bob] = ( "}) {
        const size_t start = longer.output.find(name);
        ASSERT_NE(start, std::string::npos);
        std::istringstream parts(
            longer.output.substr(start + strlen(name), longer.output.find(')', start) - start));
        long total = 0;
        for (std::string part; parts >> part && part != ")";) {
            EXPECT_EQ(part.substr(part.find('/')), "/1000") << part;
            total += std::stol(part);
        }
        EXPECT_EQ(total, 1000) << name;
    }

    // An answer to the rows question that cannot be read shows 99 rows of
    // a longer run, as if 99 had been answered, and all of a shorter one.
    for (const auto& run : {std::make_pair("1000", "99"), std::make_pair("50", "50")}) {
        for (const std::string unreadable : {"many\n", "3x\n"}) {
            SCOPED_TRACE(unreadable + " after -n " + run.first);
            const std::string key(1, unreadable[1] == 'x' ? 'x' : 'm');
            const DetachedRun shown =
                runWithoutConsole(game + unreadable, kTimeoutMs, nullptr, {"-n", run.first});
            const DetachedRun rows = runWithoutConsole(game + run.second + "\n" + key, kTimeoutMs,
                                                       nullptr, {"-n", run.first});
            EXPECT_TRUE(exitedWith(shown.status, key[0]));
            EXPECT_EQ(visible(shown.output), visible(rows.output));
        }
    }
}

// The number after `label` in `text`, as the exact block writes it after
// its fraction ("at least 55/17 = 3.235294"): the fraction's value.
double fractionAfter(const std::string& text, const std::string& label) {
    const size_t at = text.find(label);
    if (at == std::string::npos) return -1e300;
    std::istringstream in(text.substr(at + label.size()));
    double numerator = 0;
    double denominator = 1;
    char slash = 0;
    in >> numerator;
    if (in.peek() == '/') in >> slash >> denominator;
    return numerator / denominator;
}

// The gap between the bounds of the last iteration, read from the exact
// block of a run with -x.
double lastGap(const std::string& output, int iterations) {
    const std::string after = "\n After " + std::to_string(iterations) + " iterations";
    const size_t at = output.find(after);
    if (at == std::string::npos) return -1;
    const std::string block = output.substr(at);
    return fractionAfter(block, "lose at most ") - fractionAfter(block, "win at least ");
}

// A run to an accuracy is the run of the k iterations it stopped at, as -n
// k plays it, with the line that says so; k is the first iteration whose
// bounds are within the accuracy, as the exact block of k and k - 1
// certifies.
TEST(CommandLine, AccuracyStopsAtTheFirstIterationWithinIt) {
    const std::string games[] = {"Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n",
                                 "Ann Ben\n2 4\n-3 7 1 4\n6 -2 5 0\nN\n",
                                 "A B\n2 2\n1 0\n0 1\nN\n"};
    for (const std::string& game : games) {
        for (const char* eps : {"0.1", "0.5", "2", "1e-3"}) {
            SCOPED_TRACE(game + " -e " + eps);
            const DetachedRun run =
                runWithoutConsole(game + "7\nq", kTimeoutMs, nullptr, {"-x", "-e", eps});
            ASSERT_TRUE(exitedWith(run.status, 'q'));
            const std::string reached =
                "\n\n The accuracy " + std::string(eps) + " was reached after ";
            const size_t line = run.output.find(reached);
            ASSERT_NE(line, std::string::npos) << run.output;
            const int k = std::stoi(run.output.substr(line + reached.size()));
            const DetachedRun same = runWithoutConsole(game + "7\nq", kTimeoutMs, nullptr,
                                                       {"-x", "-n", std::to_string(k)});
            std::string without = run.output;
            without.erase(line, run.output.find('\n', line + 2) - line);
            EXPECT_EQ(visible(without), visible(same.output));
            EXPECT_LE(lastGap(run.output, k), std::stod(eps) * (1 + 1e-12));
            if (k > 1) {
                const DetachedRun before = runWithoutConsole(game + "7\nq", kTimeoutMs, nullptr,
                                                             {"-x", "-n", std::to_string(k - 1)});
                EXPECT_GT(lastGap(before.output, k - 1), std::stod(eps));
            }
        }
    }
    const DetachedRun never =
        runWithoutConsole(games[0] + "3\nq", kTimeoutMs, nullptr, {"-n", "50", "--accuracy=1e-9"});
    EXPECT_NE(never.output.find("\n\n The accuracy 1e-9 was not reached in 50 iterations: V_ = "),
              std::string::npos);
}

// The steps come after the table and before the exact block, and only when
// asked for.
TEST(CommandLine, StepsAfterTheTableBeforeTheExactBlock) {
    const std::string game = "Alice Bob\n3 3\n5 0 7\n2 5 0\n6 1 8\nY\n1\n4\n4\nq";
    const DetachedRun plain = runWithoutConsole(game, kTimeoutMs, nullptr, {"-x"});
    const DetachedRun steps = runWithoutConsole(game, kTimeoutMs, nullptr, {"-x", "--steps"});
    const std::string head = "\n\n ===== S T E P   B Y   S T E P ====";
    EXPECT_EQ(plain.output.find(head), std::string::npos);
    const size_t at = steps.output.find(head);
    ASSERT_NE(at, std::string::npos);
    const size_t exact = plain.output.find("\n\n ===== E X A C T");
    ASSERT_NE(exact, std::string::npos);
    EXPECT_EQ(visible(steps.output.substr(0, at)), visible(plain.output.substr(0, exact)));
    EXPECT_EQ(visible(steps.output.substr(steps.output.find("\n\n ===== E X A C T"))),
              visible(plain.output.substr(exact)));
}

TEST(CommandLine, HelpAndVersionSayWhatTheyMust) {
    const DetachedRun help = runWithoutConsole("", kTimeoutMs, nullptr, {"--help"});
    EXPECT_EQ(help.output.rfind("Usage: brown-robinson [OPTION]... [GAME-FILE]\n", 0), 0u);
    for (const char* text :
         {"-x, --exact", "-w, --wide", "-n, --iterations=N", "-o, --output=FILE",
          "-e, --accuracy=EPS", "-s, --steps", ".svg", "-h, --help", "-V, --version", "GAME-FILE",
          "Exit status:", "\nSee brown-robinson(1).\n"}) {
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
    }
    std::istringstream lines(help.output);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;

    const DetachedRun version = runWithoutConsole("", kTimeoutMs, nullptr, {"-V"});
    EXPECT_EQ(version.output.rfind("brown-robinson " BR_VERSION "\n", 0), 0u);
    EXPECT_NE(version.output.find("MIT"), std::string::npos);
}

// The prompts of the worked game and their answers, in order, up to the
// first key (which is echoed as a key, wherever it comes from) and on.
using Answers = std::vector<std::pair<std::string, std::string>>;

Answers workedAnswers(size_t count) {
    Answers all = {
        {kFirstName, "Alice"}, {kSecondName, "Bob"}, {kRowsLimit, "3"}, {kColumnsLimit, "3"}};
    const char* const entries[] = {"5", "0", "7", "2", "5", "0", "6", "1", "8"};
    for (int k = 0; k < 9; ++k) all.push_back({entry(k / 3 + 1, k % 3 + 1), entries[k]});
    all.push_back({kStrategyPrompt, "1"});
    all.push_back({kIterationsLimit, "4"});
    all.push_back({reportRowsQuestion("4"), "4"});
    all.resize(count);
    return all;
}

// The output with each answer shown after its prompt, one to a line.
std::string withAnswersShown(std::string output, const Answers& answers) {
    size_t at = 0;
    for (const auto& shown : answers) {
        at = output.find(shown.first, at);
        if (at == std::string::npos) return "(no prompt " + visible(shown.first) + ")";
        at += shown.first.size();
        output.insert(at, shown.second + "\n");
        at += shown.second.size() + 1;
    }
    return output;
}

// However the answers are split between the file and standard input, the
// run is the one they give on standard input alone (the file's end ending
// a line), with the file's answers shown after their prompts.
TEST(GameFile, FileThenStandardInputWithoutATerminal) {
    const size_t afterMatrix = kWorkedGame.find("Y\n");
    const size_t lastEntry = kWorkedGame.find("8\n");
    Answers control = {{kFirstName, "A^[]0;t^G"}};
    for (const auto& answer : workedAnswers(13)) control.push_back(answer);
    const struct {
        std::string file;
        std::string input;
        std::vector<std::string> before, after;  // arguments around the file's name
        Answers shown;
    } cases[] = {
        {kWorkedGame, "", {}, {}, workedAnswers(16)},
        {kWorkedGame.substr(0, afterMatrix),
         kWorkedGame.substr(afterMatrix),
         {},
         {},
         workedAnswers(13)},
        {"Alice", kWorkedGame.substr(5), {"--"}, {}, workedAnswers(1)},  // a name cut by the end
        {"", kWorkedGame, {}, {}, {}},
        // The end of the file ends the entry 1: the 8 typed after it is the next one.
        {kWorkedGame.substr(0, lastEntry - 1),
         kWorkedGame.substr(lastEntry),
         {},
         {},
         workedAnswers(12)},
        // A refused last answer drops the rest of the file's line, not the line typed next.
        {kWorkedGame.substr(0, lastEntry) + "x y",
         kWorkedGame.substr(lastEntry),
         {},
         {},
         [] {
             Answers a = workedAnswers(13);
             a.back().second = "x y";
             return a;
         }()},
        // A name that would retitle the terminal is refused, and shown harmless.
        {"A\x1b]0;t\x07\n" + kWorkedGame.substr(0, afterMatrix),
         kWorkedGame.substr(afterMatrix),
         {},
         {},
         control},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("file: " + visible(c.file));
        const bool endsLine = c.file.empty() || c.file.back() == '\n';
        const DetachedRun typed = runWithoutConsole(c.file + (endsLine ? "" : "\n") + c.input);
        ASSERT_TRUE(exitedWith(typed.status, 'q'));
        TempFile file(c.file);
        std::vector<std::string> arguments = c.before;
        arguments.push_back(file.path);
        const DetachedRun run = runWithoutConsole(c.input, kTimeoutMs, nullptr, arguments);
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        EXPECT_EQ(visible(run.output), visible(withAnswersShown(typed.output, c.shown)));
        EXPECT_EQ(run.errors, "");
    }
    // A file that is also standard output would read its own questions back.
    TempFile same(kWorkedGame);
    const DetachedRun loop = runWithoutConsole("", kTimeoutMs, same.path.c_str(), {same.path});
    EXPECT_TRUE(exitedWith(loop.status, 2));
    EXPECT_EQ(loop.errors, usageError("'" + same.path + "': input file is output file"));
    const DetachedRun typed = runWithoutConsole(kWorkedGame);
    const DetachedRun dash = runWithoutConsole(kWorkedGame, kTimeoutMs, nullptr, {"-"});
    EXPECT_EQ(visible(dash.output), visible(typed.output));
}

// At a terminal the file's answers are shown as if typed, one to a line
// (the terminal echoes none of them); the keys and the answers after the
// file come from the person.
TEST(GameFile, FileThenTheTerminal) {
    TempFile file("Ann Bob\n2 2\n1 2\n3 4\n");
    PtySession session;
    session.setArguments({file.path});
    ASSERT_TRUE(session.start());
    const std::string dialogue =
        kFirstName + "Ann\n" + kSecondName + "Bob\n" + rowsQuestion("Ann") + "2\n" +
        columnsQuestion("Bob") + "2\n" + matrixIntro("Ann", "Bob") + entry(1, 1) + "1\n" +
        entry(1, 2) + "2\n" + entry(2, 1) + "3\n" + entry(2, 2) + "4\n" + startQuestion("Ann");
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
