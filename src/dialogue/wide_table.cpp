// The cells of the wide table are those of the usual one, k | i | B1 ...
// Bn | j | A1 ... Am | V* | with V_ and V^ before V*: a cell holds its
// columns right-aligned, two spaces apart, with one space at either side.
#include "dialogue/wide_table.h"

#include "console/console.h"
#include "console/fixed_point.h"
#include "console/text_format.h"
#include "game/game_record.h"

namespace {

// k, i, B1..Bn, j, A1..Am, V_, V^, V*.
constexpr int kMostColumns = 2 * kMaxStrategies + 6;
constexpr int kCellCount = 8;
// The longest entry: a sum of 99 entries of 20,000,000 has 10 digits, an
// estimate of up to 20,000,000 with two decimals 11 characters.
constexpr int kEntryCapacity = 24;
// The longest line: every column at its widest with its spaces, and the
// bars and the indent; well below the console's print buffer.
constexpr int kLineCapacity = 512;

enum ColumnKind { kIteration, kMoveOne, kSumB, kMoveTwo, kSumA, kLower, kUpper, kEstimate };

struct Column {
    ColumnKind kind;
    int32_t strategy;  // for the sums: which of them, 0-based
};

struct Layout {
    Column column[kMostColumns];
    int32_t width[kMostColumns];
    int32_t columnCount;
    int32_t cellEnd[kCellCount];  // one past each cell's last column
};

struct Line {
    char text[kLineCapacity];
    int length;
};

void put(Line* line, char c) {
    if (line->length + 1 < kLineCapacity) line->text[line->length++] = c;
}

void putRepeated(Line* line, char c, int count) {
    for (int n = 0; n < count; ++n) put(line, c);
}

void putRight(Line* line, const char* text, int width) {
    int length = 0;
    while (text[length] != '\0') ++length;
    putRepeated(line, ' ', width - length);
    for (int n = 0; n < length; ++n) put(line, text[n]);
}

void printLine(Line* line) {
    line->text[line->length] = '\0';
    printText("%s", line->text);
}

// The estimates as the solver forms them: divided in double precision,
// stored as a float.
float estimateOf(int32_t sum, int32_t k) {
    return static_cast<float>(static_cast<double>(sum) / k);
}

float lowerEstimate(int32_t k) {
    int32_t smallest = game.sumsB[k][0];
    for (int32_t j = 1; j < game.columnCount; ++j) {
        if (game.sumsB[k][j] < smallest) smallest = game.sumsB[k][j];
    }
    return estimateOf(smallest, k);
}

float upperEstimate(int32_t k) {
    int32_t largest = game.sumsA[k][0];
    for (int32_t i = 1; i < game.rowCount; ++i) {
        if (game.sumsA[k][i] > largest) largest = game.sumsA[k][i];
    }
    return estimateOf(largest, k);
}

void entryText(Column column, int32_t k, char* out) {
    switch (column.kind) {
        case kIteration:
            formatInteger(k, out);
            break;
        case kMoveOne:
            formatInteger(game.choiceOne[k] + 1, out);
            break;
        case kSumB:
            formatInteger(game.sumsB[k][column.strategy], out);
            break;
        case kMoveTwo:
            formatInteger(game.choiceTwo[k] + 1, out);
            break;
        case kSumA:
            formatInteger(game.sumsA[k][column.strategy], out);
            break;
        case kLower:
            formatFixed(static_cast<double>(lowerEstimate(k)), 2, out, kEntryCapacity);
            break;
        case kUpper:
            formatFixed(static_cast<double>(upperEstimate(k)), 2, out, kEntryCapacity);
            break;
        case kEstimate:
            formatFixed(static_cast<double>(game.vStar[k - 1]), 2, out, kEntryCapacity);
            break;
    }
}

void headText(Column column, char* out) {
    const char* names[] = {"k", "i", "B", "j", "A", "V_", "V^", "V*"};
    int length = 0;
    for (const char* c = names[column.kind]; *c != '\0'; ++c) out[length++] = *c;
    if (column.kind == kSumB || column.kind == kSumA) {
        formatInteger(column.strategy + 1, out + length);
    } else {
        out[length] = '\0';
    }
}

void addColumn(Layout* layout, ColumnKind kind, int32_t strategy) {
    layout->column[layout->columnCount] = Column{kind, strategy};
    layout->width[layout->columnCount] = 0;
    ++layout->columnCount;
}

void endCell(Layout* layout, int* cell) { layout->cellEnd[(*cell)++] = layout->columnCount; }

int textLength(const char* text) {
    int length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

// Each column as wide as its widest entry among the head and the rows.
void measure(Layout* layout, int32_t rows) {
    char text[kEntryCapacity];
    for (int c = 0; c < layout->columnCount; ++c) {
        headText(layout->column[c], text);
        int width = textLength(text);
        for (int32_t k = 1; k <= rows; ++k) {
            entryText(layout->column[c], k, text);
            const int length = textLength(text);
            if (length > width) width = length;
        }
        layout->width[c] = width;
    }
}

void layOut(Layout* layout, int32_t rows) {
    layout->columnCount = 0;
    int cell = 0;
    addColumn(layout, kIteration, 0);
    endCell(layout, &cell);
    addColumn(layout, kMoveOne, 0);
    endCell(layout, &cell);
    for (int32_t j = 0; j < game.columnCount; ++j) addColumn(layout, kSumB, j);
    endCell(layout, &cell);
    addColumn(layout, kMoveTwo, 0);
    endCell(layout, &cell);
    for (int32_t i = 0; i < game.rowCount; ++i) addColumn(layout, kSumA, i);
    endCell(layout, &cell);
    addColumn(layout, kLower, 0);
    endCell(layout, &cell);
    addColumn(layout, kUpper, 0);
    endCell(layout, &cell);
    addColumn(layout, kEstimate, 0);
    endCell(layout, &cell);
    measure(layout, rows);
}

int cellWidth(const Layout* layout, int cell) {
    const int first = cell == 0 ? 0 : layout->cellEnd[cell - 1];
    int width = 2;  // the space at either side
    for (int c = first; c < layout->cellEnd[cell]; ++c) {
        width += layout->width[c] + (c > first ? 2 : 0);
    }
    return width;
}

// "\n  |" then every cell filled with `fill`, each closed by a bar.
void printRule(const Layout* layout, char fill) {
    Line line = {{0}, 0};
    put(&line, '\n');
    putRepeated(&line, ' ', 2);
    put(&line, '|');
    for (int cell = 0; cell < kCellCount; ++cell) {
        putRepeated(&line, fill, cellWidth(layout, cell));
        put(&line, '|');
    }
    printLine(&line);
}

// The top line spans the table between its outer bars.
void printTop(const Layout* layout) {
    int span = kCellCount - 1;
    for (int cell = 0; cell < kCellCount; ++cell) span += cellWidth(layout, cell);
    Line line = {{0}, 0};
    put(&line, '\n');
    putRepeated(&line, ' ', 3);
    putRepeated(&line, '_', span);
    printLine(&line);
}

// The head when k is 0, otherwise the row of iteration k.
void printRow(const Layout* layout, int32_t k) {
    Line line = {{0}, 0};
    put(&line, '\n');
    putRepeated(&line, ' ', 2);
    put(&line, '|');
    char text[kEntryCapacity];
    int c = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        put(&line, ' ');
        for (const int first = c; c < layout->cellEnd[cell]; ++c) {
            if (c > first) putRepeated(&line, ' ', 2);
            if (k == 0) {
                headText(layout->column[c], text);
            } else {
                entryText(layout->column[c], k, text);
            }
            putRight(&line, text, layout->width[c]);
        }
        put(&line, ' ');
        put(&line, '|');
    }
    printLine(&line);
}

}  // namespace

void printWideTable(int32_t rows) {
    static Layout layout;
    if (rows > kMaxIterations) rows = kMaxIterations;
    layOut(&layout, rows);
    printTop(&layout);
    printRule(&layout, ' ');
    printRow(&layout, 0);
    printRule(&layout, '_');
    for (int32_t k = 1; k <= rows; ++k) printRow(&layout, k);
    printRule(&layout, '_');
}
