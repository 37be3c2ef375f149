// A line is built whole in a static array and put with one call: a run
// of ten million iterations writes a gigabyte and a half, and a call per
// field would cost more than the play.
#include "output/csv_table.h"

#include <cstdint>

#include "game/game_record.h"
#include "game/iteration.h"
#include "output/output_text.h"
#include "output/table_columns.h"
#include "text/text_buffer.h"

namespace {

constexpr int kDecimals = 6;
// The longest line: 26 fields of at most 24 characters and their commas.
constexpr int kLineCapacity = 1024;

struct CsvLine {
    char text[kLineCapacity];  // the line being built
    TableColumns columns;      // the wide table's
};

CsvLine csv;

void putLine(TextBuffer* line) {
    appendText(line, "\r\n");
    putBytes(line->text, line->length);
    line->length = 0;
}

void putHead(TextBuffer* line) {
    for (int c = 0; c < csv.columns.count; ++c) {
        if (c > 0) appendChar(line, ',');
        appendColumnHead(line, csv.columns.column[c]);
    }
    putLine(line);
}

void putRow(TextBuffer* line, const PlayState& row) {
    appendRowEntries(line, csv.columns, row, kDecimals, ',');
    putLine(line);
}

}  // namespace

void writeCsvTable() {
    TextBuffer line = boundedText(csv.text, kLineCapacity);
    wideTableColumns(&csv.columns);
    putHead(&line);
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= game.iterationCount; ++k) {
        playIteration(&played);
        putRow(&line, played);
    }
}
