// The results report, checked against an independent computation: the
// test plays the games itself with plain loops and formats what the
// program must print, without the program's own functions.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogue_texts.h"
#include "pty_session.h"

namespace e2e {
namespace {

using Matrix = std::vector<std::vector<int>>;

// One game as typed, and what fictitious play makes of it.
struct Game {
    Matrix entries;  // as entered, negative entries included
    int start = -1;  // 1-based; -1: the program chooses ('N')
    int iterations = 0;

    // Computed by play():
    int shift = 0;
    std::vector<int> one, two;                   // moves, 0-based, index k-1
    std::vector<std::vector<int>> sumsB, sumsA;  // rows k = 1..N
    std::vector<float> vStar;
    std::vector<int> tallyOne, tallyTwo;
};

void play(Game& g) {
    const int m = static_cast<int>(g.entries.size());
    const int n = static_cast<int>(g.entries[0].size());
    int smallest = 0;
    for (const auto& row : g.entries) {
        for (int x : row) smallest = std::min(smallest, x);
    }
    g.shift = -smallest;
    Matrix a = g.entries;
    for (auto& row : a) {
        for (int& x : row) x += g.shift;
    }
    int move = g.start - 1;
    if (g.start < 0) {  // the first row that holds the largest entry
        int largest = a[0][0];
        move = 0;
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < n; ++j) {
                if (a[i][j] > largest) largest = a[i][j], move = i;
            }
        }
    }
    std::vector<int> b(n, 0), s(m, 0);
    g.tallyOne.assign(m, 0);
    g.tallyTwo.assign(n, 0);
    for (int k = 1; k <= g.iterations; ++k) {
        for (int j = 0; j < n; ++j) b[j] += a[move][j];
        const int column = static_cast<int>(std::min_element(b.begin(), b.end()) - b.begin());
        for (int i = 0; i < m; ++i) s[i] += a[i][column];
        const int next = static_cast<int>(std::max_element(s.begin(), s.end()) - s.begin());
        g.one.push_back(move);
        g.two.push_back(column);
        g.sumsB.push_back(b);
        g.sumsA.push_back(s);
        g.tallyOne[move]++;
        g.tallyTwo[column]++;
        const float lower = static_cast<float>(static_cast<double>(b[column]) / k);
        const float upper = static_cast<float>(static_cast<double>(s[next]) / k);
        g.vStar.push_back(static_cast<float>((static_cast<double>(upper) + lower) * 0.5));
        move = next;
    }
}

// Fixed point, rounded half away from zero. A float times a power of ten
// up to 10^6 is exact in a long double, so the rounding sees the exact value.
std::string fixed(float value, int decimals) {
    long double scaled = std::fabs(static_cast<long double>(value));
    for (int d = 0; d < decimals; ++d) scaled *= 10;
    const long long units = static_cast<long long>(std::floor(scaled + 0.5L));
    long long whole = units, fraction = 0, scale = 1;
    for (int d = 0; d < decimals; ++d) scale *= 10;
    whole = units / scale;
    fraction = units % scale;
    std::string digits = std::to_string(fraction);
    digits.insert(0, decimals - digits.size(), '0');
    return (std::signbit(value) ? "-" : "") + std::to_string(whole) + "." + digits;
}

std::string padded(long value, int width) {
    std::string text = std::to_string(value);
    return std::string(width > static_cast<int>(text.size()) ? width - text.size() : 0, ' ') + text;
}

const std::string kTableHead =
    "\n   _________________________________________________________"
    "\n  |     |   |                 |   |                |        |"
    "\n  |  k  | i |  B1   B2   B3   | j |  A1   A2   A3  |   V*   |"
    "\n  |_____|___|_________________|___|________________|________|";
const std::string kTableEnd = "\n  |_____|___|_________________|___|________________|________|\n";

std::string tableRow(const Game& g, int k) {
    const bool played = k <= g.iterations;
    auto at = [](const std::vector<int>& sums, size_t s) { return s < sums.size() ? sums[s] : 0; };
    const std::vector<int> none;
    const std::vector<int>& b = played ? g.sumsB[k - 1] : none;
    const std::vector<int>& a = played ? g.sumsA[k - 1] : none;
    return "\n  | " + padded(k, 2) + "  | " + std::to_string(played ? g.one[k - 1] + 1 : 1) +
           " |  " + padded(at(b, 0), 3) + "  " + padded(at(b, 1), 3) + "  " + padded(at(b, 2), 3) +
           "  | " + std::to_string(played ? g.two[k - 1] + 1 : 1) + " |  " + padded(at(a, 0), 3) +
           "  " + padded(at(a, 1), 3) + "  " + padded(at(a, 2), 3) + " |  " +
           fixed(played ? g.vStar[k - 1] : 0.0f, 2) + "  |";
}

std::string table(const Game& g, int rows) {
    std::string text = kTableHead;
    for (int k = 1; k <= rows; ++k) text += tableRow(g, k);
    return text + kTableEnd;
}

// What the program prints from the results up to its question for the
// number of table rows.
std::string results(const Game& g, const std::string& one, const std::string& two) {
    double sum = 0;
    for (float v : g.vStar) sum += v;
    float price = static_cast<float>(sum / g.iterations);
    if (g.shift != 0) price = static_cast<float>(static_cast<double>(price) - g.shift);
    const int whole = static_cast<int>(price);
    const int rounded = static_cast<double>(price) - whole > 0.4444444 ? whole + 1 : whole;
    const std::string n = std::to_string(g.iterations);

    std::string text = kReportStart;
    text += "\n\n\n The mean price of the game is: " + fixed(price, 6) + " -> " +
            std::to_string(rounded) + " ";
    text += "\n\n The optimal mixed strategy for " + one + " is :";
    text += "\n S'[" + one + "] = ( ";
    for (int t : g.tallyOne) text += " " + std::to_string(t) + "/" + n + "  ";
    text += " ) ;";
    text += "\n\n The optimal mixed strategy for " + two + " is : ";
    text += "\n S'[" + two + "] = ( ";
    for (int t : g.tallyTwo) text += " " + std::to_string(t) + "/" + n + "  ";
    text += " ) ;";
    text += "\n\n\n If you wish to see the results of the calculations ";
    text += "\n please enter the number of itterations. ";
    return text + reportRowsQuestion(n);
}

// Everything the program prints from the results on, for `rows` table rows.
std::string report(const Game& g, const std::string& one, const std::string& two, int rows) {
    return results(g, one, two) + table(g, rows);
}

// The answers of a whole game for a scripted run, up to the number of
// iterations; the row count and the final key are added by each test.
std::string answers(const Game& g) {
    std::string text = "Ann Bob\n" + std::to_string(g.entries.size()) + " " +
                       std::to_string(g.entries[0].size()) + "\n";
    for (const auto& row : g.entries) {
        for (int x : row) text += std::to_string(x) + " ";
        text += "\n";
    }
    text += g.start < 0 ? "N\n" : "Y\n" + std::to_string(g.start) + "\n";
    return text + std::to_string(g.iterations) + "\n";
}

// What a scripted run printed from the results on.
std::string reportOf(const DetachedRun& run) {
    const size_t at = run.output.find("\n\n\n ===== R E S U L T S ====");
    return at == std::string::npos ? "(no report) " + run.output : run.output.substr(at);
}

Game workedGame() {
    Game g;
    g.entries = {{5, 0, 7}, {2, 5, 0}, {6, 1, 8}};
    g.start = 1;
    g.iterations = 4;
    play(g);
    return g;
}

TEST(Report, WorkedExampleAndTheFinalKeyAsStatus) {
    const Game g = workedGame();
    // The independent computation agrees with the worked example first.
    ASSERT_EQ(fixed(g.vStar[2], 2), "2.83");
    ASSERT_EQ(fixed(g.vStar[3], 2), "3.13");

    const DetachedRun run = runWithoutConsole(answers(g) + "4\nx");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(visible(report(g, "Ann", "Bob", 4)), visible(reportOf(run)));
    EXPECT_NE(run.output.find("\n\n\n The mean price of the game is: 3.052083 -> 3 "),
              std::string::npos);
    EXPECT_NE(run.output.find(" S'[Ann] = (  1/4   3/4   0/4   ) ;"), std::string::npos);
    EXPECT_NE(run.output.find(" S'[Bob] = (  0/4   2/4   2/4   ) ;"), std::string::npos);
    EXPECT_TRUE(exitedWith(run.status, 'x'));
}

// The whole screen of the worked example at a terminal, typed as a person
// would, ending on a chosen key.
TEST(Report, WorkedExampleAtATerminal) {
    const Game g = workedGame();
    PtySession session;
    ASSERT_TRUE(session.start());
    std::string expected;
    auto answer = [&](const std::string& prompt, const std::string& typed) {
        expected += prompt;
        ASSERT_TRUE(session.waitFor(screenOf(prompt)));
        expected += typed + "\n";
        session.type(typed + "\n");
    };
    ASSERT_NO_FATAL_FAILURE(answer(kFirstName, "Ann"));
    ASSERT_NO_FATAL_FAILURE(answer(kSecondName, "Bob"));
    ASSERT_NO_FATAL_FAILURE(answer(rowsQuestion("Ann"), "3"));
    ASSERT_NO_FATAL_FAILURE(answer(columnsQuestion("Bob"), "3"));
    expected += matrixIntro("Ann", "Bob");
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            ASSERT_NO_FATAL_FAILURE(answer(entry(i + 1, j + 1), std::to_string(g.entries[i][j])));
        }
    }
    expected += startQuestion("Ann");
    ASSERT_TRUE(session.waitFor(screenOf(startQuestion("Ann"))));
    ASSERT_TRUE(session.waitForRawMode());
    session.type("Y");
    expected += "Y";
    ASSERT_NO_FATAL_FAILURE(answer(kStrategyPrompt, "1"));
    ASSERT_NO_FATAL_FAILURE(answer(kIterationsQuestion, "4"));
    ASSERT_NO_FATAL_FAILURE(answer(results(g, "Ann", "Bob"), "4"));
    expected += table(g, 4);
    ASSERT_TRUE(session.waitFor(screenOf(table(g, 4))));
    ASSERT_TRUE(session.waitForRawMode());
    session.type("z");  // not echoed: it ends the program

    ASSERT_TRUE(session.readUntilExit());
    EXPECT_EQ(visible(screenOf(expected)), visible(session.transcript()));
    EXPECT_TRUE(exitedWith(session.exitStatus(), 'z'));
    EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
}

// Any key ends the program, and its code is the status: the first code of
// a key that sends two.
TEST(Report, FinalKeyCodeIsTheStatus) {
    // clang-format off
    const struct {
        std::string bytes;
        int status;
    } keys[] = {{"\x03", 3}, {"\x1b[A", 224}, {"\x1b[17~", 0}, {"\r", 13}, {"\x1b", 27}, {"\xc3\xa9", 233}};
    // clang-format on
    for (const auto& key : keys) {
        SCOPED_TRACE("key " + visible(key.bytes));
        PtySession session;
        ASSERT_TRUE(session.start());
        for (const char* typed : {"A B\n", "1 1\n", "7\n"}) {
            ASSERT_TRUE(session.waitFor(": "));
            session.type(typed);
        }
        ASSERT_TRUE(session.waitFor(screenOf(kKeyPrompt)));
        ASSERT_TRUE(session.waitForRawMode());
        session.type("n");
        ASSERT_TRUE(session.waitFor(screenOf(kIterationsLimit)));
        session.type("1\n");
        ASSERT_TRUE(session.waitFor(screenOf(reportRowsQuestion("1"))));
        session.type("1\n");
        ASSERT_TRUE(session.waitFor(screenOf(kTableEnd)));
        ASSERT_TRUE(session.waitForRawMode());
        session.holdTerminal();
        session.type(key.bytes);
        ASSERT_TRUE(session.readUntilExit());
        EXPECT_TRUE(exitedWith(session.exitStatus(), key.status));
        EXPECT_TRUE(sameTerminalMode(session.initialMode(), session.currentMode()));
        // Nothing of the key is left for the shell to read.
        EXPECT_EQ(visible(session.inputLeft()), "");
    }
}

TEST(Report, RowCounts) {
    const Game g = workedGame();
    // clang-format off
    const struct {
        std::string answer;
        int rows;
        int status;
    } cases[] = {
        {"0\nx", 0, 'x'},        // the frame alone
        {"-3\nx", 0, 'x'},
        {"1\nx", 1, 'x'},
        {"7\nx", 7, 'x'},        // rows past N show the zero state
        {"99\nx", 99, 'x'},
        {"100\nx", 99, 'x'},     // no more rows than the record holds
        {"2147483647\nx", 99, 'x'},
        {"2147483648\nx", 99, 'x'},    // too large to hold: above 99
        {"99999999999999999999\nx", 99, 'x'},
        {"-2147483649\nx", 0, 'x'},    // too small to hold: below 1
        {"abc\n", 4, 'a'},       // unreadable: all N rows; the 'a' is the final key
        {"3x\n", 4, 'x'},        // a number running on is unreadable too
        {"", 4, 0},              // the input ends: all N rows, status 0
        {"5", 5, 0},             // no final key: the input ends there
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE("rows answered as \"" + visible(c.answer) + "\"");
        const DetachedRun run = runWithoutConsole(answers(g) + c.answer);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(visible(report(g, "Ann", "Bob", c.rows)), visible(reportOf(run)));
        EXPECT_TRUE(exitedWith(run.status, c.status));
    }
}

TEST(Report, NegativeMeanPriceAndOneIteration) {
    Game negative;
    negative.entries = {{-5, -3}, {-4, -6}};
    negative.iterations = 9;
    play(negative);
    ASSERT_EQ(negative.shift, 6);

    Game once;
    once.entries = {{3, 1, 4}, {1, 5, 9}};
    once.start = 2;
    once.iterations = 1;
    play(once);

    for (const Game* g : {&negative, &once}) {
        const DetachedRun run = runWithoutConsole(answers(*g) + "3\n");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(visible(report(*g, "Ann", "Bob", 3)), visible(reportOf(run)));
        EXPECT_TRUE(exitedWith(run.status, 0));
    }
    const DetachedRun run = runWithoutConsole(answers(negative) + "0\n");
    EXPECT_NE(run.output.find("The mean price of the game is: -"), std::string::npos);
    const DetachedRun single = runWithoutConsole(answers(once) + "0\n");
    EXPECT_NE(single.output.find(" S'[Ann] = (  0/1   1/1   ) ;"), std::string::npos);
}

TEST(Report, TenByTenGameOfNinetyNineIterations) {
    std::mt19937 random(99);
    for (int round = 0; round < 3; ++round) {
        Game g;
        g.entries.assign(10, std::vector<int>(10));
        const int spread = round == 0 ? 3 : (round == 1 ? 100 : 100000);
        for (auto& row : g.entries) {
            for (int& x : row) x = static_cast<int>(random() % (2 * spread + 1)) - spread;
        }
        g.start = round == 2 ? 10 : -1;
        g.iterations = 99;
        play(g);
        const DetachedRun run = runWithoutConsole(answers(g) + "99\n");
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(visible(report(g, "Ann", "Bob", 99)), visible(reportOf(run)))
            << "round " << round;
        EXPECT_TRUE(exitedWith(run.status, 0));
    }
}

}  // namespace
}  // namespace e2e
