#include "dialogue/print_results.h"

#include "console/console.h"
#include "dialogue/exact_report.h"
#include "dialogue/steps_report.h"
#include "dialogue/wide_table.h"
#include "game/exact_solution.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "game/mean_price.h"
#include "output/output_files.h"
#include "output/table_columns.h"
#include "text/fraction_text.h"
#include "text/text_buffer.h"
#include "text/translation.h"

namespace {

const char kTableRule[] = "\n  |_____|___|_________________|___|________________|________|";

void printMixedStrategy(const char* name, const int32_t* tally, int32_t count) {
    printText("\n S'[%s] = ( ", name);
    for (int32_t s = 0; s < count; ++s) printText(" %d/%d  ", tally[s], game.iterationCount);
    printText(" ) ;");
}

// How many table rows to show. An answer that cannot be read keeps all
// the iterations, at most 99 of a long run. More rows than the record
// holds are cut to those it holds (empty beyond the iterations of a short
// run), and in a long run to its iterations; a number too large to hold
// is more, one too small is less than 1 and shows none.
int32_t askRowCount() {
    int32_t rows = 0;
    const ScanStatus status = readIntField(&rows);
    endAnswer();
    if (status != kScanOk && status != kScanOutOfRange) {
        return game.iterationCount > kMaxIterations ? kMaxIterations : game.iterationCount;
    }
    const int32_t most =
        game.iterationCount > kMaxIterations ? game.iterationCount : kMaxIterations;
    return rows > most ? most : rows;
}

// Where a column of the usual table stands in its line: what comes
// before it, and the width it is right-aligned in (0: as wide as it is).
struct NarrowCell {
    const char* before;  // the spaces and bars before the entry
    int beforeLength;    // their count
    int width;           // at least this many characters
};

NarrowCell narrowCell(TableColumn column) {
    switch (column.kind) {
        case kColumnIteration:
            return NarrowCell{" ", 1, 2};
        case kColumnMoveOne:
        case kColumnMoveTwo:
            return NarrowCell{"  | ", 4, 0};
        case kColumnSumB:
        case kColumnSumA:
            return column.strategy == 0 ? NarrowCell{" |  ", 4, 3} : NarrowCell{"  ", 2, 3};
        default:
            return NarrowCell{" |  ", 4, 0};
    }
}

// A row is put together in one buffer and printed whole: the table of a
// run is most of what the dialogue prints, so its rows take the short way.
void printNarrowRow(const TableColumns& columns, const PlayState& row) {
    char lineText[128];
    char entry[32];
    TextBuffer line = boundedText(lineText, sizeof lineText);
    appendBytes(&line, "\n  |", 4);
    for (int c = 0; c < columns.count; ++c) {
        const NarrowCell cell = narrowCell(columns.column[c]);
        TextBuffer text = boundedText(entry, sizeof entry);
        appendColumnEntry(&text, columns.column[c], row, 2);
        appendBytes(&line, cell.before, cell.beforeLength);
        appendRepeated(&line, ' ', cell.width - text.length);
        appendBytes(&line, entry, text.length);
    }
    appendBytes(&line, "  |", 3);
    printPlainText(lineText, endText(&line));
}

// The table shows the first three strategies of each side; a game with
// fewer has zeros there, as the record does.
void printTable(int32_t rows) {
    printText("\n   _________________________________________________________");
    printText("\n  |     |   |                 |   |                |        |");
    printText("\n  |  k  | i |  B1   B2   B3   | j |  A1   A2   A3  |   V*   |");
    printText(kTableRule);
    TableColumns columns;
    narrowTableColumns(&columns);
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= rows; ++k) printNarrowRow(columns, tableRow(&played, k));
    printText(kTableRule);
}

// Whether the run of -e came within its accuracy, and where: the bounds
// of its last iteration, in the game as entered.
void printAccuracy(const ReportOptions& options) {
    const int32_t k = game.iterationCount;
    char lower[kFractionTextCapacity];
    char upper[kFractionTextCapacity];
    formatFractionDecimals(playedBound(game.lastSmallestB, k), 6, lower, sizeof lower);
    formatFractionDecimals(playedBound(game.lastLargestA, k), 6, upper, sizeof upper);
    const char* sentence =
        options.accuracyReached
            ? trPlural("\n\n The accuracy %s was reached after %d iterations: V_ = %s, V^ = %s .",
                       "\n\n The accuracy %s was reached after %d iterations: V_ = %s, V^ = %s .",
                       k)
            : trPlural("\n\n The accuracy %s was not reached in %d iterations: V_ = %s, V^ = %s .",
                       "\n\n The accuracy %s was not reached in %d iterations: V_ = %s, V^ = %s .",
                       k);
    printText(sentence, options.accuracyText, k, lower, upper);
}

}  // namespace

int printResults(ReportOptions options) {
    const float price = meanPrice();
    printText("%s", tr("\n\n\n ===== R E S U L T S ===="));
    printText(tr("\n\n\n The mean price of the game is: %f -> %d "), static_cast<double>(price),
              roundedPrice(price));
    printText(tr("\n\n The optimal mixed strategy for %s is :"), game.playerOneName);
    printMixedStrategy(game.playerOneName, game.tallyOne, game.rowCount);
    printText(tr("\n\n The optimal mixed strategy for %s is : "), game.playerTwoName);
    printMixedStrategy(game.playerTwoName, game.tallyTwo, game.columnCount);
    if (options.accuracyText != nullptr) printAccuracy(options);
    printText(tr("\n\n\n If you wish to see the results of the calculations "
                 "\n please enter the number of itterations. "
                 "\n (remember - the number of all itterations is %d ) :"),
              game.iterationCount);
    game.tableRows = askRowCount();
    if (options.wide) {
        printWideTable(game.tableRows);
    } else {
        printTable(game.tableRows);
    }
    printText("\n");
    if (options.steps) printSolutionSteps(price);
    if (options.exact) printExactSolution(price);
    writeOutputFiles();
    const int key = readKey();
    return key < 0 ? 0 : key;
}
