// The wide table, read back from what it prints: every strategy's sums
// follow from the moves shown and the matrix, the estimates from the
// sums, and the frame and the columns line up.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "captured_console.h"
#include "dialogue/wide_table.h"
#include "game/game_record.h"
#include "game/solver.h"

namespace {

struct Token {
    std::string text;
    size_t start;  // where it stands in its line
    size_t end;
};

// The cells of a line between its bars, each split into its entries.
std::vector<std::vector<Token>> cellsOf(const std::string& line) {
    std::vector<std::vector<Token>> cells;
    size_t bar = line.find('|');
    while (bar != std::string::npos) {
        const size_t next = line.find('|', bar + 1);
        if (next == std::string::npos) break;
        std::vector<Token> cell;
        for (size_t p = bar + 1; p < next;) {
            if (line[p] == ' ' || line[p] == '_') {
                ++p;
                continue;
            }
            const size_t start = p;
            while (p < next && line[p] != ' ') ++p;
            cell.push_back(Token{line.substr(start, p - start), start, p});
        }
        cells.push_back(cell);
        bar = next;
    }
    return cells;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t p = text.find('\n'); p != std::string::npos; p = text.find('\n', start)) {
        lines.push_back(text.substr(start, p - start));
        start = p + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

std::vector<size_t> barsOf(const std::string& line) {
    std::vector<size_t> bars;
    for (size_t p = 0; p < line.size(); ++p) {
        if (line[p] == '|') bars.push_back(p);
    }
    return bars;
}

void playGame(int m, int n, const std::vector<int32_t>& entries, int32_t iterations) {
    memset(&game, 0, sizeof game);
    game.rowCount = m;
    game.columnCount = n;
    for (int index = 0; index < m * n; ++index) game.gm[index / n][index % n] = entries[index];
    game.iterationCount = iterations;
    runIterations(0);
}

// An estimate as shown: sum / k with its two decimals right, whatever the
// size of the sums (a float would lose them beyond seven digits).
void expectEstimate(const std::string& shown, long long sum, int k) {
    const double value = static_cast<double>(sum) / k;
    EXPECT_NEAR(std::strtod(shown.c_str(), nullptr), value, 0.005 + 1e-9) << shown;
}

void checkWideTable(int32_t rows) {
    const int m = game.rowCount;
    const int n = game.columnCount;
    startCapture("");
    printWideTable(rows);
    const std::vector<std::string> lines = linesOf(capturedOutput());
    ASSERT_EQ(lines.size(), static_cast<size_t>(rows) + 6);
    EXPECT_EQ(lines[0], "");

    // The frame: the top line spans the bars, every other line has its
    // bars where the others have them.
    const size_t width = lines[2].size();
    EXPECT_EQ(lines[1], "   " + std::string(width - 4, '_'));
    for (size_t l = 2; l < lines.size(); ++l) {
        EXPECT_EQ(barsOf(lines[l]), barsOf(lines[2])) << "line " << l;
        EXPECT_EQ(lines[l].substr(0, 3), "  |");
    }
    EXPECT_EQ(lines[2].find_first_not_of(" |"), std::string::npos);
    EXPECT_EQ(lines[4].find_first_not_of("_|", 2), std::string::npos);
    EXPECT_EQ(lines.back(), lines[4]);

    // The head names every column in order.
    std::vector<std::string> names = {"k", "i"};
    for (int j = 1; j <= n; ++j) names.push_back("B" + std::to_string(j));
    names.push_back("j");
    for (int i = 1; i <= m; ++i) names.push_back("A" + std::to_string(i));
    for (const char* v : {"V_", "V^", "V*"}) names.push_back(v);
    std::vector<std::string> head;
    const std::vector<std::vector<Token>> headCells = cellsOf(lines[3]);
    ASSERT_EQ(headCells.size(), 8u);
    for (const auto& cell : headCells) {
        for (const Token& t : cell) head.push_back(t.text);
    }
    EXPECT_EQ(head, names);

    // Each row's sums are the last row's plus the row or column of the
    // moves it shows; each column is right-aligned, as wide as its widest
    // entry, one space inside its cell's bars and two from its neighbour.
    std::vector<long long> b(n, 0), a(m, 0);
    std::vector<size_t> columnEnd(names.size(), 0), widest(names.size(), 0);
    for (int k = 0; k <= rows; ++k) {
        const std::vector<std::vector<Token>> cells = cellsOf(lines[3 + (k == 0 ? 0 : k + 1)]);
        std::vector<Token> tokens;
        for (size_t c = 0; c < cells.size(); ++c) {
            for (const Token& t : cells[c]) tokens.push_back(t);
        }
        ASSERT_EQ(tokens.size(), names.size()) << "row " << k;
        for (size_t c = 0; c < tokens.size(); ++c) {
            if (k == 0) columnEnd[c] = tokens[c].end;
            EXPECT_EQ(tokens[c].end, columnEnd[c]) << "row " << k << " column " << names[c];
            widest[c] = std::max(widest[c], tokens[c].end - tokens[c].start);
        }
        if (k == 0) continue;
        EXPECT_EQ(std::stoi(tokens[0].text), k);
        const int i = std::stoi(tokens[1].text) - 1;
        const int j = std::stoi(tokens[2 + n].text) - 1;
        ASSERT_TRUE(i >= 0 && i < m && j >= 0 && j < n) << "row " << k;
        for (int s = 0; s < n; ++s) {
            b[s] += game.gm[i][s];
            EXPECT_EQ(std::stoll(tokens[2 + s].text), b[s]) << "row " << k << " B" << s + 1;
        }
        for (int s = 0; s < m; ++s) {
            a[s] += game.gm[s][j];
            EXPECT_EQ(std::stoll(tokens[3 + n + s].text), a[s]) << "row " << k << " A" << s + 1;
        }
        expectEstimate(tokens[3 + n + m].text, *std::min_element(b.begin(), b.end()), k);
        expectEstimate(tokens[4 + n + m].text, *std::max_element(a.begin(), a.end()), k);
        const double estimate = std::strtod(tokens[5 + n + m].text.c_str(), nullptr);
        EXPECT_GE(estimate, std::strtod(tokens[3 + n + m].text.c_str(), nullptr) - 0.01);
        EXPECT_LE(estimate, std::strtod(tokens[4 + n + m].text.c_str(), nullptr) + 0.01);
    }
    const std::vector<size_t> bars = barsOf(lines[3]);
    size_t column = 0;
    for (size_t cell = 0; cell < headCells.size(); ++cell) {
        size_t start = bars[cell] + 2;
        for (size_t c = 0; c < headCells[cell].size(); ++c, ++column) {
            EXPECT_EQ(columnEnd[column] - widest[column], start) << names[column];
            start = columnEnd[column] + 2;
        }
        EXPECT_EQ(bars[cell + 1], columnEnd[column - 1] + 1) << "the cell of " << names[column - 1];
    }
}

TEST(WideTable, EveryStrategyAndBothEstimates) {
    playGame(3, 3, {5, 0, 7, 2, 5, 0, 6, 1, 8}, 4);
    checkWideTable(4);
    checkWideTable(2);

    // Entries of up to 20,000,000, as a shifted game of +-10,000,000 has.
    std::vector<int32_t> entries;
    unsigned seed = 12345;
    for (int cell = 0; cell < 100; ++cell) {
        seed = seed * 1103515245u + 12345u;
        entries.push_back(static_cast<int32_t>((seed >> 8) % 20000001u));
    }
    playGame(10, 10, entries, 99);
    checkWideTable(99);
}

TEST(WideTable, NoRowsStillAFrame) {
    playGame(2, 3, {1, 2, 3, 4, 5, 6}, 5);
    startCapture("");
    printWideTable(0);
    const std::vector<std::string> lines = linesOf(capturedOutput());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "  | k | i | B1  B2  B3 | j | A1  A2 | V_ | V^ | V* |");
    EXPECT_EQ(lines[5], lines[4]);
}

}  // namespace
