// The table of iterations on the page: the wide table's columns (see
// table_columns.h) as a real table, its head repeated on every printed
// page, and the type size it prints in so that it spans the page.
#include "output/html_table.h"

#include <cstdint>
#include <cstring>

#include "game/game_record.h"
#include "game/iteration.h"
#include "output/output_text.h"
#include "output/table_columns.h"
#include "text/text_buffer.h"
#include "text/text_format.h"
#include "text/translation.h"

namespace {

constexpr int kCellCapacity = 32;  // the longest entry of the table, 15 digits and a sign
// The width of A4 between the margins, in points, and the type sizes the
// table of iterations is printed in: as large as fits, never below the
// smallest that still reads.
constexpr double kPrintWidthPoints = 510.0;
constexpr double kLargestTablePoints = 9.0;
constexpr double kSmallestTablePoints = 4.5;
// A digit of the table's sans-serif face is about 0.56 em wide, and a cell
// adds 0.8 em of padding and rule.
constexpr double kDigitEm = 0.56;
constexpr double kCellEm = 0.8;

int digitCount(int64_t value) {
    char text[24];
    formatInteger(value, text);
    return static_cast<int>(std::strlen(text));
}

// The widest row of the table: the last one shown that was played, since
// every sum only grows (the game is played with no negative entry).
PlayState widestRow() {
    PlayState played;
    startPlay(&played, game.startStrategy);
    playUpTo(&played, fileTableRows());
    return played;
}

// The table's print size: the whole table across the page. An estimate is
// never wider than the largest entry with its two decimals; a column is
// never narrower than its head of two or three characters.

// A cell of the table: its head (`row` null) or its entry in `row`; the
// first column, k, heads its row.
void putTableCell(TableColumn column, const PlayState* row) {
    char text[kCellCapacity];
    TextBuffer cell = boundedText(text, kCellCapacity);
    if (row == nullptr) {
        appendColumnHead(&cell, column);
    } else {
        appendColumnEntry(&cell, column, *row, 2);
    }
    endText(&cell);
    const bool group = startsColumnGroup(column);
    if (row == nullptr) {
        putText(group ? "<th scope=\"col\" class=\"group\">" : "<th scope=\"col\">");
    } else if (column.kind == kColumnIteration) {
        putText("<th scope=\"row\">");
    } else {
        putText(group ? "<td class=\"group\">" : "<td>");
    }
    putText(text);
    putText(row == nullptr || column.kind == kColumnIteration ? "</th>" : "</td>");
}

// The head when `row` is null, otherwise row k as the console's wide
// table shows it.
void putTableRow(const TableColumns& columns, const PlayState* row) {
    putText("<tr>");
    for (int c = 0; c < columns.count; ++c) putTableCell(columns.column[c], row);
    putText("</tr>\n");
}

void putTableExplanation() {
    const HtmlName one = htmlName(game.playerOneName);
    const HtmlName two = htmlName(game.playerTwoName);
    putFormatted(tr("<p>In iteration k %s plays strategy i, which adds its row to the sums B1, "
                    "B2, ... of %s; %s answers with the strategy j of the smallest of them, "
                    "which adds its column to the sums A1, A2, ... of %s. V_ is the smallest B "
                    "over k, V^ the largest A over k, and V* their midpoint."),
                 one.text, two.text, two.text, one.text);
    if (game.negativeShift != 0) {
        putFormatted(tr(" The numbers are those of the game with %s added to every entry."),
                     groupedNumber(game.negativeShift).text);
    }
    putText("</p>\n");
}

}  // namespace

void putPrintTableSize() {
    const PlayState widest = widestRow();
    int32_t largestEntry = 0;
    int characters = 0;
    for (int32_t i = 0; i < game.rowCount; ++i) {
        for (int32_t j = 0; j < game.columnCount; ++j) {
            if (game.gm[i][j] > largestEntry) largestEntry = game.gm[i][j];
        }
        characters += digitCount(widest.sumsA[i] > 100 ? widest.sumsA[i] : 100);
    }
    for (int32_t j = 0; j < game.columnCount; ++j) {
        characters += digitCount(widest.sumsB[j] > 100 ? widest.sumsB[j] : 100);
    }
    characters += digitCount(widest.k) + 2 * 2;  // k, and i and j with their heads
    characters += 3 * (digitCount(largestEntry) + 3);
    const int columns = game.rowCount + game.columnCount + 6;
    double points = kPrintWidthPoints / (characters * kDigitEm + columns * kCellEm);
    if (points > kLargestTablePoints) points = kLargestTablePoints;
    if (points < kSmallestTablePoints) points = kSmallestTablePoints;
    putText("  .iterations { font-size: ");
    putFixed(points, 1);
    putText("pt; }\n");
}

// In the <title> (`element` false) or as a heading.

void putIterationsSection() {
    const int32_t rows = fileTableRows();
    putText(tr("<section>\n<h2>Table of iterations</h2>\n"));
    if (rows <= 0) {
        putText(tr("<p>No rows of the table were asked for.</p>\n"));
        putText("</section>\n");
        return;
    }
    putTableExplanation();
    const GroupedNumber all = groupedNumber(game.iterationCount);
    // English says "iterations" of any count but one, which has a sentence
    // of its own.
    if (rows == 1 && game.iterationCount == 1) {
        putText(tr("<p>The one iteration.</p>\n"));
    } else if (rows == game.iterationCount) {
        putFormatted(trPlural("<p>All %s iterations.</p>\n", "<p>All %s iterations.</p>\n", rows),
                     all.text);
    } else if (rows == 1) {
        putFormatted(trPlural("<p>The first row of the %s iterations.</p>\n",
                              "<p>The first row of the %s iterations.</p>\n", game.iterationCount),
                     all.text);
    } else {
        putFormatted(
            trPlural("<p>The first %s rows of the %s iterations.</p>\n",
                     "<p>The first %s rows of the %s iterations.</p>\n", game.iterationCount),
            groupedNumber(rows).text, all.text);
    }
    static TableColumns columns;
    wideTableColumns(&columns);
    putText("<div class=\"scroll\">\n<table class=\"iterations\">\n<thead>\n");
    putTableRow(columns, nullptr);
    putText("</thead>\n<tbody>\n");
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= rows; ++k) {
        playUpTo(&played, k);
        putTableRow(columns, &played);
    }
    putText("</tbody>\n</table>\n</div>\n</section>\n");
}
