// One whole program run per input: the dialogue, the solver and the report
// over what the input says standard input and the keyboard deliver. Any
// crash, sanitizer report, endless loop, broken record or exact solution
// that fails its certificate is a finding.
//
// Input layout:
//   byte 0      bit 0: there is a console; bit 1: key byte 0xFF is a pause;
//               bit 2: the report shows the exact solution; bit 3: the
//               report shows the wide table; bit 4: the number of
//               iterations is given as with -n, bits 5-6 tell which (1, 50,
//               100 or 250); without bit 4, bits 5-6 ask for the steps
//               (1), or for the steps and a run to the accuracy 0.5 (2)
//               or 0.001 (3) of at most 250 iterations; bit 7: every format of -o is written to a
//               scratch folder, and the CSV is read back against the
//               iterations played again
//   bytes 1-2   length L of the standard input part, little-endian, in
//               the low 14 bits (cut to what is there; an input is at
//               most 8192 bytes); the top two bits the language of the
//               texts: 1 Russian, 2 Ukrainian, else English
//   next L      standard input
//   the rest    the bytes the keyboard sends
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console/console.h"
#include "dialogue/print_results.h"
#include "dialogue/report_options.h"
#include "dialogue/run_game.h"
#include "exact_certificate.h"
#include "fuzz_platform.h"
#include "game/accuracy.h"
#include "game/exact_solution.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "output/output_files.h"
#include "text/translation.h"

namespace {

constexpr size_t kHeaderSize = 3;

ReportOptions reportOptions;
int32_t givenIterations;  // as -n gives them; 0 when asked
bool toAccuracy;          // the run stops at an accuracy (-e), after at most givenIterations
Accuracy accuracy;        // with toAccuracy: which
bool writeFiles;          // the run writes the -o files

// One file of each format in a scratch folder in memory (so that the
// files' fsync costs nothing), replaced run after run.
const char* const kScratchFiles[] = {
    "/dev/shm/br-fuzz-picture.svg", "/dev/shm/br-fuzz-page.html",
    "/dev/shm/br-fuzz-table.csv",   "/dev/shm/br-fuzz-game.nfg",
    "/dev/shm/br-fuzz-game.game",   "/dev/shm/br-fuzz-graph.graph.svg"};
const char kScratchTable[] = "/dev/shm/br-fuzz-table.csv";

void finding(const char* what) {
    fprintf(stderr, "fuzz: %s\n", what);
    abort();
}

void require(bool holds, const char* what) {
    if (!holds) finding(what);
}

FuzzSurroundings surroundingsOf(const uint8_t* data, size_t size) {
    FuzzSurroundings s = {};
    reportOptions = ReportOptions{false, false, false, nullptr, true};
    givenIterations = 0;
    toAccuracy = false;
    writeFiles = false;
    setLanguage(kEnglish);
    if (size < kHeaderSize) {
        s.input = data;
        return s;  // no console and nothing to read
    }
    s.hasConsole = (data[0] & 1) != 0;
    s.keyPauses = (data[0] & 2) != 0;
    const int32_t kGiven[] = {1, 50, 100, 250};
    const int choice = (data[0] >> 5) & 3;
    givenIterations = (data[0] & 16) != 0 ? kGiven[choice] : 0;
    const bool steps = (data[0] & 16) == 0 && choice != 0;
    toAccuracy = (data[0] & 16) == 0 && choice >= 2;
    const char* const accuracyText = choice == 2 ? "0.5" : "1e-3";
    if (toAccuracy) {
        if (!parseAccuracy(accuracyText, &accuracy)) finding("a good accuracy refused");
        givenIterations = 250;
    }
    reportOptions = ReportOptions{(data[0] & 4) != 0, (data[0] & 8) != 0, steps,
                                  toAccuracy ? accuracyText : nullptr, true};
    writeFiles = (data[0] & 128) != 0;
    const Language kLanguages[] = {kEnglish, kRussian, kUkrainian, kEnglish};
    setLanguage(kLanguages[data[2] >> 6]);
    size_t inputSize = data[1] | static_cast<size_t>(data[2] & 0x3F) << 8;
    const size_t rest = size - kHeaderSize;
    if (inputSize > rest) inputSize = rest;
    s.input = data + kHeaderSize;
    s.inputSize = inputSize;
    s.keys = s.input + inputSize;
    s.keySize = rest - inputSize;
    return s;
}

bool rowIsZero(const int32_t* row, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (row[i] != 0) return false;
    }
    return true;
}

void checkSizes() {
    require(game.rowCount >= 1 && game.rowCount <= kMaxStrategies, "rowCount out of 1..10");
    require(game.columnCount >= 1 && game.columnCount <= kMaxStrategies,
            "columnCount out of 1..10");
    const int32_t most = givenIterations > 0 ? givenIterations : kMaxIterations;
    require(game.iterationCount >= 1 && game.iterationCount <= most,
            "iterationCount out of 1..99 (or other than -n gave)");
    require(givenIterations == 0 || toAccuracy || game.iterationCount == givenIterations,
            "iterationCount other than -n gave");
    require(game.startStrategy >= 0 && game.startStrategy < game.rowCount,
            "startStrategy names no row");
    require(memchr(game.playerOneName, '\0', kNameCapacity) != nullptr, "name 1 not terminated");
    require(memchr(game.playerTwoName, '\0', kNameCapacity) != nullptr, "name 2 not terminated");
}

// Only the used area is written; the shift leaves no used entry negative.
void checkMatrix() {
    const int m = game.rowCount;
    const int n = game.columnCount;
    require(game.negativeShift >= 0, "negativeShift below 0");
    bool zeroSeen = false;
    for (int i = 0; i < kMaxStrategies; ++i) {
        for (int j = 0; j < kMaxStrategies; ++j) {
            const int32_t cell = game.gm[i][j];
            if (i >= m || j >= n) {
                require(cell == 0, "gm written outside the used area");
            } else {
                require(cell >= 0, "a used gm entry is negative after the shift");
                zeroSeen = zeroSeen || cell == 0;
            }
        }
    }
    require(game.negativeShift == 0 || zeroSeen, "the shift left no entry at 0");
}

// The rows the record keeps: the first kMaxIterations iterations.
int32_t keptRows() {
    return game.iterationCount < kMaxIterations ? game.iterationCount : kMaxIterations;
}

void checkMoves() {
    const int32_t n = keptRows();
    require(game.choiceOne[0] == 0 && game.choiceTwo[0] == 0, "moves stored at iteration 0");
    require(game.choiceOne[1] == game.startStrategy, "iteration 1 does not play the start");
    for (int32_t k = 1; k <= n; ++k) {
        require(game.choiceOne[k] >= 0 && game.choiceOne[k] < game.rowCount,
                "a move of player 1 names no row");
        require(game.choiceTwo[k] >= 0 && game.choiceTwo[k] < game.columnCount,
                "a move of player 2 names no column");
    }
}

// Each tally is the count of its strategy's moves (of the kept ones when
// the run is longer), and the tallies of each player add up to N.
void checkTallies() {
    int32_t totalOne = 0;
    int32_t totalTwo = 0;
    for (int s = 0; s < kMaxStrategies; ++s) {
        int32_t playedOne = 0;
        int32_t playedTwo = 0;
        for (int32_t k = 1; k <= keptRows(); ++k) {
            playedOne += game.choiceOne[k] == s;
            playedTwo += game.choiceTwo[k] == s;
        }
        const bool whole = game.iterationCount == keptRows();
        require(whole ? game.tallyOne[s] == playedOne : game.tallyOne[s] >= playedOne,
                "tallyOne does not count the moves of player 1");
        require(whole ? game.tallyTwo[s] == playedTwo : game.tallyTwo[s] >= playedTwo,
                "tallyTwo does not count the moves of player 2");
        totalOne += game.tallyOne[s];
        totalTwo += game.tallyTwo[s];
    }
    require(totalOne == game.iterationCount && totalTwo == game.iterationCount,
            "the tallies do not add up to N");
}

// The tallies, the sum of the estimates and the last bounds are those of
// the game played again one iteration at a time, to the bit: a long run
// plays its stretches of repeated moves in one step.
void checkLongRun() {
    PlayState played;
    startPlay(&played, game.startStrategy);
    int32_t tallyOne[kMaxStrategies] = {};
    int32_t tallyTwo[kMaxStrategies] = {};
    double estimateSum = 0.0;
    while (played.k < game.iterationCount) {
        playIteration(&played);
        tallyOne[played.moveOne] += 1;
        tallyTwo[played.moveTwo] += 1;
        estimateSum += played.vStar;
    }
    require(memcmp(tallyOne, game.tallyOne, sizeof tallyOne) == 0 &&
                memcmp(tallyTwo, game.tallyTwo, sizeof tallyTwo) == 0,
            "the tallies differ from one iteration at a time");
    require(estimateSum == game.estimateSum && played.smallestB == game.lastSmallestB &&
                played.largestA == game.lastLargestA,
            "the long run ends elsewhere than one iteration at a time");
}

// Row k of the sums is row k-1 plus what iteration k played; the sums are
// compared in 64 bits, so that an overflow in the program shows as a
// mismatch rather than hiding in the check.
void checkSums() {
    const int m = game.rowCount;
    const int n = game.columnCount;
    require(rowIsZero(game.sumsB[0], 0, kMaxStrategies), "sumsB row 0 not zero");
    require(rowIsZero(game.sumsA[0], 0, kMaxStrategies), "sumsA row 0 not zero");
    for (int32_t k = 1; k <= keptRows(); ++k) {
        for (int j = 0; j < n; ++j) {
            const int64_t expected = int64_t{game.sumsB[k - 1][j]} + game.gm[game.choiceOne[k]][j];
            require(game.sumsB[k][j] == expected, "sumsB[k] is not sumsB[k-1] plus the row played");
        }
        for (int i = 0; i < m; ++i) {
            const int64_t expected = int64_t{game.sumsA[k - 1][i]} + game.gm[i][game.choiceTwo[k]];
            require(game.sumsA[k][i] == expected,
                    "sumsA[k] is not sumsA[k-1] plus the column played");
        }
        require(rowIsZero(game.sumsB[k], n, kMaxStrategies), "sumsB written beyond columnCount");
        require(rowIsZero(game.sumsA[k], m, kMaxStrategies), "sumsA written beyond rowCount");
    }
}

void checkHistoryBeyondN() {
    for (int32_t k = keptRows() + 1; k <= kMaxIterations; ++k) {
        require(game.choiceOne[k] == 0 && game.choiceTwo[k] == 0, "a move stored beyond N");
        require(rowIsZero(game.sumsB[k], 0, kMaxStrategies), "sumsB written beyond N");
        require(rowIsZero(game.sumsA[k], 0, kMaxStrategies), "sumsA written beyond N");
    }
    for (int32_t index = keptRows(); index <= kMaxIterations; ++index) {
        require(game.vStar[index] == 0.0f, "vStar written beyond N");
    }
}

int32_t smallestOf(const int32_t* row, int count) {
    int32_t smallest = row[0];
    for (int i = 1; i < count; ++i) smallest = row[i] < smallest ? row[i] : smallest;
    return smallest;
}

int32_t largestOf(const int32_t* row, int count) {
    int32_t largest = row[0];
    for (int i = 1; i < count; ++i) largest = row[i] > largest ? row[i] : largest;
    return largest;
}

// The estimate of iteration k lies between its lower and upper estimate,
// each as stored: minB / k and maxA / k rounded to float.
void checkEstimates() {
    for (int32_t k = 1; k <= keptRows(); ++k) {
        const double minB = smallestOf(game.sumsB[k], game.columnCount);
        const double maxA = largestOf(game.sumsA[k], game.rowCount);
        const float lower = static_cast<float>(minB / k);
        const float upper = static_cast<float>(maxA / k);
        const float estimate = game.vStar[k - 1];
        require(lower <= estimate && estimate <= upper,
                "vStar outside its lower and upper estimate");
    }
}

void checkRecord() {
    checkSizes();
    checkMatrix();
    checkMoves();
    checkTallies();
    checkLongRun();
    checkSums();
    checkHistoryBeyondN();
    checkEstimates();
}

// The exact solution of every game played, whatever the report shows:
// proven by its certificate, and between the bounds that the played
// frequencies give.
void checkExactSolution() {
    static ExactSolution solution;
    solveExactly(&solution);
    const std::string fault = certificate::fault(solution);
    require(fault.empty(), fault.c_str());
    const std::string outside = certificate::boundsFault(solution, game.iterationCount);
    require(outside.empty(), outside.c_str());
}

// The fields of one CSV line as numbers, or none when a field is empty
// or not a number.
bool splitNumbers(const std::string& line, double* numbers, int capacity, int* count) {
    *count = 0;
    const char* at = line.c_str();
    for (;;) {
        char* end = nullptr;
        const double number = strtod(at, &end);
        if (end == at || *count == capacity) return false;
        numbers[(*count)++] = number;
        if (*end == '\0') return true;
        if (*end != ',') return false;
        at = end + 1;
    }
}

// A number printed to six decimals, read back: half a millionth from the
// value at most (a tie, 0.1796875, is printed 0.179688), and the text's
// own reading is exact only to the doubles' spacing, some 1e-9 at ten
// million.
bool withinSixDecimals(double printed, double value) {
    return fabs(printed - value) <= 5e-7 + 1e-15 * fabs(value) + 1e-12;
}

// The CSV written by the run: a head line, then every iteration as the
// method plays it again, with its estimates to six decimals.
void checkCsvTable() {
    FILE* file = fopen(kScratchTable, "rb");
    if (file == nullptr) return;  // the run ended before the files were written
    std::string text;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, got);
    fclose(file);
    const int32_t m = game.rowCount;
    const int32_t n = game.columnCount;
    PlayState played;
    startPlay(&played, game.startStrategy);
    size_t at = text.find("\r\n");
    require(at != std::string::npos && text.compare(0, 4, "k,i,") == 0, "the CSV has no head");
    double numbers[2 * kMaxStrategies + 6];
    int count = 0;
    for (int32_t k = 1; k <= game.iterationCount; ++k) {
        const size_t end = text.find("\r\n", at + 2);
        require(end != std::string::npos, "the CSV ends before iteration N");
        const std::string line = text.substr(at + 2, end - at - 2);
        at = end;
        require(splitNumbers(line, numbers, 2 * kMaxStrategies + 6, &count) && count == m + n + 6,
                "a CSV line is not the fields of an iteration");
        playIteration(&played);
        bool same = numbers[0] == k && numbers[1] == played.moveOne + 1 &&
                    numbers[n + 2] == played.moveTwo + 1;
        for (int32_t j = 0; j < n; ++j) same = same && numbers[2 + j] == played.sumsB[j];
        for (int32_t i = 0; i < m; ++i) same = same && numbers[n + 3 + i] == played.sumsA[i];
        require(same, "a CSV line differs from the iteration played");
        require(withinSixDecimals(numbers[m + n + 3], lowerEstimate(played)) &&
                    withinSixDecimals(numbers[m + n + 4], upperEstimate(played)) &&
                    withinSixDecimals(numbers[m + n + 5], played.vStar),
                "a CSV estimate is not the iteration's to six decimals");
    }
    require(at + 2 == text.size(), "the CSV goes on after iteration N");
}

void enterAndPlay() {
    startConsole();
    if (writeFiles) {
        const int count = static_cast<int>(sizeof kScratchFiles / sizeof kScratchFiles[0]);
        if (!prepareOutputFiles(kScratchFiles, count, nullptr, nullptr))
            finding("the scratch files cannot be made");
    }
    reportOptions.accuracyReached = runGame(givenIterations, toAccuracy ? &accuracy : nullptr);
}

// A run to an accuracy stops at the first iteration within it, and at
// the limit only when none is: judged again one iteration at a time.
void checkAccuracyStop() {
    PlayState state;
    startPlay(&state, game.startStrategy);
    for (int32_t k = 1; k <= game.iterationCount; ++k) {
        playIteration(&state);
        const bool within = withinAccuracy(accuracy, state.smallestB, state.largestA, k);
        if (k < game.iterationCount) require(!within, "the run to an accuracy went past it");
        if (k == game.iterationCount) {
            require(within == reportOptions.accuracyReached,
                    "the run to an accuracy misreports whether it was reached");
        }
    }
    require(reportOptions.accuracyReached || game.iterationCount == givenIterations,
            "the run to an accuracy stopped short without reaching it");
}

void report() { endProgram(printResults(reportOptions)); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    memset(&game, 0, sizeof game);
    unlink(kScratchTable);
    beginFuzzRun(surroundingsOf(data, size));
    if (runStage(enterAndPlay)) {
        // The report reuses iterationCount for the number of rows, so the
        // record is checked between the two.
        checkRecord();
        checkExactSolution();
        if (toAccuracy) checkAccuracyStop();
        if (runStage(report)) finding("the report returned without ending the program");
        if (writeFiles) checkCsvTable();
    } else if (fuzzExitStatus() == 0) {
        finding("the dialogue ended before the game was played, with status 0");
    }
    endFuzzRun();
    return 0;
}
