// The one model of the table of iterations: the columns each table shows,
// their heads, their entries read back against the play, and the rows a
// file shows.
#include "output/table_columns.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "game/game_record.h"
#include "game/iteration.h"
#include "game/solver.h"

namespace {

std::string headsOf(const TableColumns& columns) {
    std::string heads;
    for (int c = 0; c < columns.count; ++c) {
        char text[16];
        TextBuffer out = boundedText(text, sizeof text);
        appendColumnHead(&out, columns.column[c]);
        endText(&out);
        heads += (c > 0 ? "," : "") + std::string(text) +
                 (startsColumnGroup(columns.column[c]) ? "|" : "");
    }
    return heads;
}

std::string entryOf(TableColumn column, const PlayState& row, int decimals) {
    char text[32];
    TextBuffer out = boundedText(text, sizeof text);
    appendColumnEntry(&out, column, row, decimals);
    endText(&out);
    return text;
}

void setGame(int m, int n, int32_t iterations, int32_t rows) {
    std::memset(&game, 0, sizeof game);
    game.rowCount = m;
    game.columnCount = n;
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < n; ++j) game.gm[i][j] = (7 * i + 3 * j) % 5;
    }
    game.iterationCount = iterations;
    game.tableRows = rows;
}

// Each table's columns in order, a bar after the first of each group.
TEST(TableColumns, ColumnsAndHeads) {
    const struct {
        int m, n;
        bool wide;
        const char* heads;
    } cases[] = {
        {2, 3, true, "k,i,B1|,B2,B3,j|,A1|,A2,V_|,V^,V*"},
        {1, 1, true, "k,i,B1|,j|,A1|,V_|,V^,V*"},
        {2, 3, false, "k,i,B1|,B2,B3,j|,A1|,A2,A3,V*"},  // three of each, whatever the game
        {10, 10, false, "k,i,B1|,B2,B3,j|,A1|,A2,A3,V*"},
    };
    for (const auto& c : cases) {
        setGame(c.m, c.n, 5, 5);
        TableColumns columns;
        if (c.wide) {
            wideTableColumns(&columns);
        } else {
            narrowTableColumns(&columns);
        }
        EXPECT_EQ(headsOf(columns), c.heads);
    }
}

// Every entry of every row is what the play gives: the moves 1-based, the
// sums as they stand, the bounds from the sums with the decimals asked.
TEST(TableColumns, EntriesAreThePlay) {
    setGame(3, 4, 12, 12);
    runIterations(0);
    TableColumns columns;
    wideTableColumns(&columns);
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= game.iterationCount; ++k) {
        playIteration(&played);
        for (int c = 0; c < columns.count; ++c) {
            const TableColumn column = columns.column[c];
            for (int decimals : {2, 6}) {
                const std::string entry = entryOf(column, played, decimals);
                const double shown = std::strtod(entry.c_str(), nullptr);
                switch (column.kind) {
                    case kColumnIteration:
                        EXPECT_EQ(shown, k);
                        break;
                    case kColumnMoveOne:
                        EXPECT_EQ(shown, played.moveOne + 1);
                        break;
                    case kColumnMoveTwo:
                        EXPECT_EQ(shown, played.moveTwo + 1);
                        break;
                    case kColumnSumB:
                        EXPECT_EQ(shown, played.sumsB[column.strategy]);
                        break;
                    case kColumnSumA:
                        EXPECT_EQ(shown, played.sumsA[column.strategy]);
                        break;
                    case kColumnLower:
                        EXPECT_NEAR(shown, static_cast<double>(played.smallestB) / k, 0.5001e-2);
                        break;
                    case kColumnUpper:
                        EXPECT_NEAR(shown, static_cast<double>(played.largestA) / k, 0.5001e-2);
                        break;
                    case kColumnEstimate:
                        EXPECT_NEAR(shown, played.vStar, 0.5001e-2);
                        break;
                }
                if (column.kind >= kColumnLower) {
                    EXPECT_EQ(entry.size() - entry.find('.') - 1, static_cast<size_t>(decimals));
                }
            }
        }
    }
}

// A file shows the rows asked for, never past the last iteration.
TEST(TableColumns, FileRowsStopAtTheRun) {
    const struct {
        int32_t iterations, asked, shown;
    } cases[] = {{3, 5, 3}, {5, 3, 3},  {4, 4, 4},     {1, 99, 1},
                 {7, 0, 0}, {7, -2, 0}, {1000, 99, 99}};
    for (const auto& c : cases) {
        setGame(2, 2, c.iterations, c.asked);
        EXPECT_EQ(fileTableRows(), c.shown) << c.iterations << " iterations, " << c.asked;
    }
}

}  // namespace
