// Enters a game, plays it and shows the results. The key that ends the
// run is the program's exit status.
#include "console/console.h"
#include "dialogue/print_results.h"
#include "dialogue/run_game.h"

int main() {
    startConsole();
    runGame();
    endProgram(printResults(ReportOptions{false, false}));
}
