// The cells of the wide table are those of the usual one, k | i | B1 ...
// Bn | j | A1 ... Am | V* | with V_ and V^ before V*: a cell holds its
// columns right-aligned, two spaces apart, with one space at either side.
// A cell is a run of columns of one kind.
#include "dialogue/wide_table.h"

#include "console/console.h"
#include "game/game_record.h"
#include "game/iteration.h"
#include "output/table_columns.h"
#include "text/text_buffer.h"

namespace {

constexpr int kCellCount = 8;
// The longest entry: a sum of ten million entries of 20,000,000 has 15
// digits, an estimate of up to 20,000,000 with two decimals 11 characters.
constexpr int kEntryCapacity = 24;
// The longest line: every column at its widest with its spaces, and the
// bars and the indent; well below the console's print buffer.
constexpr int kLineCapacity = 512;

struct Layout {
    TableColumns columns;              // the wide table's
    int32_t width[kMostTableColumns];  // each column's widest entry or head
    int32_t cellEnd[kCellCount];       // one past each cell's last column
};

void printLine(TextBuffer* line) {
    endText(line);
    printText("%s", line->text);
}

// The head when `row` is null, otherwise the column's entry in that row.
void cellText(TableColumn column, const PlayState* row, char* out) {
    TextBuffer text = boundedText(out, kEntryCapacity);
    if (row == nullptr) {
        appendColumnHead(&text, column);
    } else {
        appendColumnEntry(&text, column, *row, 2);
    }
    endText(&text);
}

// Each column as wide as its widest entry among the head and the rows.
void measure(Layout* layout, int32_t rows) {
    char text[kEntryCapacity];
    for (int c = 0; c < layout->columns.count; ++c) {
        cellText(layout->columns.column[c], nullptr, text);
        layout->width[c] = textLength(text);
    }
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= rows; ++k) {
        const PlayState row = tableRow(&played, k);
        for (int c = 0; c < layout->columns.count; ++c) {
            cellText(layout->columns.column[c], &row, text);
            const int length = textLength(text);
            if (length > layout->width[c]) layout->width[c] = length;
        }
    }
}

void layOut(Layout* layout, int32_t rows) {
    wideTableColumns(&layout->columns);
    int cell = 0;
    for (int c = 1; c <= layout->columns.count; ++c) {
        if (c == layout->columns.count ||
            layout->columns.column[c].kind != layout->columns.column[c - 1].kind) {
            layout->cellEnd[cell++] = c;
        }
    }
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
            cellText(layout->columns.column[c], row, text);
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
