// The cells of the wide table are those of the usual one, k | i | B1 ...
// Bn | j | A1 ... Am | V* | with V_ and V^ before V*: a cell holds its
// columns right-aligned, two spaces apart, with one space at either side.
#include "dialogue/wide_table.h"

#include "console/console.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "text/fixed_point.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

// k, i, B1..Bn, j, A1..Am, V_, V^, V*.
constexpr int kMostColumns = 2 * kMaxStrategies + 6;
constexpr int kCellCount = 8;
// The longest entry: a sum of ten million entries of 20,000,000 has 15
// digits, an estimate of up to 20,000,000 with two decimals 11 characters.
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

void printLine(TextBuffer* line) {
    endText(line);
    printText("%s", line->text);
}

void entryText(Column column, const PlayState& row, char* out) {
    switch (column.kind) {
        case kIteration:
            formatInteger(row.k, out);
            break;
        case kMoveOne:
            formatInteger(row.moveOne + 1, out);
            break;
        case kSumB:
            formatInteger(row.sumsB[column.strategy], out);
            break;
        case kMoveTwo:
            formatInteger(row.moveTwo + 1, out);
            break;
        case kSumA:
            formatInteger(row.sumsA[column.strategy], out);
            break;
        case kLower:
            formatFixed(lowerEstimate(row), 2, out, kEntryCapacity);
            break;
        case kUpper:
            formatFixed(upperEstimate(row), 2, out, kEntryCapacity);
            break;
        case kEstimate:
            formatFixed(static_cast<double>(row.vStar), 2, out, kEntryCapacity);
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

// Each column as wide as its widest entry among the head and the rows.
void measure(Layout* layout, int32_t rows) {
    char text[kEntryCapacity];
    for (int c = 0; c < layout->columnCount; ++c) {
        headText(layout->column[c], text);
        layout->width[c] = textLength(text);
    }
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= rows; ++k) {
        const PlayState row = tableRow(&played, k);
        for (int c = 0; c < layout->columnCount; ++c) {
            entryText(layout->column[c], row, text);
            const int length = textLength(text);
            if (length > layout->width[c]) layout->width[c] = length;
        }
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
    char lineText[kLineCapacity];
    TextBuffer line = boundedText(lineText, kLineCapacity);
    appendChar(&line, '\n');
    appendRepeated(&line, ' ', 2);
    appendChar(&line, '|');
    for (int cell = 0; cell < kCellCount; ++cell) {
        appendRepeated(&line, fill, cellWidth(layout, cell));
        appendChar(&line, '|');
    }
    printLine(&line);
}

// The top line spans the table between its outer bars.
void printTop(const Layout* layout) {
    int span = kCellCount - 1;
    for (int cell = 0; cell < kCellCount; ++cell) span += cellWidth(layout, cell);
    char lineText[kLineCapacity];
    TextBuffer line = boundedText(lineText, kLineCapacity);
    appendChar(&line, '\n');
    appendRepeated(&line, ' ', 3);
    appendRepeated(&line, '_', span);
    printLine(&line);
}

// The head when `row` is null, otherwise that row.
void printRow(const Layout* layout, const PlayState* row) {
    char lineText[kLineCapacity];
    TextBuffer line = boundedText(lineText, kLineCapacity);
    appendChar(&line, '\n');
    appendRepeated(&line, ' ', 2);
    appendChar(&line, '|');
    char text[kEntryCapacity];
    int c = 0;
    for (int cell = 0; cell < kCellCount; ++cell) {
        appendChar(&line, ' ');
        for (const int first = c; c < layout->cellEnd[cell]; ++c) {
            if (c > first) appendRepeated(&line, ' ', 2);
            if (row == nullptr) {
                headText(layout->column[c], text);
            } else {
                entryText(layout->column[c], *row, text);
            }
            appendRight(&line, text, layout->width[c]);
        }
        appendChar(&line, ' ');
        appendChar(&line, '|');
    }
    printLine(&line);
}

}  // namespace

void printWideTable(int32_t rows) {
    static Layout layout;
    layOut(&layout, rows);
    printTop(&layout);
    printRule(&layout, ' ');
    printRow(&layout, nullptr);
    printRule(&layout, '_');
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= rows; ++k) {
        const PlayState row = tableRow(&played, k);
        printRow(&layout, &row);
    }
    printRule(&layout, '_');
}
