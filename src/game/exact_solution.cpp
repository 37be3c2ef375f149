// The exact solution by the simplex method on the classic programme of a
// matrix game, in whole numbers throughout.
//
// With every entry raised by 1 the game G + 1 has a value v + 1 > 0, and
// player 2's optimal strategies are the scaled solutions of
//
//     maximise w_1 + ... + w_n  subject to  (G + 1) w <= 1, w >= 0:
//
// the largest sum is 1 / (v + 1), and w divided by it is a strategy Y.
// The prices of the constraints at the optimum (the dual solution) are
// player 1's strategy scaled the same way.
//
// The tableau is a dictionary over the nonbasic variables, pivoted in
// whole numbers (integer pivoting): every entry is the true entry times
// D, the determinant of the basis so far, and each exchange divides
// exactly by the previous D. Bland's rule (the lowest entering variable,
// the lowest leaving one among ties) cannot cycle and always takes the
// same path, so the same game always gives the same strategies.
#include "game/exact_solution.h"

#include <new>

#include "game/exact_integer.h"
#include "game/game_record.h"

namespace {

// Rows 0..m-1 the constraints, row m the objective; columns 0..n-1 the
// nonbasic variables, column n the right-hand side. Variables 0..n-1 are
// w, n..n+m-1 the slacks of the constraints.
struct Tableau {
    ExactInteger entry[kMaxStrategies + 1][kMaxStrategies + 1];
    ExactInteger determinant;
    int32_t basic[kMaxStrategies];     // the variable of each row
    int32_t nonbasic[kMaxStrategies];  // the variable of each column
    int32_t rows;                      // m
    int32_t columns;                   // n
    int32_t largestBits;
};

// The magnitude's bits, read off its limbs (the numbers are stored as
// sign and magnitude), so that watching the sizes costs next to nothing.
int32_t bitLength(const ExactInteger& x) {
    constexpr int32_t kLimbBits = sizeof(boost::multiprecision::limb_type) * 8;
    const auto& digits = x.backend();
    const unsigned top = digits.size() - 1;
    int32_t bits = static_cast<int32_t>(top) * kLimbBits;
    for (auto limb = digits.limbs()[top]; limb != 0; limb >>= 1) ++bits;
    return bits;
}

void noteSize(Tableau* t, const ExactInteger& x) {
    const int32_t bits = bitLength(x);
    if (bits > t->largestBits) t->largestBits = bits;
}

void setUpTableau(Tableau* t) {
    const int32_t m = game.rowCount;
    const int32_t n = game.columnCount;
    t->rows = m;
    t->columns = n;
    t->determinant = 1;
    t->largestBits = 0;
    for (int32_t i = 0; i < m; ++i) {
        for (int32_t j = 0; j < n; ++j) t->entry[i][j] = game.gm[i][j] + 1;
        t->entry[i][n] = 1;
        t->basic[i] = n + i;
    }
    for (int32_t j = 0; j < n; ++j) {
        t->entry[m][j] = -1;
        t->nonbasic[j] = j;
    }
    t->entry[m][n] = 0;
}

// The nonbasic column with the lowest variable whose objective entry is
// negative (raising it raises the sum), or -1 at the optimum.
int32_t enteringColumn(const Tableau* t) {
    int32_t best = -1;
    for (int32_t j = 0; j < t->columns; ++j) {
        if (t->entry[t->rows][j] < 0 && (best < 0 || t->nonbasic[j] < t->nonbasic[best])) best = j;
    }
    return best;
}

// The row that limits the entering column first: the smallest ratio of
// right-hand side to a positive entry (compared crosswise, as D cancels),
// the lowest basic variable among ties. Every entry of G + 1 is positive,
// so the programme is bounded and some row always limits it.
int32_t leavingRow(Tableau* t, int32_t s) {
    const int32_t rhs = t->columns;
    int32_t best = -1;
    for (int32_t i = 0; i < t->rows; ++i) {
        if (t->entry[i][s] <= 0) continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const ExactInteger here = t->entry[i][rhs] * t->entry[best][s];
        const ExactInteger there = t->entry[best][rhs] * t->entry[i][s];
        noteSize(t, here);
        noteSize(t, there);
        if (here < there || (here == there && t->basic[i] < t->basic[best])) best = i;
    }
    return best;
}

// Exchanges the basic variable of row r with the nonbasic one of column s.
// Every other entry becomes (entry * p - its column's entry * its row's
// entry) / D, an exact division; row r stays, column s changes its sign,
// the pivot becomes D and p the new D. The products are formed in place,
// without temporaries.
void pivot(Tableau* t, int32_t r, int32_t s) {
    ExactInteger product;
    ExactInteger other;
    const ExactInteger p = t->entry[r][s];
    for (int32_t i = 0; i <= t->rows; ++i) {
        if (i == r) continue;
        ExactInteger* row = t->entry[i];
        for (int32_t j = 0; j <= t->columns; ++j) {
            if (j == s) continue;
            boost::multiprecision::multiply(product, row[j], p);
            boost::multiprecision::multiply(other, row[s], t->entry[r][j]);
            noteSize(t, product);
            noteSize(t, other);
            product -= other;
            // The remainder, always 0, goes where the product was.
            boost::multiprecision::divide_qr(product, t->determinant, row[j], other);
        }
        row[s] = -row[s];
    }
    t->entry[r][s] = t->determinant;
    t->determinant = p;
    const int32_t leaving = t->basic[r];
    t->basic[r] = t->nonbasic[s];
    t->nonbasic[s] = leaving;
}

void runSimplex(Tableau* t) {
    for (;;) {
        const int32_t s = enteringColumn(t);
        if (s < 0) return;
        pivot(t, leavingRow(t, s), s);
    }
}

// Reads the strategies and the value off the optimal tableau. The sum z =
// entry[m][n] / D is 1 / (v + 1), and every w and every price over z is
// a probability.
void readSolution(const Tableau* t, ExactSolution* solution) {
    const int32_t m = t->rows;
    const int32_t n = t->columns;
    const ExactInteger& sum = t->entry[m][n];
    for (int32_t i = 0; i < m; ++i) solution->playerOne[i] = reducedFraction(0, 1);
    for (int32_t j = 0; j < n; ++j) solution->playerTwo[j] = reducedFraction(0, 1);
    for (int32_t i = 0; i < m; ++i) {
        if (t->basic[i] < n) {
            solution->playerTwo[t->basic[i]] = reducedFraction(t->entry[i][n], sum);
        }
    }
    for (int32_t j = 0; j < n; ++j) {
        if (t->nonbasic[j] >= n) {
            solution->playerOne[t->nonbasic[j] - n] = reducedFraction(t->entry[m][j], sum);
        }
    }
    // v = D / z - 1 on the normalised game, then the shift taken back.
    const ExactInteger shiftAndOne = ExactInteger(game.negativeShift) + 1;
    solution->value = reducedFraction(t->determinant - shiftAndOne * sum, sum);
    solution->largestBits = t->largestBits;
}

int32_t rowMinimum(int32_t i) {
    int32_t smallest = game.gm[i][0];
    for (int32_t j = 1; j < game.columnCount; ++j) {
        if (game.gm[i][j] < smallest) smallest = game.gm[i][j];
    }
    return smallest;
}

bool noneAbove(int32_t value, int32_t j) {
    for (int32_t i = 0; i < game.rowCount; ++i) {
        if (game.gm[i][j] > value) return false;
    }
    return true;
}

// The first row, scanning from the top, with an entry that is the
// smallest of its row and the largest of its column; the lowest such
// column of it. False when the game has none.
bool findSaddlePoint(int32_t* row, int32_t* column) {
    for (int32_t i = 0; i < game.rowCount; ++i) {
        const int32_t smallest = rowMinimum(i);
        for (int32_t j = 0; j < game.columnCount; ++j) {
            if (game.gm[i][j] == smallest && noneAbove(smallest, j)) {
                *row = i;
                *column = j;
                return true;
            }
        }
    }
    return false;
}

void answerWithSaddlePoint(ExactSolution* solution) {
    const int32_t r = solution->saddleRow;
    const int32_t c = solution->saddleColumn;
    for (int32_t i = 0; i < game.rowCount; ++i) solution->playerOne[i] = reducedFraction(i == r, 1);
    for (int32_t j = 0; j < game.columnCount; ++j) {
        solution->playerTwo[j] = reducedFraction(j == c, 1);
    }
    solution->value = reducedFraction(ExactInteger(game.gm[r][c]) - game.negativeShift, 1);
    solution->largestBits = bitLength(solution->value.numerator);
}

}  // namespace

void solveExactly(ExactSolution* solution) {
    solution->saddleRow = 0;
    solution->saddleColumn = 0;
    solution->hasSaddlePoint = findSaddlePoint(&solution->saddleRow, &solution->saddleColumn);
    if (solution->hasSaddlePoint) {
        answerWithSaddlePoint(solution);
        return;
    }
    // 16 KiB of numbers on the stack, for the time of the solve: a static
    // one would be set up (and its memory touched) at every start of the
    // program, whether the exact solution is asked for or not.
    Tableau tableau;
    setUpTableau(&tableau);
    runSimplex(&tableau);
    readSolution(&tableau, solution);
}

Fraction playedBound(int64_t sum, int32_t iterations) {
    return reducedFraction(ExactInteger(sum) - ExactInteger(game.negativeShift) * iterations,
                           iterations);
}

Fraction distanceFromValue(float meanPrice, const Fraction& value) {
    Fraction distance = fractionDifference(fractionOfFloat(meanPrice), value);
    distance.numerator = abs(distance.numerator);
    return distance;
}

namespace {

// Room for the solution in static storage, the solution made in it when
// first asked for: a static ExactSolution would be set up by code run at
// every start of the program, and one inside the function would bring in
// the C++ runtime's locks for it, which take memory from the heap.
alignas(ExactSolution) unsigned char solutionRoom[sizeof(ExactSolution)];
ExactSolution* gameSolution = nullptr;

}  // namespace

const ExactSolution& solutionOfGame() {
    if (gameSolution == nullptr) gameSolution = new (solutionRoom) ExactSolution;
    ExactSolution& solution = *gameSolution;
    if (!game.exactSolved) {
        solveExactly(&solution);
        game.exactSolved = true;
    }
    return solution;
}
