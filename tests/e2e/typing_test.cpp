// Typing as people do at a real terminal: answers typed ahead of the
// program, pasted text, keys of several characters, and the output read
// through a pipe. Nothing typed is swallowed, nothing is shown late and
// nothing is left for the shell.
#include <string>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

const std::string kPasteStart = "\x1b[200~";
const std::string kPasteEnd = "\x1b[201~";

// Enters the worked 3 by 3 game up to its Y/N question, with `names`
// typed as the first line, and waits for the key read.
::testing::AssertionResult reachKeyQuestion(PtySession& session, const std::string& names) {
    for (const std::string& typed :
         {names, std::string("3 3\n"), std::string("5 0 7 2 5 0 6 1 8\n")}) {
        if (auto waited = session.waitFor(": "); !waited) return waited;
        session.type(typed);
    }
    if (auto waited = session.waitFor(screenOf(kKeyPrompt)); !waited) return waited;
    return session.waitForRawMode();
}

// After the Y/N key everything else arrives in one piece, as when typed
// fast or pasted; each answer and the final key are still taken in turn.
TEST(Typing, RestOfTheGameTypedAheadOrPasted) {
    // clang-format off
    const struct {
        const char* what;
        std::string names;
        std::string atTheQuestion;  // everything from the Y/N key on, in one write
        int status;
    } cases[] = {
        {"typed ahead", "Alice Bob\n", "Y1\r4\r4\rq", 'q'},
        {"pasted", "Alice Bob\n", kPasteStart + "Y1\r4\r4\rq" + kPasteEnd, 'q'},
        {"names pasted", kPasteStart + "Alice" + kPasteEnd + " Bob\n", "Y1\r4\r4\rq", 'q'},
        {"answers, then a final key of two characters", "Alice Bob\n",
         "Y1\r4\r4\r\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", '?'},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PtySession session;
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(reachKeyQuestion(session, c.names));
        session.holdTerminal();
        session.type(c.atTheQuestion);
        ASSERT_TRUE(session.readUntilExit());
        EXPECT_TRUE(exitedWith(session.exitStatus(), c.status));
        EXPECT_NE(session.transcript().find("for player Alice"), std::string::npos);
        EXPECT_NE(session.transcript().find("3.052083 -> 3"), std::string::npos);
        EXPECT_NE(session.transcript().find("|  4  | 2 |   11   15    7  |"), std::string::npos);
        EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
        EXPECT_EQ(visible(session.inputLeft()), "");
    }
}

// `brown-robinson | tee transcript`: each question reaches the pipe
// before the program waits for its answer.
TEST(Typing, QuestionsReachAPipeBeforeTheirAnswers) {
    PtySession session;
    session.sendOutputToPipe();
    ASSERT_TRUE(session.start());
    const struct {
        std::string question;
        std::string answer;
    } steps[] = {
        {kFirstName, "Ann\n"},        {kSecondName, "Bob\n"},
        {rowsQuestion("Ann"), "1\n"}, {columnsQuestion("Bob"), "1\n"},
        {entry(1, 1), "7\n"},         {kKeyPrompt, "n"},
        {kIterationsQuestion, "2\n"}, {reportRowsQuestion("2"), "2\n"},
        {"________|\n", "z"},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(session.waitForPipedOutput(step.question)) << visible(step.question);
        session.type(step.answer);
    }
    ASSERT_TRUE(session.readUntilExit());
    EXPECT_TRUE(exitedWith(session.exitStatus(), 'z'));
}

}  // namespace
}  // namespace e2e
