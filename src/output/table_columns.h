// The table of iterations as every writer of it sees it: which columns it
// has, their heads and their text for a row, and which rows a file shows.
// The console's tables (its usual one and the wide one), the page's table
// and the CSV file lay out the same columns, each in its own way.
#pragma once

#include <cstdint>

#include "game/game_record.h"
#include "game/iteration.h"
#include "text/text_buffer.h"

enum TableColumnKind {
    kColumnIteration,  // k
    kColumnMoveOne,    // i, player 1's strategy, 1-based
    kColumnSumB,       // B1..Bn, player 2's sums
    kColumnMoveTwo,    // j, player 2's answer, 1-based
    kColumnSumA,       // A1..Am, player 1's sums
    kColumnLower,      // V_, the smallest B over k
    kColumnUpper,      // V^, the largest A over k
    kColumnEstimate,   // V*, their midpoint as the method keeps it
};

struct TableColumn {
    TableColumnKind kind;  // what the column shows
    int32_t strategy;      // for the sums: which of them, 0-based; 0 otherwise
};

// k, i, B1..Bn, j, A1..Am, V_, V^, V*.
constexpr int kMostTableColumns = 2 * kMaxStrategies + 6;

struct TableColumns {
    TableColumn column[kMostTableColumns];  // in the order they are shown
    int count;                              // how many of them there are
};

// Every strategy of both sides and both estimates: the wide table, the
// page's and the CSV file's.
void wideTableColumns(TableColumns* columns);

// The console's usual table: the first three strategies of each side (a
// game with fewer has zeros there, as the record does) and V*.
void narrowTableColumns(TableColumns* columns);

// The first column of a group the tables set apart: the sums of either
// side, j, and the estimates.
bool startsColumnGroup(TableColumn column);

// "k", "i", "B2", "j", "A1", "V_", "V^" or "V*".
void appendColumnHead(TextBuffer* out, TableColumn column);

// The column's entry for a row: a whole number, or an estimate with
// `decimals` digits (V_ and V^ from the exact sums, V* the stored float).
void appendColumnEntry(TextBuffer* out, TableColumn column, const PlayState& row, int decimals);

// Every entry of the row, `separator` between them: a line of the CSV
// file in one call rather than a call a field.
void appendRowEntries(TextBuffer* out, const TableColumns& columns, const PlayState& row,
                      int decimals, char separator);

// The rows of the table a file shows: those asked for, but never an
// iteration that was not played (the console alone keeps its empty rows
// beyond the run, as it always printed them); 0 when none were asked for.
int32_t fileTableRows();
