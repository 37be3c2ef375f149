#include "dialogue/print_results.h"

#include "console/console.h"
#include "dialogue/exact_report.h"
#include "dialogue/mean_price.h"
#include "dialogue/wide_table.h"
#include "game/game_record.h"

namespace {

const char kTableRule[] = "\n  |_____|___|_________________|___|________________|________|";

void printMixedStrategy(const char* name, const int32_t* tally, int32_t count) {
    printText("\n S'[%s] = ( ", name);
    for (int32_t s = 0; s < count; ++s) printText(" %d/%d  ", tally[s], game.iterationCount);
    printText(" ) ;");
}

// How many table rows to show. An answer that cannot be read keeps all
// the iterations; more rows than the record holds are cut to those it
// holds, and a number too large to hold is more; one too small is less
// than 1, and shows none.
int32_t askRowCount() {
    int32_t rows = 0;
    const ScanStatus status = readIntField(&rows);
    endAnswer();
    if (status != kScanOk && status != kScanOutOfRange) return game.iterationCount;
    return rows > kMaxIterations ? kMaxIterations : rows;
}

// The table shows the first three strategies of each side; a game with
// fewer has zeros there, as the record does.
void printTable(int32_t rows) {
    printText("\n   _________________________________________________________");
    printText("\n  |     |   |                 |   |                |        |");
    printText("\n  |  k  | i |  B1   B2   B3   | j |  A1   A2   A3  |   V*   |");
    printText(kTableRule);
    for (int32_t k = 1; k <= rows; ++k) {
        printText("\n  | %2d  | %d |  %3d  %3d  %3d  | %d |  %3d  %3d  %3d |  %.2f  |", k,
                  game.choiceOne[k] + 1, game.sumsB[k][0], game.sumsB[k][1], game.sumsB[k][2],
                  game.choiceTwo[k] + 1, game.sumsA[k][0], game.sumsA[k][1], game.sumsA[k][2],
                  static_cast<double>(game.vStar[k - 1]));
    }
    printText(kTableRule);
}

}  // namespace

int printResults(ReportOptions options) {
    const float price = meanPrice();
    printText("\n\n\n ===== R E S U L T S ====");
    printText("\n\n\n The mean price of the game is: %f -> %d ", static_cast<double>(price),
              roundedPrice(price));
    printText("\n\n The optimal mixed strategy for %s is :", game.playerOneName);
    printMixedStrategy(game.playerOneName, game.tallyOne, game.rowCount);
    printText("\n\n The optimal mixed strategy for %s is : ", game.playerTwoName);
    printMixedStrategy(game.playerTwoName, game.tallyTwo, game.columnCount);
    printText("\n\n\n If you wish to see the results of the calculations ");
    printText("\n please enter the number of itterations. ");
    printText("\n (remember - the number of all itterations is %d ) :", game.iterationCount);
    // The number of rows takes the place of the number of iterations in
    // the record; the exact solution still needs the latter.
    const int32_t iterations = game.iterationCount;
    game.iterationCount = askRowCount();
    if (options.wide) {
        printWideTable(game.iterationCount);
    } else {
        printTable(game.iterationCount);
    }
    printText("\n");
    if (options.exact) printExactSolution(iterations, price);
    const int key = readKey();
    return key < 0 ? 0 : key;
}
