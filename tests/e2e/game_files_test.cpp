// Games from Gambit's strategic game files, and games saved with -o to be
// read again: each run is the run of the same game typed.
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "pty_session.h"

namespace e2e {
namespace {

const std::string kFinish = "Y\n1\n4\n4\nq";

// A file of its own holding `text`, with the name ending in `suffix`,
// removed with it.
struct TextFile {
    std::string path;
    explicit TextFile(const std::string& text, const std::string& suffix = "")
        : path("/tmp/brown-robinson-game-XXXXXX" + suffix) {
        const int fd = mkstemps(&path[0], static_cast<int>(suffix.size()));
        EXPECT_TRUE(fd >= 0 &&
                    write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()))
            << "cannot write " << path;
        close(fd);
    }
    ~TextFile() { unlink(path.c_str()); }
};

// A game file plays as the same game's answers in a plain game file (whose
// answers are shown as they are taken, as the file's are): the example, and
// a game typed with negative entries, saved in both formats in one run.
TEST(GambitFile, PlaysAsTheGameTyped) {
    const std::string typedGame = "Ann \"Bo\"\n2 3\n-5 0 7\n10000000 -10000000 3\n";
    const TextFile nfg("", ".nfg"), game("", ".GAME");
    const DetachedRun saving = runWithoutConsole(typedGame + kFinish, kTimeoutMs, nullptr,
                                                 {"-o", nfg.path, "--output=" + game.path});
    EXPECT_TRUE(exitedWith(saving.status, 'q'));
    const struct {
        std::string file;
        std::string typedGame;
    } cases[] = {
        {BR_EXAMPLES_PATH "/audience.nfg",
         "Network_1 Network_2\n3 3\n55 40 65\n60 50 45\n45 60 50\n"},
        {nfg.path, typedGame},
        {game.path, typedGame},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const TextFile answers(c.typedGame);
        const DetachedRun typed = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {answers.path});
        const DetachedRun fromFile = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {c.file});
        EXPECT_TRUE(exitedWith(typed.status, 'q'));
        EXPECT_TRUE(exitedWith(fromFile.status, 'q'));
        EXPECT_EQ(visible(fromFile.output), visible(typed.output));
        EXPECT_EQ(fromFile.errors, "");
    }
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
        const TextFile file(c.text);
        const DetachedRun run = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {file.path});
        EXPECT_TRUE(exitedWith(run.status, 2));
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors, "brown-robinson: " + file.path + c.problem +
                                  "\nTry 'brown-robinson --help' for more information.\n");
    }
}

}  // namespace
}  // namespace e2e
