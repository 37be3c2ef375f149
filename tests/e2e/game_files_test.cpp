// Games from Gambit's strategic game files, and games saved with -o to be
// read again: each run is the run of the same game typed.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pty_session.h"

namespace e2e {
namespace {

const std::string kFinish = "Y\n1\n4\n4\nq";

// The run of the game that `file` holds, and of the same game's answers in
// a plain game file (whose answers are shown as they are taken, as the
// file's are).
void expectRunOfTypedGame(const std::string& file, const std::string& typedGame) {
    char answers[] = "/tmp/brown-robinson-answers-XXXXXX";
    const int fd = mkstemp(answers);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, typedGame.data(), typedGame.size()),
              static_cast<ssize_t>(typedGame.size()));
    close(fd);
    const DetachedRun typed = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {answers});
    unlink(answers);
    const DetachedRun fromFile = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {file});
    ASSERT_TRUE(typed.finished && fromFile.finished);
    EXPECT_TRUE(exitedWith(typed.status, 'q'));
    EXPECT_TRUE(exitedWith(fromFile.status, 'q'));
    EXPECT_EQ(visible(fromFile.output), visible(typed.output));
    EXPECT_EQ(fromFile.errors, "");
}

TEST(GambitFile, TheExampleIsNetworkOnesShareOfTheAudience) {
    expectRunOfTypedGame(BR_EXAMPLES_PATH "/audience.nfg",
                         "Network_1 Network_2\n3 3\n55 40 65\n60 50 45\n45 60 50\n");
}

// A game typed with negative entries, saved in both formats in one run,
// then each file read as the GAME-FILE of a run of its own.
TEST(GambitFile, SavedGamesPlayAsTheGameTyped) {
    char folder[] = "/tmp/brown-robinson-saved-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string nfg = std::string(folder) + "/typed.nfg";
    const std::string game = std::string(folder) + "/typed.GAME";
    const std::string typedGame = "Ann \"Bo\"\n2 3\n-5 0 7\n10000000 -10000000 3\n";
    const DetachedRun saving = runWithoutConsole(typedGame + kFinish, kTimeoutMs, nullptr,
                                                 {"-o", nfg, "--output=" + game});
    ASSERT_TRUE(saving.finished);
    EXPECT_TRUE(exitedWith(saving.status, 'q'));
    expectRunOfTypedGame(nfg, typedGame);
    expectRunOfTypedGame(game, typedGame);
    unlink(nfg.c_str());
    unlink(game.c_str());
    rmdir(folder);
}

// Refused before anything is asked: a game the program does not solve,
// and a name that this terminal (no UTF-8 locale here) would take for a
// control code, which the dialogue would refuse as typed.
TEST(GambitFile, ARefusedFileIsAUsageError) {
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"NFG 1 R \"t\" { \"A\" \"B\" }\n{ 1 2 }\n1 -1\n2 2\n",
         ":4: player 2's payoff is not the negative of player 1's at strategies 1 and 2: the "
         "program solves zero-sum games"},
        {"NFG 1 R \"t\" { \"\xe2\x82\xac\" \"B\" }\n{ 1 1 }\n1 -1\n",
         ": player 1's name holds a control character"},
    };
    for (const auto& c : cases) {
        char path[] = "/tmp/brown-robinson-refused-XXXXXX";
        const int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, c.text.data(), c.text.size()), static_cast<ssize_t>(c.text.size()));
        close(fd);
        const DetachedRun run = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {path});
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(exitedWith(run.status, 2));
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors, "brown-robinson: " + std::string(path) + c.problem +
                                  "\nTry 'brown-robinson --help' for more information.\n");
        unlink(path);
    }
}

}  // namespace
}  // namespace e2e
