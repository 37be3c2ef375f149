// The dialogue as a person sees it at a terminal, and as a batch job sees
// it without one. Every test rebuilds the whole screen it expects from the
// prompt texts and what the terminal echoes, and compares byte for byte.
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include <iconv.h>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

// ---- Scripts: what the program asks and what the person answers ---------

struct Step {
    std::string prompt;  // printed by the program before it waits
    std::string input;   // a typed line without its Enter, or the bytes of one key press
    bool isKey;
    std::string echo;  // for a key: what the program shows for it
};
using Script = std::vector<Step>;

Step line(const std::string& prompt, const std::string& input) {
    return Step{prompt, input, false, ""};
}

Step key(const std::string& prompt, const std::string& bytes, const std::string& echo) {
    return Step{prompt, bytes, true, echo};
}

// A 2 by 2 game with a start strategy chosen by the user.
// clang-format off
enum StandardStep {
    kNameOneStep, kNameTwoStep, kRowsStep, kColumnsStep,
    kEntry11Step, kEntry12Step, kEntry21Step, kEntry22Step,
    kKeyStep, kStrategyStep, kIterationsStep,
};
// clang-format on

Script standardGame(const std::string& one = "Ann", const std::string& two = "Bob") {
    return {
        line(kFirstName, one),
        line(kSecondName, two),
        line(rowsQuestion(one), "2"),
        line(columnsQuestion(two), "2"),
        line(matrixIntro(one, two) + entry(1, 1), "1"),
        line(entry(1, 2), "2"),
        line(entry(2, 1), "3"),
        line(entry(2, 2), "4"),
        key(startQuestion(one), "Y", "Y"),
        line(kStrategyPrompt, "2"),
        line(kIterationsQuestion, "3"),
    };
}

// The answer `refused` is given first at step `at` and refused with
// `message`, after which `askedAgain` is printed and the script goes on.
Script withRefusal(Script script, size_t at, const std::string& refused, const std::string& message,
                   const std::string& askedAgain) {
    Step first = line(script[at].prompt, refused);
    script[at].prompt = message + askedAgain;
    script.insert(script.begin() + static_cast<long>(at), first);
    return script;
}

Script firstSteps(const Script& script, size_t count) {
    return Script(script.begin(), script.begin() + static_cast<long>(count));
}

// ---- Driving the program at a terminal -----------------------------------

// Plays a dialogue at the terminal and keeps the screen it must produce.
class Dialogue {
public:
    explicit Dialogue(PtySession& session) : session_(session) {}

    // The program prints `text` (and then usually waits).
    void shows(const std::string& text) {
        expected_ += text;
        ASSERT_TRUE(session_.waitFor(screenOf(text)));
    }

    // A line typed and ended with Enter; the terminal echoes it.
    void types(const std::string& input) {
        expected_ += input + "\n";
        session_.type(input + "\n");
        lastLine_ = input;
    }

    // A key pressed at the Y/N question once the terminal is raw.
    void presses(const std::string& bytes, const std::string& echo) {
        ASSERT_TRUE(session_.waitForRawMode());
        expected_ += echo;
        session_.type(bytes);
    }

    // The echo of the second code of a two-code key: nothing is pressed.
    void echoesSecondCode(const std::string& echo) { expected_ += echo; }

    // The echo of a key typed at once after the one before it.
    void echoesKeyTypedAhead(const std::string& echo) { expected_ += echo; }

    void play(const Script& script) {
        for (const Step& step : script) {
            ASSERT_NO_FATAL_FAILURE(shows(step.prompt));
            if (step.isKey) {
                ASSERT_NO_FATAL_FAILURE(presses(step.input, step.echo));
            } else {
                types(step.input);
            }
        }
    }

    // Ctrl+D at the start of a line: the end of input.
    void endsInput() { session_.type("\x04"); }

    // The program ends with `status` before the game is complete; the
    // whole screen is as expected and the terminal as it was found.
    void endsWith(int status) {
        ASSERT_TRUE(session_.readUntilExit());
        EXPECT_EQ(visible(screenOf(expected_)), visible(session_.transcript()));
        EXPECT_TRUE(exitedWith(session_.exitStatus(), status));
        EXPECT_TRUE(sameTerminalMode(session_.initialMode(), session_.currentMode()));
    }

    // The dialogue is complete (its last answer was the number of
    // iterations): the screen so far is exactly the dialogue's and the
    // results follow. With `firstRow` given, the first row of the table
    // must be that text, which shows how the game was stored and where the
    // play started; otherwise no row is asked for. The closing key ends the
    // program with its code as the status.
    void finishesGame(const std::string& firstRow = "") {
        ASSERT_TRUE(session_.waitFor(screenOf(reportRowsQuestion(lastLine_))));
        const std::string dialogue = screenOf(expected_ + kReportStart);
        EXPECT_EQ(visible(dialogue), visible(session_.transcript().substr(0, dialogue.size())));
        session_.type(firstRow.empty() ? "0\n" : "1\n");
        if (!firstRow.empty()) {
            const std::string head =
                "|   V*   |\r\n  |_____|___|_________________|___|________________|________|";
            const std::string closing = "\r\n  |_____|";
            ASSERT_TRUE(session_.waitFor(head));
            const size_t rowStart = session_.cursor();
            ASSERT_TRUE(session_.waitFor(closing));
            const std::string shown = session_.transcript().substr(
                rowStart, session_.cursor() - closing.size() - rowStart);
            EXPECT_EQ(visible("\r\n" + firstRow), visible(shown));
        }
        ASSERT_TRUE(session_.waitForRawMode());
        session_.type(kClosingKey);
        ASSERT_TRUE(session_.readUntilExit());
        EXPECT_TRUE(exitedWith(session_.exitStatus(), kClosingKey[0]));
        EXPECT_TRUE(sameTerminalMode(session_.initialMode(), session_.currentMode()));
    }

private:
    PtySession& session_;
    std::string expected_;
    std::string lastLine_;
};

// ---- Whole games at a terminal -------------------------------------------

TEST(TerminalDialogue, NegativeEntriesWithAutomaticStart) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(d.play({
        line(kFirstName, "Ann"),
        line(kSecondName, "Bob"),
        line(rowsQuestion("Ann"), "2"),
        line(columnsQuestion("Bob"), "2"),
        line(matrixIntro("Ann", "Bob") + entry(1, 1), "2"),
        line(entry(1, 2), "-3"),
        line(entry(2, 1), "-1"),
        line(entry(2, 2), "4"),
        key(startQuestion("Ann"), "N", "N"),
        line(kIterationsQuestion, "10"),
    }));
    // Stored shifted by 3 as 5 0 / 2 7: the start is row 2, which holds the
    // largest entry, and the sums are those of the shifted game.
    ASSERT_NO_FATAL_FAILURE(
        d.finishesGame("  |  1  | 2 |    2    7    0  | 1 |    5    2    0 |  3.50  |"));
}

TEST(TerminalDialogue, AutomaticStartOnThreeRows) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(d.play({
        line(kFirstName, "Rows"),
        line(kSecondName, "Cols"),
        line(rowsQuestion("Rows"), "3"),
        line(columnsQuestion("Cols"), "2"),
        line(matrixIntro("Rows", "Cols") + entry(1, 1), "1"),
        line(entry(1, 2), "2"),
        line(entry(2, 1), "4"),
        line(entry(2, 2), "0"),
        line(entry(3, 1), "4"),
        line(entry(3, 2), "3"),
        key(startQuestion("Rows"), "n", "n"),
        line(kIterationsQuestion, "6"),
    }));
    // Row 2 is the first to hold the largest entry 4.
    ASSERT_NO_FATAL_FAILURE(
        d.finishesGame("  |  1  | 2 |    4    0    0  | 2 |    2    0    3 |  1.50  |"));
}

TEST(TerminalDialogue, ChosenStartStrategy) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(d.play(standardGame()));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

TEST(TerminalDialogue, TwoNamesOnOneLineFillBothNames) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(d.shows(kFirstName));
    d.types("Ann Bob");
    // The second name is already there: its prompt prints and the
    // dialogue goes straight on to player 1's number of strategies.
    ASSERT_NO_FATAL_FAILURE(d.shows(kSecondName));
    ASSERT_NO_FATAL_FAILURE(d.play({
        line(rowsQuestion("Ann"), "1"),
        line(columnsQuestion("Bob"), "1"),
        line(matrixIntro("Ann", "Bob") + entry(1, 1), "5"),
        key(startQuestion("Ann"), "N", "N"),
        line(kIterationsQuestion, "1"),
    }));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

TEST(TerminalDialogue, TwoSizesOnOneLineFillBothSizes) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(d.play({
        line(kFirstName, "Ann"),
        line(kSecondName, "Bob"),
        line(rowsQuestion("Ann"), "3 3"),
    }));
    ASSERT_NO_FATAL_FAILURE(d.shows(columnsQuestion("Bob")));
    Script rest;
    for (int i = 1; i <= 3; ++i) {
        for (int j = 1; j <= 3; ++j) {
            std::string prompt = entry(i, j);
            if (i == 1 && j == 1) prompt = matrixIntro("Ann", "Bob") + prompt;
            rest.push_back(line(prompt, std::to_string(i * 10 + j)));
        }
    }
    rest.push_back(key(startQuestion("Ann"), "N", "N"));
    rest.push_back(line(kIterationsQuestion, "4"));
    ASSERT_NO_FATAL_FAILURE(d.play(rest));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

TEST(TerminalDialogue, EmptyLinesAndSpacesArePassedOver) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(d.shows(kFirstName));
    d.types("");
    d.types("   \t ");
    d.types("  Ann");
    ASSERT_NO_FATAL_FAILURE(d.shows(kSecondName));
    d.types("\tBob  ");
    ASSERT_NO_FATAL_FAILURE(d.shows(rowsQuestion("Ann")));
    d.types("");
    d.types("  +1");
    ASSERT_NO_FATAL_FAILURE(d.play({
        line(columnsQuestion("Bob"), "1"),
        line(matrixIntro("Ann", "Bob") + entry(1, 1), "-7"),
        key(startQuestion("Ann"), "N", "N"),
        line(kIterationsQuestion, "2"),
    }));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

// Every answer at its limit is taken: 11-character names, 10 strategies,
// entries of plus and minus ten million, the last strategy, 99 iterations.
TEST(TerminalDialogue, AnswersAtTheirLimitsAreTaken) {
    const std::string one = "Abcdefghijk";
    const std::string two = "Zyxwvutsrqp";
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = {
        line(kFirstName, one),
        line(kSecondName, two),
        line(rowsQuestion(one), "10"),
        line(columnsQuestion(two), "1"),
    };
    for (int i = 1; i <= 10; ++i) {
        std::string prompt = entry(i, 1);
        if (i == 1) prompt = matrixIntro(one, two) + prompt;
        script.push_back(line(prompt, i % 2 == 1 ? "10000000" : "-10000000"));
    }
    script.push_back(key(startQuestion(one), "Y", "Y"));
    script.push_back(line(kStrategyPrompt, "10"));
    script.push_back(line(kIterationsQuestion, "99"));
    ASSERT_NO_FATAL_FAILURE(d.play(script));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

TEST(TerminalDialogue, LowestLimitsAreTaken) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = {
        line(kFirstName, "A"),
        line(kSecondName, "B"),
        line(rowsQuestion("A"), "1"),
        line(columnsQuestion("B"), "10"),
    };
    for (int j = 1; j <= 10; ++j) {
        std::string prompt = entry(1, j);
        if (j == 1) prompt = matrixIntro("A", "B") + prompt;
        script.push_back(line(prompt, std::to_string(-j)));
    }
    script.push_back(key(startQuestion("A"), "y", "y"));
    script.push_back(line(kStrategyPrompt, "1"));
    script.push_back(line(kIterationsQuestion, "1"));
    ASSERT_NO_FATAL_FAILURE(d.play(script));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

// ---- Names as people write them ------------------------------------------

const std::string kAlexandriy =  // Александрий: 11 letters, 22 bytes
    "\xd0\x90\xd0\xbb\xd0\xb5\xd0\xba\xd1\x81\xd0\xb0\xd0\xbd\xd0\xb4\xd1\x80\xd0\xb8\xd0\xb9";
const std::string kAlexandriya =  // Александрия
    "\xd0\x90\xd0\xbb\xd0\xb5\xd0\xba\xd1\x81\xd0\xb0\xd0\xbd\xd0\xb4\xd1\x80\xd0\xb8\xd1\x8f";
const std::string kAnna = "\xd0\x90\xd0\xbd\xd0\xbd\xd0\xb0";  // its 0x90 no C1 code

std::string fileText(const std::string& path) {
    std::string text;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (size_t got; (got = fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, got);
        fclose(file);
    }
    return text;
}

// Cyrillic names typed at a terminal in the C locale and in a UTF-8 one
// are echoed and taken whole, and reach the results and every file that
// names the players; the table of numbers names nobody.
TEST(TerminalDialogue, CyrillicNamesAreTakenWholeInEitherLocale) {
    const struct {
        std::string environment;  // none: the C locale
        std::string one, two;
    } cases[] = {
        {"", kAlexandriy, kAlexandriya},
        {"LANG=C.UTF-8", kAlexandriy, kAlexandriya},
        {"", kAnna, kAlexandriy},
    };
    char folder[] = "/tmp/brown-robinson-names-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string base = std::string(folder) + "/game";
    const std::vector<std::string> named = {".svg", ".html", ".nfg", ".game"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.environment + " " + c.one);
        PtySession session;
        if (!c.environment.empty()) session.addEnvironment(c.environment);
        std::vector<std::string> arguments;
        for (const char* extension : {".svg", ".html", ".nfg", ".game", ".csv"})
            arguments.insert(arguments.end(), {"-o", base + extension});
        session.setArguments(arguments);
        ASSERT_TRUE(session.start());
        Dialogue d(session);
        ASSERT_NO_FATAL_FAILURE(d.play(standardGame(c.one, c.two)));
        ASSERT_NO_FATAL_FAILURE(d.finishesGame());
        for (const std::string& name : {c.one, c.two}) {
            EXPECT_NE(session.transcript().find("The optimal mixed strategy for " + name + " is"),
                      std::string::npos);
            for (const std::string& extension : named)
                EXPECT_NE(fileText(base + extension).find(name), std::string::npos) << extension;
            EXPECT_EQ(fileText(base + ".csv").find(name.substr(0, 2)), std::string::npos);
        }
        EXPECT_NE(fileText(base + ".csv"), "");
    }
    for (const char* extension : {".svg", ".html", ".nfg", ".game", ".csv"})
        unlink((base + extension).c_str());
    rmdir(folder);
}

// ---- Refused answers -----------------------------------------------------

struct Refusal {
    const char* name;
    size_t at;           // step of the standard game
    std::string answer;  // the line refused
    std::string message;
    std::string askedAgain;  // the prompt line printed again
};

std::ostream& operator<<(std::ostream& out, const Refusal& r) { return out << r.name; }

class RefusedAnswer : public ::testing::TestWithParam<Refusal> {};

TEST_P(RefusedAnswer, IsExplainedAndAskedAgain) {
    const Refusal& r = GetParam();
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(
        d.play(withRefusal(standardGame(), r.at, r.answer, r.message, r.askedAgain)));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

const std::string kSizeRefused = numberRefused(1, 10);
const std::string kEntryRefused = numberRefused(-10000000, 10000000);
const std::string kStrategyRefused = numberRefused(1, 2);
const std::string kIterationsRefused = numberRefused(1, 99);

// Where a refused line holds a second word, that word would be a valid
// answer to the question: it must be dropped with the rest of the line.
// Numbers beyond 32 bits are chosen so that, wrapped, they would be valid.
INSTANTIATE_TEST_SUITE_P(
    TerminalDialogue, RefusedAnswer,
    // clang-format off
    ::testing::Values(
        Refusal{"NameOneTwelveCharacters", kNameOneStep, "Abcdefghijkl", kNameTooLong, kFirstName},
        Refusal{"NameOneTooLongRestDropped", kNameOneStep, "Abcdefghijklmnopqrstuvwxyz Zed", kNameTooLong,
                kFirstName},
        Refusal{"NameTwoTooLong", kNameTwoStep, "Bobbybobbybob Zed", kNameTooLong, kSecondName},
        Refusal{"NameOneTwelveCyrillicLetters", kNameOneStep, kAlexandriy + "\xd0\xb9", kNameTooLong,
                kFirstName},
        Refusal{"NameOneC1ControlInUtf8", kNameOneStep, "A\xc2\x9b" "2J", kNameHoldsControl,
                kFirstName},
        Refusal{"RowsZero", kRowsStep, "0", kSizeRefused, kRowsLimit},
        Refusal{"RowsEleven", kRowsStep, "11", kSizeRefused, kRowsLimit},
        Refusal{"RowsNegative", kRowsStep, "-2", kSizeRefused, kRowsLimit},
        Refusal{"RowsUnreadableRestDropped", kRowsStep, "two 3", kSizeRefused, kRowsLimit},
        Refusal{"RowsSignWithoutDigit", kRowsStep, "- 3", kSizeRefused, kRowsLimit},
        Refusal{"RowsPlusWithoutDigit", kRowsStep, "+x", kSizeRefused, kRowsLimit},
        Refusal{"RowsBeyond32Bits", kRowsStep, "4294967298", kSizeRefused, kRowsLimit},
        Refusal{"RowsFarBeyond32Bits", kRowsStep, "99999999999999999999999", kSizeRefused, kRowsLimit},
        Refusal{"RowsRunOnIntoALetter", kRowsStep, "2x", kSizeRefused, kRowsLimit},
        Refusal{"RowsDecimal", kRowsStep, "2.0 2", kSizeRefused, kRowsLimit},
        Refusal{"ColumnsZero", kColumnsStep, "0", kSizeRefused, kColumnsLimit},
        Refusal{"ColumnsEleven", kColumnsStep, "11", kSizeRefused, kColumnsLimit},
        Refusal{"ColumnsUnreadable", kColumnsStep, "x", kSizeRefused, kColumnsLimit},
        Refusal{"ColumnsBeyond32Bits", kColumnsStep, "4294967297", kSizeRefused, kColumnsLimit},
        Refusal{"ColumnsDecimalComma", kColumnsStep, "1,5", kSizeRefused, kColumnsLimit},
        Refusal{"FirstEntryUnreadable", kEntry11Step, "abc 1", kEntryRefused, entry(1, 1)},
        Refusal{"EntryUnreadable", kEntry21Step, "x3", kEntryRefused, entry(2, 1)},
        Refusal{"EntrySignWithoutDigit", kEntry21Step, "-", kEntryRefused, entry(2, 1)},
        Refusal{"EntryAboveTenMillion", kEntry12Step, "10000001", kEntryRefused, entry(1, 2)},
        Refusal{"EntryBelowMinusTenMillion", kEntry22Step, "-10000001", kEntryRefused, entry(2, 2)},
        Refusal{"EntryBeyond32Bits", kEntry22Step, "4294967300", kEntryRefused, entry(2, 2)},
        Refusal{"EntryBelow32Bits", kEntry22Step, "-4294967295", kEntryRefused, entry(2, 2)},
        Refusal{"EntryDecimal", kEntry12Step, "2.7", kEntryRefused, entry(1, 2)},
        Refusal{"EntryRunOnIntoASign", kEntry21Step, "4-2", kEntryRefused, entry(2, 1)},
        Refusal{"StrategyZero", kStrategyStep, "0", kStrategyRefused, kStrategyPrompt},
        Refusal{"StrategyAboveRows", kStrategyStep, "3", kStrategyRefused, kStrategyPrompt},
        Refusal{"StrategyNegative", kStrategyStep, "-1", kStrategyRefused, kStrategyPrompt},
        Refusal{"StrategyUnreadable", kStrategyStep, "first 1", kStrategyRefused, kStrategyPrompt},
        Refusal{"StrategyBeyond32Bits", kStrategyStep, "4294967298", kStrategyRefused, kStrategyPrompt},
        Refusal{"StrategyRunOnIntoALetter", kStrategyStep, "1st", kStrategyRefused, kStrategyPrompt},
        Refusal{"IterationsZero", kIterationsStep, "0", kIterationsRefused, kIterationsLimit},
        Refusal{"IterationsHundred", kIterationsStep, "100", kIterationsRefused, kIterationsLimit},
        Refusal{"IterationsNegative", kIterationsStep, "-5", kIterationsRefused, kIterationsLimit},
        Refusal{"IterationsUnreadable", kIterationsStep, "many 3", kIterationsRefused, kIterationsLimit},
        Refusal{"IterationsBeyond32Bits", kIterationsStep, "4294967299", kIterationsRefused, kIterationsLimit},
        Refusal{"IterationsDecimal", kIterationsStep, "3.5", kIterationsRefused, kIterationsLimit}),
    // clang-format on
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

// "2 x": the number is read and the "x" stays for the next question, which
// prints its prompt, finds nothing it can read there and is refused.
TEST(TerminalDialogue, UnreadableRestOfALineIsRefusedAtTheNextQuestion) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = standardGame();
    script[kRowsStep].input = "2 x";
    script[kColumnsStep].prompt = columnsQuestion("Bob") + kSizeRefused + kColumnsLimit;
    ASSERT_NO_FATAL_FAILURE(d.play(script));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

TEST(TerminalDialogue, AnswerRefusedTwiceIsAskedAgainEachTime) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = standardGame();
    script = withRefusal(script, kIterationsStep, "0", kIterationsRefused, kIterationsLimit);
    script = withRefusal(script, kIterationsStep + 1, "777", kIterationsRefused, kIterationsLimit);
    ASSERT_NO_FATAL_FAILURE(d.play(script));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

// ---- The Y/N question ----------------------------------------------------

// Plays the standard game up to the Y/N question and shows its prompt.
void reachKeyQuestion(Dialogue& d) {
    Script script = standardGame();
    ASSERT_NO_FATAL_FAILURE(d.play(firstSteps(script, kKeyStep)));
    ASSERT_NO_FATAL_FAILURE(d.shows(script[kKeyStep].prompt));
}

void answerNoAndFinish(Dialogue& d) {
    ASSERT_NO_FATAL_FAILURE(d.presses("N", "N"));
    ASSERT_NO_FATAL_FAILURE(d.play({line(kIterationsQuestion, "2")}));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

struct Answer {
    const char* name;
    std::string key;
    bool yes;
};

std::ostream& operator<<(std::ostream& out, const Answer& a) { return out << a.name; }

class KeyAnswer : public ::testing::TestWithParam<Answer> {};

TEST_P(KeyAnswer, IsEchoedAndDecides) {
    const Answer& a = GetParam();
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses(a.key, a.key));
    if (a.yes) {
        ASSERT_NO_FATAL_FAILURE(d.play({line(kStrategyPrompt, "1")}));
    }
    ASSERT_NO_FATAL_FAILURE(d.play({line(kIterationsQuestion, "2")}));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

INSTANTIATE_TEST_SUITE_P(TerminalDialogue, KeyAnswer,
                         ::testing::Values(Answer{"UpperY", "Y", true}, Answer{"LowerY", "y", true},
                                           Answer{"UpperN", "N", false},
                                           Answer{"LowerN", "n", false}),
                         [](const ::testing::TestParamInfo<Answer>& info) {
                             return std::string(info.param.name);
                         });

struct WrongKey {
    const char* name;
    std::string bytes;
    std::string echo;
};

std::ostream& operator<<(std::ostream& out, const WrongKey& k) { return out << k.name; }

class WrongKeyAnswer : public ::testing::TestWithParam<WrongKey> {};

// Ctrl+C, Ctrl+Z, Ctrl+\ (no signals), Ctrl+S, Ctrl+Q (no flow control),
// Enter (CR not turned into LF) and Ctrl+D are all keys like any other.
TEST_P(WrongKeyAnswer, IsEchoedAndTheQuestionRepeats) {
    const WrongKey& k = GetParam();
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses(k.bytes, k.echo));
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    ASSERT_NO_FATAL_FAILURE(answerNoAndFinish(d));
}

INSTANTIATE_TEST_SUITE_P(
    TerminalDialogue, WrongKeyAnswer,
    ::testing::Values(WrongKey{"Letter", "x", "x"}, WrongKey{"Digit", "1", "1"},
                      WrongKey{"Space", " ", " "}, WrongKey{"Enter", "\r", "\r"},
                      WrongKey{"CtrlC", "\x03", "^C"}, WrongKey{"CtrlD", "\x04", "^D"},
                      WrongKey{"CtrlZ", "\x1a", "^Z"}, WrongKey{"CtrlBackslash", "\x1c", "^\\"},
                      WrongKey{"CtrlS", "\x13", "^S"}, WrongKey{"CtrlQ", "\x11", "^Q"},
                      WrongKey{"LoneEsc", "\x1b", "^["}),
    [](const ::testing::TestParamInfo<WrongKey>& info) { return std::string(info.param.name); });

TEST(TerminalDialogue, SeveralWrongKeysThenNo) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    for (const char* wrong : {"a", "q", "Z"}) {
        ASSERT_NO_FATAL_FAILURE(d.presses(wrong, wrong));
        ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    }
    ASSERT_NO_FATAL_FAILURE(answerNoAndFinish(d));
}

// An Up arrow is two codes, 0xE0 and 72 ('H'): each is echoed and each
// repeats the question.
TEST(TerminalDialogue, ArrowKeyGivesTwoWrongCodes) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses("\x1b[A", "\xE0"));
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    d.echoesSecondCode("H");
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    ASSERT_NO_FATAL_FAILURE(answerNoAndFinish(d));
}

// Whether the text is valid UTF-8, as the C library's converter judges
// it (it refuses stray bytes, overlong forms and surrogates).
bool isValidUtf8(const std::string& text) {
    iconv_t converter = iconv_open("UTF-32LE", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in = text;
    std::string out(text.size() * 4 + 4, '\0');
    char* from = &in[0];
    char* to = &out[0];
    size_t fromLeft = in.size();
    size_t toLeft = out.size();
    const bool valid = iconv(converter, &from, &fromLeft, &to, &toLeft) != static_cast<size_t>(-1);
    iconv_close(converter);
    return valid && fromLeft == 0;
}

// In a UTF-8 locale the lead code 0xE0 of Up is echoed as the character
// of that number (U+00E0), so the whole screen stays valid UTF-8; in any
// other locale it is the byte itself.
TEST(TerminalDialogue, ArrowEchoKeepsTheScreenInTheLocalesCharacterSet) {
    // clang-format off
    const struct {
        const char* name;
        std::vector<std::string> environment;
        std::string leadEcho;  // how the lead code 0xE0 of Up is shown
        bool utf8;
    } cases[] = {
        {"LANG", {"LANG=C.UTF-8"}, "\xc3\xa0", true},
        {"LC_ALL", {"LC_ALL=C.UTF-8", "LANG=C"}, "\xc3\xa0", true},
        {"LC_CTYPE", {"LC_CTYPE=C.UTF-8"}, "\xc3\xa0", true},
        {"LC_ALL over a UTF-8 LANG", {"LC_ALL=C", "LANG=C.UTF-8"}, "\xe0", false},
        {"no locale", {}, "\xe0", false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PtySession session;
        for (const std::string& entry : c.environment) session.addEnvironment(entry);
        ASSERT_TRUE(session.start());
        Dialogue d(session);
        ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
        ASSERT_NO_FATAL_FAILURE(d.presses("\x1b[A", c.leadEcho));
        ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
        d.echoesSecondCode("H");
        ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
        ASSERT_NO_FATAL_FAILURE(answerNoAndFinish(d));
        EXPECT_EQ(isValidUtf8(session.transcript()), c.utf8) << visible(session.transcript());
    }
}

// rxvt's Shift+Insert, ESC [ 2 $, is 0xE0 and 82 ('R'), each asking again;
// the y typed at once after it is a key of its own and answers Yes.
TEST(TerminalDialogue, RxvtShiftInsertThenYAtOnce) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses("\x1b[2$y", "\xe0"));
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    d.echoesSecondCode("R");
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    d.echoesKeyTypedAhead("y");
    ASSERT_NO_FATAL_FAILURE(d.play({line(kStrategyPrompt, "1"), line(kIterationsQuestion, "2")}));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

// Shift+F6 is 0 and then 'Y': the first code repeats the question, the
// second one answers it with Yes.
TEST(TerminalDialogue, ShiftF6AnswersYes) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses("\x1b[17;2~", "^@"));
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    d.echoesSecondCode("Y");
    ASSERT_NO_FATAL_FAILURE(d.play({line(kStrategyPrompt, "2"), line(kIterationsQuestion, "2")}));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

// Two keys typed at once are two keys: Esc Esc asks again twice. A
// character of two UTF-8 bytes is one key, echoed as itself.
TEST(TerminalDialogue, EscEscAndACharacterOfTwoBytes) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses("\x1b\x1b", "^["));
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    d.echoesSecondCode("^[");
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    ASSERT_NO_FATAL_FAILURE(d.presses("\xc3\xa9", "\xc3\xa9"));
    ASSERT_NO_FATAL_FAILURE(d.shows(kKeyPrompt));
    ASSERT_NO_FATAL_FAILURE(answerNoAndFinish(d));
}

// A sequence that stands for no key is dropped whole: nothing is echoed,
// the question is not repeated, and none of its bytes counts as a key.
TEST(TerminalDialogue, UnknownSequenceIsDroppedWhole) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_NO_FATAL_FAILURE(d.presses("\x1b[99;9Y", ""));
    ASSERT_NO_FATAL_FAILURE(answerNoAndFinish(d));
}

// ---- The end of input ----------------------------------------------------

struct InputEnd {
    const char* name;
    size_t at;  // step of the standard game whose read meets Ctrl+D
};

std::ostream& operator<<(std::ostream& out, const InputEnd& e) { return out << e.name; }

class EndOfInput : public ::testing::TestWithParam<InputEnd> {};

TEST_P(EndOfInput, EndsTheProgramWithStatusOne) {
    const InputEnd& e = GetParam();
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = standardGame();
    ASSERT_NO_FATAL_FAILURE(d.play(firstSteps(script, e.at)));
    ASSERT_NO_FATAL_FAILURE(d.shows(script[e.at].prompt));
    d.endsInput();
    ASSERT_NO_FATAL_FAILURE(d.shows(kInputEnded));
    ASSERT_NO_FATAL_FAILURE(d.endsWith(1));
}

INSTANTIATE_TEST_SUITE_P(
    TerminalDialogue, EndOfInput,
    ::testing::Values(InputEnd{"AtNameOne", kNameOneStep}, InputEnd{"AtNameTwo", kNameTwoStep},
                      InputEnd{"AtRows", kRowsStep}, InputEnd{"AtColumns", kColumnsStep},
                      InputEnd{"AtFirstEntry", kEntry11Step}, InputEnd{"AtLastEntry", kEntry22Step},
                      InputEnd{"AtStrategy", kStrategyStep},
                      InputEnd{"AtIterations", kIterationsStep}),
    [](const ::testing::TestParamInfo<InputEnd>& info) { return std::string(info.param.name); });

TEST(TerminalDialogue, EndOfInputAfterARefusedAnswer) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = withRefusal(standardGame(), kRowsStep, "12", kSizeRefused, kRowsLimit);
    ASSERT_NO_FATAL_FAILURE(d.play(firstSteps(script, kRowsStep + 1)));
    ASSERT_NO_FATAL_FAILURE(d.shows(script[kRowsStep + 1].prompt));
    d.endsInput();
    ASSERT_NO_FATAL_FAILURE(d.shows(kInputEnded));
    ASSERT_NO_FATAL_FAILURE(d.endsWith(1));
}

// ---- The terminal is left as it was found --------------------------------

TEST(TerminalMode, IsRawOnlyWhileAKeyIsAwaited) {
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    Script script = standardGame();
    ASSERT_NO_FATAL_FAILURE(d.play(firstSteps(script, kEntry22Step)));
    // Waiting for a typed line, the terminal is as it was found.
    ASSERT_NO_FATAL_FAILURE(d.shows(script[kEntry22Step].prompt));
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
    d.types(script[kEntry22Step].input);
    ASSERT_NO_FATAL_FAILURE(d.shows(script[kKeyStep].prompt));
    ASSERT_TRUE(session.waitForRawMode());
    ASSERT_NO_FATAL_FAILURE(d.presses("Y", "Y"));
    ASSERT_NO_FATAL_FAILURE(d.shows(kStrategyPrompt));
    ASSERT_TRUE(session.waitForCookedMode());
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
    d.types("1");
    ASSERT_NO_FATAL_FAILURE(d.play({line(kIterationsQuestion, "5")}));
    ASSERT_NO_FATAL_FAILURE(d.finishesGame());
}

class SignalAtKeyQuestion : public ::testing::TestWithParam<int> {};

// Ended by a signal while the terminal is raw: the mode is given back
// first, then the signal takes its ordinary course.
TEST_P(SignalAtKeyQuestion, LeavesTheTerminalAsFound) {
    const int sig = GetParam();
    PtySession session;
    ASSERT_TRUE(session.start());
    Dialogue d(session);
    ASSERT_NO_FATAL_FAILURE(reachKeyQuestion(d));
    ASSERT_TRUE(session.waitForRawMode());
    session.sendSignal(sig);
    ASSERT_TRUE(session.readUntilExit());
    EXPECT_TRUE(killedBy(session.exitStatus(), sig));
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
}

INSTANTIATE_TEST_SUITE_P(TerminalMode, SignalAtKeyQuestion,
                         ::testing::Values(SIGTERM, SIGINT, SIGQUIT, SIGHUP, SIGUSR1, SIGALRM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string("SIG") + sigabbrev_np(info.param);
                         });

// ---- No console: a game scripted from a file -----------------------------

// What a batch job reads (every answer and key on a line) and what it
// must write: the prompts and the keys' echoes, no typed answers.
std::string inputOf(const Script& script) {
    std::string input;
    for (const Step& step : script) input += step.input + "\n";
    return input;
}

std::string outputOf(const Script& script) {
    std::string output;
    for (const Step& step : script) output += step.prompt + step.echo;
    return output;
}

// The answers to the results report, added after a complete game: no
// table rows and the closing key.
const std::string kReportAnswers = "0\n" + kClosingKey + "\n";

// A complete scripted game: the output is exactly the dialogue's, the
// report follows at once and the closing key's code is the status.
void expectCompleteGame(const DetachedRun& run, const std::string& dialogue) {
    ASSERT_TRUE(run.finished) << "killed when the time was up; output so far:\n"
                              << visible(run.output);
    EXPECT_EQ("", run.errors);
    const std::string withReport = dialogue + kReportStart;
    EXPECT_EQ(visible(withReport), visible(run.output.substr(0, withReport.size())));
    EXPECT_TRUE(exitedWith(run.status, kClosingKey[0]));
}

struct Batch {
    const char* name;
    Script script;
};

std::ostream& operator<<(std::ostream& out, const Batch& b) { return out << b.name; }

class CompleteBatch : public ::testing::TestWithParam<Batch> {};

TEST_P(CompleteBatch, PlaysTheScriptedGame) {
    const Batch& b = GetParam();
    DetachedRun run = runWithoutConsole(inputOf(b.script) + kReportAnswers);
    ASSERT_NO_FATAL_FAILURE(expectCompleteGame(run, outputOf(b.script)));
}

Script wrongKeyThenYes() {
    Script script = standardGame();
    Step wrong = key(script[kKeyStep].prompt, "x", "x");
    script[kKeyStep] = key(kKeyPrompt, "y", "y");
    script.insert(script.begin() + kKeyStep, wrong);
    return script;
}

Script answeredNo() {
    Script script = firstSteps(standardGame(), kKeyStep);
    script.push_back(key(startQuestion("Ann"), "N", "N"));
    script.push_back(line(kIterationsQuestion, "7"));
    return script;
}

INSTANTIATE_TEST_SUITE_P(
    NoConsole, CompleteBatch,
    ::testing::Values(
        Batch{"WrongKeyThenYes", wrongKeyThenYes()}, Batch{"AnsweredNo", answeredNo()},
        Batch{"RefusedAnswers",
              withRefusal(withRefusal(answeredNo(), kRowsStep, "11", kSizeRefused, kRowsLimit),
                          kEntry21Step + 1, "x", kEntryRefused, entry(2, 1))}),
    [](const ::testing::TestParamInfo<Batch>& info) { return std::string(info.param.name); });

// All answers on one line, the key among them: the reads take one field
// each and the key read takes the next character that is not white space.
TEST(NoConsole, AnswersAndKeyOnOneLine) {
    DetachedRun run = runWithoutConsole("Ann Bob 1 2 7 -8 n 3 " + kReportAnswers);
    std::string expected = kFirstName + kSecondName + rowsQuestion("Ann") + columnsQuestion("Bob") +
                           matrixIntro("Ann", "Bob") + entry(1, 1) + entry(1, 2) +
                           startQuestion("Ann") + "n" + kIterationsQuestion;
    ASSERT_NO_FATAL_FAILURE(expectCompleteGame(run, expected));
}

struct BatchEnd {
    const char* name;
    Script script;       // answered in full
    std::string blanks;  // what follows the last answer
    std::string unansweredPrompt;
};

std::ostream& operator<<(std::ostream& out, const BatchEnd& b) { return out << b.name; }

class IncompleteBatch : public ::testing::TestWithParam<BatchEnd> {};

TEST_P(IncompleteBatch, EndsWithTheMessageAndStatusOne) {
    const BatchEnd& b = GetParam();
    DetachedRun run = runWithoutConsole(inputOf(b.script) + b.blanks);
    ASSERT_TRUE(run.finished) << "killed when the time was up; output so far:\n"
                              << visible(run.output);
    EXPECT_EQ(visible(outputOf(b.script) + b.unansweredPrompt + kInputEnded), visible(run.output));
    EXPECT_TRUE(exitedWith(run.status, 1));
    EXPECT_EQ("", run.errors);
}

INSTANTIATE_TEST_SUITE_P(
    NoConsole, IncompleteBatch,
    // clang-format off
    ::testing::Values(
        BatchEnd{"EmptyInput", {}, "", kFirstName},
        BatchEnd{"EndAtSecondName", firstSteps(standardGame(), kNameTwoStep), "\n\n", kSecondName},
        BatchEnd{"EndInTheMatrix", firstSteps(standardGame(), kEntry21Step), "", entry(2, 1)},
        BatchEnd{"EndAfterRefusal", firstSteps(withRefusal(standardGame(), kRowsStep, "0", kSizeRefused,
                                                           kRowsLimit), kRowsStep + 1),
                 "", kSizeRefused + kRowsLimit},
        BatchEnd{"EndAtKeyQuestion", firstSteps(standardGame(), kKeyStep), "  \n\t\n", startQuestion("Ann")},
        BatchEnd{"EndAfterWrongKey", firstSteps(wrongKeyThenYes(), kKeyStep + 1), "", kKeyPrompt},
        BatchEnd{"EndAtStrategy", firstSteps(standardGame(), kStrategyStep), "", kStrategyPrompt},
        BatchEnd{"EndAfterASign", firstSteps(standardGame(), kEntry21Step), "-",
                 entry(2, 1) + kEntryRefused + entry(2, 1)},
        BatchEnd{"EndAtIterations", firstSteps(answeredNo(), kKeyStep + 1), "", kIterationsQuestion}),
    // clang-format on
    [](const ::testing::TestParamInfo<BatchEnd>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
