#include "dialogue/run_game.h"

#include "console/console.h"
#include "dialogue/dialogue_input.h"
#include "game/accuracy.h"
#include "game/game_record.h"
#include "game/solver.h"
#include "text/translation.h"

namespace {

// Bounds of a matrix entry: with them every shifted entry and every sum of
// 99 iterations stays inside 32 bits.
constexpr int32_t kLargestEntry = 10000000;

const char kEntryPrompt[] = "\n GM[%d][%d]=  ";

void enterNames() {
    askName(tr("\n Enter the name of player 1: "), game.playerOneName);
    askName(tr("\n Enter the name of player 2 : "), game.playerTwoName);
}

void enterStrategyCounts() {
    printText(tr("\n\n Please enter the maximum number of strategies for player %s "),
              game.playerOneName);
    askNumber(&game.rowCount, 1, kMaxStrategies, tr("\n (not more than %d) : "), kMaxStrategies);
    printText(tr("\n\n Please enter the maximum number of strategies for player %s"),
              game.playerTwoName);
    askNumber(&game.columnCount, 1, kMaxStrategies, tr("\n (not more than %d ) : "),
              kMaxStrategies);
}

// Reads the matrix and, when an entry is negative, shifts every used
// entry by the magnitude of the smallest one, so that the solver works on
// a game with no negative payoff (and a value larger by the shift).
void enterMatrix() {
    printText(tr("\n\n Please enter values for the matrix elements GM[i][j]. "
                 "\n They should be numbers equal to "
                 "\n the benefit for player %s (the loss for %s ) if "
                 "\n strategy  i  is used by  %s  and %s replies with strategy j . \n\n"),
              game.playerOneName, game.playerTwoName, game.playerOneName, game.playerTwoName);

    bool anyNegative = false;
    int32_t smallest = 0;
    for (int32_t i = 0; i < game.rowCount; ++i) {
        for (int32_t j = 0; j < game.columnCount; ++j) {
            askNumber(&game.gm[i][j], -kLargestEntry, kLargestEntry, kEntryPrompt, i + 1, j + 1);
            if (game.gm[i][j] < 0) {
                anyNegative = true;
                if (game.gm[i][j] < smallest) smallest = game.gm[i][j];
            }
        }
    }
    if (!anyNegative) return;

    game.negativeShift = -smallest;
    for (int32_t i = 0; i < game.rowCount; ++i) {
        for (int32_t j = 0; j < game.columnCount; ++j) game.gm[i][j] += game.negativeShift;
    }
}

// The row of the first largest entry, scanning rows from the top and each
// row from the left.
int32_t rowOfLargestEntry() {
    int32_t bestRow = 0;
    int32_t largest = game.gm[0][0];
    for (int32_t i = 0; i < game.rowCount; ++i) {
        for (int32_t j = 0; j < game.columnCount; ++j) {
            if (game.gm[i][j] > largest) {
                largest = game.gm[i][j];
                bestRow = i;
            }
        }
    }
    return bestRow;
}

void chooseStartStrategy() {
    printText(tr("\n Would you like to start the game simulation with a certain strategy "
                 "\n for player %s ?"),
              game.playerOneName);
    for (;;) {
        // TRANSLATORS: the keys stay Y and N in every language.
        const int key = askKey(tr("\n\n Press 'Y' or  'N' : "));
        echoKey(key);
        switch (key & 0xFF) {
            case 'Y':
            case 'y':
                askNumber(&game.startStrategy, 1, game.rowCount,
                          tr("\n\n Enter the strategy number: "));
                game.startStrategy -= 1;
                game.startChosen = true;
                return;
            case 'N':
            case 'n':
                game.startStrategy = rowOfLargestEntry();
                return;
            default:
                break;
        }
    }
}

void enterIterationCount() {
    printText("%s", tr("\n\n How many itterations would you like to be executed?"));
    askNumber(&game.iterationCount, 1, kMaxIterations,
              tr("\n\n (please less than  %d !!!             )  : "), kMaxIterations + 1);
}

}  // namespace

bool runGame(int32_t iterations, const Accuracy* accuracy) {
    enterNames();
    enterStrategyCounts();
    enterMatrix();
    chooseStartStrategy();
    bool reached = true;
    if (accuracy != nullptr) {
        // The run of k iterations is the run -n k plays: found first, then
        // played as any other.
        const AccuracyStop stop = firstIterationWithin(*accuracy, game.startStrategy,
                                                       iterations > 0 ? iterations : kMaxLongRun);
        game.iterationCount = stop.iteration;
        reached = stop.reached;
    } else if (iterations > 0) {
        game.iterationCount = iterations;
    } else {
        enterIterationCount();
    }
    runIterations(game.startStrategy);
    return reached;
}
