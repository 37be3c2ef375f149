// Games from Gambit's strategic game files, and games saved with -o to be
// read again: each run is the run of the same game typed.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

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

// A game saved with a player named NFG, as answers and as a Gambit file,
// reads back as the game typed; and a Gambit file is one by its first
// three words, however its bytes arrive: after a byte-order mark or a
// buffer's worth of blanks, from a pipe in pieces, or on standard input
// followed by the answers typed after it.
TEST(GambitFile, IsToldByItsFirstWordsHoweverItsBytesArrive) {
    const std::string typedGame = "NFG Bob\n2 2\n1 -2\n3 4\n";
    const TextFile nfg("", ".nfg"), game("", ".game");
    const DetachedRun saving = runWithoutConsole(typedGame + kFinish, kTimeoutMs, nullptr,
                                                 {"-o", nfg.path, "-o", game.path});
    ASSERT_TRUE(exitedWith(saving.status, 'q'));
    const TextFile answers(typedGame);
    const DetachedRun typed = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {answers.path});
    std::ifstream saved(nfg.path, std::ios::binary);
    const std::string gambit((std::istreambuf_iterator<char>(saved)), {});
    ASSERT_EQ(gambit.compare(0, 8, "NFG 1 R "), 0) << gambit;
    const TextFile marked("\xEF\xBB\xBF" + gambit), blanks(std::string(4093, ' ') + gambit);
    for (const std::string& file : {game.path, nfg.path, marked.path, blanks.path}) {
        SCOPED_TRACE(file);
        const DetachedRun run = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {file});
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        EXPECT_EQ(visible(run.output), visible(typed.output));
        EXPECT_EQ(run.errors, "");
    }
    for (const std::string& text : {gambit, "\xEF\xBB\xBF" + gambit, typedGame}) {
        SCOPED_TRACE(text);
        const DetachedRun run = runWithoutConsole(text + kFinish, kTimeoutMs, nullptr, {"-"});
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        // Typed answers are not shown; a Gambit file's are, as from a file.
        const DetachedRun same = runWithoutConsole(
            text == typedGame ? typedGame + kFinish : kFinish, kTimeoutMs, nullptr,
            text == typedGame ? std::vector<std::string>{} : std::vector<std::string>{nfg.path});
        EXPECT_EQ(visible(run.output), visible(same.output));
    }
    // A pipe that gives the file a few bytes at a time.
    const std::string fifo = answers.path + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        const int fd = open(fifo.c_str(), O_WRONLY);
        for (size_t at = 0; fd >= 0 && at < gambit.size(); at += 2) {
            const std::string piece = gambit.substr(at, 2);
            if (write(fd, piece.data(), piece.size()) < 0) break;
            if (at < 12) std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (fd >= 0) close(fd);
    });
    const DetachedRun piped = runWithoutConsole(kFinish, kTimeoutMs, nullptr, {fifo});
    writer.join();
    unlink(fifo.c_str());
    EXPECT_TRUE(exitedWith(piped.status, 'q'));
    EXPECT_EQ(visible(piped.output), visible(typed.output));
}

// A game file's answers are shown as they are taken: in the C locale a
// letter of several bytes shows whole, as its name is printed later, and
// a C1 control code, as lone bytes of that range, shows in caret form.
TEST(GameFile, AnswersShowTheirLettersWholeInTheCLocale) {
    const std::string anna = "\xd0\x90\xd0\xbd\xd0\xbd\xd0\xb0";
    const struct {
        std::string names;
        std::string shown;
    } cases[] = {
        {anna + " Bob", "player 1: " + anna + "\n"},
        {"Bob " + anna, "player 2 : " + anna + "\n"},
        {"A\xc2\x85\nAnn Bob", "player 1: A\xc2M-^E\n\n A name may not hold control characters."},
        {"B\x90\nAnn Bob", "player 1: BM-^P\n\n A name may not hold control characters."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(visible(c.names));
        const TextFile file(c.names + "\n1 1\n5\n");
        const DetachedRun run = runWithoutConsole("N\n3\n0\nq", kTimeoutMs, nullptr, {file.path});
        EXPECT_TRUE(exitedWith(run.status, 'q'));
        EXPECT_NE(run.output.find(c.shown), std::string::npos) << visible(run.output);
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
        {"NFG 1 R \"t\" { \"A\x82\" \"B\" }\n{ 1 1 }\n1 -1\n",
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
