// Gambit's strategic game files read, refused and written, and the game
// file of -o: what is written reads back, through the dialogue, to the
// game that was typed.
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "captured_console.h"
#include "console/console.h"
#include "dialogue/run_game.h"
#include "formats/nfg_reader.h"
#include "formats/nfg_tokens.h"
#include "formats/nfg_writer.h"
#include "game/game_record.h"
#include "game/typed_game.h"
#include "output/output_text.h"
#include "output/saved_games.h"
#include "platform/atomic_file.h"

namespace {

// What a game is (the names, the sizes, the used cells), written as the
// answers that enter it: two games are alike when their texts are.
std::string describe(const TypedGame& g) {
    std::string text = std::string(g.playerOneName) + " " + g.playerTwoName + "\n" +
                       std::to_string(g.rowCount) + " " + std::to_string(g.columnCount) + "\n";
    for (int i = 0; i < g.rowCount; ++i) {
        for (int j = 0; j < g.columnCount; ++j) text += std::to_string(g.entries[i][j]) + " ";
        text += "\n";
    }
    return text;
}

// The layouts of the format's description, each with a zero-sum or
// constant-sum game: the payoff version with numbers of strategies and
// with labels and a comment, the outcome version with and without commas
// (an outcome unused), line ends of either kind, decimals and fractions
// that are whole, the older "D", the largest payoffs, names with quotes
// and blanks cut between characters, blank lines before the first word.
TEST(NfgFile, DocumentedLayoutsGiveTheirGame) {
    const TypedGame threeByTwo = {"Player_1", "Player_2", 3, 2, {{1, -1}, {0, 2}, {0, 1}}};
    // clang-format off
    const struct {
        std::string text;
        TypedGame game;
    } cases[] = {
        {"NFG 1 R \"A zero-sum 3 by 2 game\" { \"Player 1\" \"Player 2\" } { 3 2 }\n\n"
         "1 -1 0 0 0 0 -1 1 2 -2 1 -1\n", threeByTwo},
        {"NFG 1 R \"A zero-sum 3 by 2 game\" { \"Player 1\" \"Player 2\" }\r\n\r\n"
         "{ { \"Top\" \"Middle\" \"Bottom\" }\r\n{ \"Left\" \"Right\" }\r\n}\r\n"
         "\"a comment\"\r\n\r\n"
         "1.000000 -1.000000 0 0 0.0 -0.0 -2/2 1 4/2 -2 1e0 -10e-1\r\n", threeByTwo},
        {"NFG 1 R \"A zero-sum 3 by 2 game\" { \"Player 1\" \"Player 2\" }\n\n"
         "{ { \"1\" \"2\" \"3\" }\n{ \"1\" \"2\" }\n}\n\"\"\n\n"
         "{\n{ \"\" 1, -1 }\n{ \"two\" 2, -2 }\n{ \"minus\" -1, 1 }\n}\n"
         "1 0 0 3 2 1\n", threeByTwo},
        {"NFG 1 D \"\" { \"Ann\" \"Bob\" } { { \"a\" \"b\" } { \"c\" } }\n"
         "{ { \"x\" 7 3 } { \"y\" 1/2 9 } { \"z\" -2 12 } }\n3 1\n",
         {"Ann", "Bob", 2, 1, {{-2}, {7}}}},
        {"NFG 1 R \"shares\" { \"Network 1\" \"Network 2\" } { 2 2 }\n60 40 45 55 30 70 50 50\n",
         {"Network_1", "Network_2", 2, 2, {{60, 30}, {45, 50}}}},
        {"NFG 1 R \"\" { \"A\" \"B\" } { 1 2 } 10000000 -19999999/2 -10000000 20000001/2\n",
         {"A", "B", 1, 2, {{10000000, -10000000}}}},
        {"NFG 1 R \"\" { \"say \\\"hi\\\"\" \"\xc3\xa9t\xc3\xa9 d\xc3\xa9j\xc3\xa0 pass\xc3\xa9\" }"
         " { 1 1 } 0 0", {"say_\"hi\"", "\xc3\xa9t\xc3\xa9_d\xc3\xa9j\xc3\xa0_pa", 1, 1, {{0}}}},
        {"\n\n  NFG 1 R \"\" { \"A\" \"B\" } { 1 1 } 5 -5\n", {"A", "B", 1, 1, {{5}}}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(nfgStartOf(c.text.data(), static_cast<int>(c.text.size()), true), kNfgFile);
        TypedGame g;
        NfgProblem problem = {};
        EXPECT_TRUE(readNfgText(c.text.data(), static_cast<int>(c.text.size()), &g, &problem))
            << "line " << problem.line << ": " << problem.message;
        EXPECT_EQ(describe(c.game), describe(g));
    }
}

TEST(NfgFile, RefusedFilesSayWhereAndWhy) {
    const std::string title = "NFG 1 R \"t\" ";
    const std::string head = title + "{ \"A\" \"B\" }";
    const std::string cell = head + " { 1 1 } ";                     // the payoffs of one cell
    const std::string labels = head + " { { \"a\" } { \"b\" } }\n";  // the outcome version
    const std::string outcome = labels + "{ { \"x\" 1 -1 } }\n";     // with its one outcome
    const std::string notNfg = "expected NFG, as a Gambit strategic game file begins, found ";
    const std::string whole = ": the payoffs must be whole numbers: scale the game first";
    // clang-format off
    const struct {
        std::string text;
        int line;
        std::string message;
    } cases[] = {
        {"", 1, notNfg + "the end of the file"},
        {"EFG 2 R \"t\"", 1, notNfg + "'EFG'"},
        {"NFG", 1, "expected the version, 1 R, found the end of the file"},
        {"NFG 2 R \"t\" { \"A\" \"B\" } { 1 1 } 0 0", 1,
         "unknown version '2': the program reads NFG 1 R and NFG 1 D"},
        {"NFG 1\nQ \"t\"", 2, "unknown version 'Q': the program reads NFG 1 R and NFG 1 D"},
        {"NFG 1 R { \"A\" \"B\" }", 1, "expected the game's title in quotes, found '{'"},
        {"NFG 1 R \"t\n\n{ \"A\" \"B\" }", 3,
         "a string is not closed: it runs to the end of the file"},
        {title + "{ \"A\" \"B\\\" }", 1, "a string is not closed: it runs to the end of the file"},
        {title + "{ \"A\" \"B\"\n{ 1 1 } 1 -1", 1, "a brace opened here is not closed"},
        {head + " } 1 1 }", 1, "a closing brace without an opening one"},
        {head + " { { { \"a\" } } }", 1, "braces nested too deeply"},
        {title + "{ \"A\" \"B\" \"C\" } { 2 2 2 }", 1,
         "the game has 3 players: the program solves games of two"},
        {"NFG 1 R \"t\"\n{ \"A\" }\n{ 2 }", 2,
         "the game has 1 player: the program solves games of two"},
        {title + "{ \"\" \"B\" } { 1 1 } 0 0", 1, "player 1's name is empty"},
        {title + "{ \"A\" \"B\x1b[31m\" } { 1 1 } 0 0", 1,
         "player 2's name holds a control character"},
        {title + "{ \"A\tB\" \"C\" } { 1 1 } 0 0", 1, "player 1's name holds a control character"},
        {title + "{ \"A\xc2\x9b\" \"C\" } { 1 1 } 0 0", 1,
         "player 1's name holds a control character"},
        {head + " { 2 }", 1, "the list of strategies is for 1 player, not for the game's 2"},
        {head + "\n{ 11 2 }", 2, "player 1 has 11 strategies: the program takes 1 to 10"},
        {head + " { 2 0 }", 1, "player 2 has 0 strategies: the program takes 1 to 10"},
        {head + " { { \"a\" } { } }", 1, "player 2 has 0 strategies: the program takes 1 to 10"},
        {head + " { 2.5 2 }", 1, "expected a number of strategies, found '2.5'"},
        {head + " { \"2\" 2 }", 1,
         "expected the numbers of strategies or their labels, found a string in quotes"},
        {head + " { 1 1 }\n3/2 -3/2", 2, "player 1's payoff at strategies 1 and 1 is 3/2" + whole},
        {head + " { 2 1 } 1 -1\n-0.25 0.25", 2,
         "player 1's payoff at strategies 2 and 1 is -1/4" + whole},
        {head + " { 1 1 }\n3/2\n\n-3/2", 2,
         "player 1's payoff at strategies 1 and 1 is 3/2" + whole},
        {head + " { 2 1 } 1 -1 20000000\n-20000000", 1, "player 1's payoff at strategies 2 and 1 "
         "is 20000000: the program takes payoffs from -10000000 to 10000000"},
        {labels + "{ { \"x\" 3/2 -3/2 } }\n1", 2,
         "player 1's payoff at strategies 1 and 1 is 3/2" + whole},
        {cell + "10000001 -10000001", 1, "player 1's payoff at strategies 1 and 1 is 10000001: "
         "the program takes payoffs from -10000000 to 10000000"},
        {head + " { 2 3 }\n1 -1 1 -1\n1 -1 1 -1\n1 -1 1 1\n", 4, "player 2's payoff is not the "
         "negative of player 1's at strategies 2 and 3: the program solves zero-sum games"},
        {head + " { 2 2 }\n1 -1 2 -2\n3 -3\n4 4\n", 4, "player 2's payoff is not the negative of "
         "player 1's at strategies 2 and 2: the program solves zero-sum games"},
        {head + " { 1 3 } 1 2 1 2 1 5/2", 1, "the payoffs at strategies 1 and 3 add up to 7/2, "
         "elsewhere to 3: the program solves zero-sum and constant-sum games"},
        {head + " { 2 2 }\n1 -1 1 -1\n1 -1\n", 3, "too few payoffs: 6 of the 8 the game needs"},
        {cell + "1 -1\n2", 2, "too many payoffs: the game needs 2"},
        {cell + "1 -1 \"x\"", 1, "expected the end of the file, found a string in quotes"},
        {cell + "1 one", 1, "expected a payoff, found 'one'"},
        {cell + "1 \x1b[2J", 1, "expected a payoff, found '?[2J'"},
        {cell + "1 1.2.3", 1, "'1.2.3' is not a number"},
        {cell + "1 1/0", 1, "'1/0' is not a number"},
        {cell + "0" + std::string(1, '\0') + " 0", 1, "'0?' is not a number"},
        {cell + "1 1e999999", 1, "'1e999999' has more digits than the program reads"},
        {cell + "1 0.0000000000000000000001", 1,
         "'0.0000000000000000000001' has more digits than the program reads"},
        {outcome + "1 2", 3, "too many outcome numbers: the game needs 1"},
        {head + " { { \"a\" \"b\" } { \"c\" } }\n{ { \"x\" 1 -1 } }\n1", 3,
         "too few outcome numbers: 1 of the 2 the game needs"},
        {outcome + "2", 3, "outcome number '2' names no outcome: there are 1"},
        {outcome + "-1", 3, "outcome number '-1' names no outcome: there are 1"},
        {outcome + "0.5", 3, "expected an outcome number, found '0.5'"},
        {labels + "{ { \"x\" 1 -1 }\n{ \"y\" 1, 2, 3 } }\n1", 3,
         "outcome 2 has 3 payoffs: it needs one for each of the 2 players"},
        {labels + "{ { 1 -1 } }\n1", 2, "expected the outcome's name in quotes, found '1'"},
        {head + " { { \"a\" } { \"b\" } } { 1 }", 1, "expected an outcome in braces, found '1'"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        TypedGame g;
        NfgProblem problem = {};
        EXPECT_FALSE(readNfgText(c.text.data(), static_cast<int>(c.text.size()), &g, &problem));
        EXPECT_EQ(problem.line, c.line);
        EXPECT_EQ(problem.message, c.message);
    }
}

// The names the dialogue takes: one word of at most 11 bytes, here with
// the bytes a writer must escape and characters of two and three bytes.
// No byte from 0x80 to 0x9F: outside a UTF-8 locale, as here, a name
// holding one is refused as holding a control character.
std::string randomName(std::mt19937& random) {
    const char* const pieces[] = {"a", "Z", "7", "_", "\"", "\\", "'", "\xc3\xa9", "\xef\xbc\xa1"};
    std::string name;
    for (int length = 1 + static_cast<int>(random() % 11); length > 0; --length) {
        const std::string piece = pieces[random() % (sizeof pieces / sizeof pieces[0])];
        if (name.size() + piece.size() > 11) break;
        name += piece;
    }
    return name;
}

TypedGame randomGame(std::mt19937& random) {
    TypedGame g = {};
    std::strcpy(g.playerOneName, randomName(random).c_str());
    std::strcpy(g.playerTwoName, randomName(random).c_str());
    g.rowCount = 1 + static_cast<int>(random() % kMaxStrategies);
    g.columnCount = 1 + static_cast<int>(random() % kMaxStrategies);
    const int32_t ranges[] = {1, 9, 1000, 10000000};
    const int32_t range = ranges[random() % 4];
    std::uniform_int_distribution<int32_t> entry(-range, range);
    for (int i = 0; i < g.rowCount; ++i) {
        for (int j = 0; j < g.columnCount; ++j) g.entries[i][j] = entry(random);
    }
    return g;
}

// The game the dialogue enters from `answers` typed, or from a GAME-FILE,
// then from the answers that finish the game.
TypedGame enteredFrom(const std::string& answers, const std::string& gameFile = "") {
    std::memset(&game, 0, sizeof game);
    startCapture(answers + "N\n1\n");
    TypedGame typed = {};
    if (!gameFile.empty() && !useGameFile(gameFile.c_str())) {
        ADD_FAILURE() << capturedOutput();  // why the file is refused
        return typed;
    }
    runGame(1, nullptr);
    typedGameOfRecord(&game, &typed);
    return typed;
}

// Saves the game entered to `path` with one of -o's writers.
void save(const std::string& path, void (*write)()) {
    const int file = openAtomicFile(path.c_str());
    ASSERT_GE(file, 0) << path;
    ASSERT_TRUE(beginAtomicFile(file)) << path;
    startOutputText(file);
    write();
    EXPECT_TRUE(finishOutputText());
    int failed = -1;
    EXPECT_TRUE(commitAtomicFiles(&failed)) << failed;
}

// A game typed, saved with -o as .nfg and as .game, and each file given
// back as a game file: the dialogue enters the game that was typed.
TEST(NfgFile, SavedGamesReadBackToTheGameTyped) {
    // In memory where there is such a folder: each file is synced to disk.
    namespace fs = std::filesystem;
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path folder = base / ("brown-robinson-nfg-" + std::to_string(std::random_device()()));
    ASSERT_TRUE(fs::create_directory(folder));
    const std::string nfg = (folder / "saved.nfg").string();
    const std::string answers = (folder / "saved.game").string();
    std::mt19937 random(21);
    for (int round = 0; round < 200 && !HasFailure(); ++round) {
        const std::string typed = describe(randomGame(random));
        SCOPED_TRACE(typed);
        EXPECT_EQ(typed, describe(enteredFrom(typed)));
        save(nfg, writeNfgGame);
        save(answers, writeAnswersGame);
        for (const std::string& file : {nfg, answers}) {
            EXPECT_EQ(typed, describe(enteredFrom("", file))) << file;
        }
    }
    fs::remove_all(folder);
}

}  // namespace

namespace {

// A game on standard input is followed by the answers typed after it:
// the game ends with its last token, whichever layout it has, and no
// fewer bytes than those tell where. A game out of place ends at the
// fault, for the reader to refuse.
TEST(NfgFile, AGameInAStreamEndsWithItsLastToken) {
    // clang-format off
    const struct {
        std::string game;
        std::string after;
    } cases[] = {
        {"NFG 1 R \"t\" { \"A\" \"B\" } { 2 1 }\n1 -1 2 -2", "\nY\n1\n4\n"},
        {"\xEF\xBB\xBFNFG 1 D \"{\" { \"A\" \"B\" } { { \"a\" } { \"b\" \"c\" } } \"c\"\n"
         "{ { \"x\" 1, -1 } { \"}\" 2 -2 } } 1 2", " N 7"},
        {"NFG 1 R \"t\" { \"A\" \"B\" } { 11", " 1 } 1 -1\n"},
        {"NFG 1 R \"t\" { \"A\" \"B\" } { 2 1 } 1 x", " -1 2 -2\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.game);
        const std::string text = c.game + c.after;
        const int length = static_cast<int>(c.game.size());
        EXPECT_EQ(nfgGameLength(text.data(), static_cast<int>(text.size()), false), length);
        EXPECT_EQ(nfgGameLength(text.data(), static_cast<int>(text.size()), true), length);
        EXPECT_EQ(nfgGameLength(text.data(), length, true), length);
        for (int cut = 0; cut <= length; ++cut) {
            EXPECT_EQ(nfgGameLength(text.data(), cut, false), -1) << "cut at " << cut;
        }
    }
}

}  // namespace

namespace {

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

}  // namespace

// A name longer than a name's 11 characters is cut after its 11th, never
// inside a UTF-8 sequence, however many bytes its characters take; bytes
// that are no UTF-8 count one each.
TEST(NfgFile, ALongNameIsCutAfterItsEleventhCharacter) {
    const std::string a = "\xd0\x90", euro = "\xe2\x82\xac", smile = "\xf0\x9f\x98\x80";
    const struct {
        std::string name, kept;
    } cases[] = {
        {repeated(a, 15), repeated(a, 11)},
        {"ab" + repeated(euro, 12), "ab" + repeated(euro, 9)},
        {repeated(smile, 12), repeated(smile, 11)},
        {"x" + repeated(smile, 11), "x" + repeated(smile, 10)},
        {repeated("\xe9", 13), repeated("\xe9", 11)},
        {repeated(a, 10) + "\xe9\xe9", repeated(a, 10) + "\xe9"},
        {"a b" + repeated(euro, 9), "a_b" + repeated(euro, 8)},
        {repeated(smile, 11), repeated(smile, 11)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = "NFG 1 R \"\" { \"" + c.name + "\" \"B\" } { 1 1 } 0 0";
        TypedGame g;
        NfgProblem problem = {};
        ASSERT_TRUE(readNfgText(text.data(), static_cast<int>(text.size()), &g, &problem))
            << problem.message;
        EXPECT_EQ(std::string(g.playerOneName), c.kept);
        EXPECT_STREQ(g.playerTwoName, "B");
    }
}
