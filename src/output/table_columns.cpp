#include "output/table_columns.h"

#include "text/fixed_point.h"
#include "text/text_format.h"

namespace {

// An estimate of up to 20,000,000 with six decimals, and room to spare.
constexpr int kFixedCapacity = 48;

void addColumn(TableColumns* columns, TableColumnKind kind, int32_t strategy) {
    columns->column[columns->count++] = TableColumn{kind, strategy};
}

void addColumns(TableColumns* columns, int32_t sumsB, int32_t sumsA, bool bounds) {
    columns->count = 0;
    addColumn(columns, kColumnIteration, 0);
    addColumn(columns, kColumnMoveOne, 0);
    for (int32_t j = 0; j < sumsB; ++j) addColumn(columns, kColumnSumB, j);
    addColumn(columns, kColumnMoveTwo, 0);
    for (int32_t i = 0; i < sumsA; ++i) addColumn(columns, kColumnSumA, i);
    if (bounds) {
        addColumn(columns, kColumnLower, 0);
        addColumn(columns, kColumnUpper, 0);
    }
    addColumn(columns, kColumnEstimate, 0);
}

// Straight into the text: the CSV file writes three a line, millions of
// lines.
void appendFixed(TextBuffer* out, double value, int decimals) {
    char text[kFixedCapacity];
    appendBytes(out, text, formatFixed(value, decimals, text, sizeof text));
}

}  // namespace

void wideTableColumns(TableColumns* columns) {
    addColumns(columns, game.columnCount, game.rowCount, true);
}

void narrowTableColumns(TableColumns* columns) { addColumns(columns, 3, 3, false); }

bool startsColumnGroup(TableColumn column) {
    switch (column.kind) {
        case kColumnSumB:
        case kColumnSumA:
            return column.strategy == 0;
        case kColumnMoveTwo:
        case kColumnLower:
            return true;
        default:
            return false;
    }
}

void appendColumnHead(TextBuffer* out, TableColumn column) {
    static const char* const kHeads[] = {"k", "i", "B", "j", "A", "V_", "V^", "V*"};
    appendText(out, kHeads[column.kind]);
    if (column.kind == kColumnSumB || column.kind == kColumnSumA) {
        appendInteger(out, column.strategy + 1);
    }
}

void appendColumnEntry(TextBuffer* out, TableColumn column, const PlayState& row, int decimals) {
    switch (column.kind) {
        case kColumnIteration:
            appendInteger(out, row.k);
            break;
        case kColumnMoveOne:
            appendInteger(out, row.moveOne + 1);
            break;
        case kColumnSumB:
            appendInteger(out, row.sumsB[column.strategy]);
            break;
        case kColumnMoveTwo:
            appendInteger(out, row.moveTwo + 1);
            break;
        case kColumnSumA:
            appendInteger(out, row.sumsA[column.strategy]);
            break;
        case kColumnLower:
            appendFixed(out, lowerEstimate(row), decimals);
            break;
        case kColumnUpper:
            appendFixed(out, upperEstimate(row), decimals);
            break;
        case kColumnEstimate:
            appendFixed(out, static_cast<double>(row.vStar), decimals);
            break;
    }
}

void appendRowEntries(TextBuffer* out, const TableColumns& columns, const PlayState& row,
                      int decimals, char separator) {
    for (int c = 0; c < columns.count; ++c) {
        if (c > 0) appendChar(out, separator);
        appendColumnEntry(out, columns.column[c], row, decimals);
    }
}

int32_t fileTableRows() {
    if (game.tableRows <= 0) return 0;
    return game.tableRows < game.iterationCount ? game.tableRows : game.iterationCount;
}
