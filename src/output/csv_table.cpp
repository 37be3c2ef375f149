// A line is built whole in a local array and put with one call: a run of
// ten million iterations writes a gigabyte and a half, and a call per
// field would cost more than the play.
#include "output/csv_table.h"

#include <cstdint>

#include "game/game_record.h"
#include "game/iteration.h"
#include "output/output_text.h"
#include "text/fixed_point.h"

namespace {

constexpr int kDecimals = 6;
// The longest line: 26 fields of at most 24 characters and their commas.
constexpr int kLineCapacity = 1024;
constexpr int kFieldCapacity = 32;

struct CsvLine {
    char text[kLineCapacity];
    int length;
};

void addText(CsvLine* line, const char* text) {
    while (*text != '\0') line->text[line->length++] = *text++;
}

void addComma(CsvLine* line) { line->text[line->length++] = ','; }

// The digits of a whole number, written backwards and turned, as
// formatInteger does, but straight into the line.
void addInteger(CsvLine* line, int64_t value) {
    uint64_t magnitude =
        value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    if (value < 0) line->text[line->length++] = '-';
    char reversed[20];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (count > 0) line->text[line->length++] = reversed[--count];
}

void addFixed(CsvLine* line, double value) {
    line->length += formatFixed(value, kDecimals, line->text + line->length, kFieldCapacity);
}

void addEnd(CsvLine* line) {
    line->text[line->length++] = '\r';
    line->text[line->length++] = '\n';
    putBytes(line->text, line->length);
    line->length = 0;
}

void putHead(CsvLine* line) {
    addText(line, "k,i");
    for (int32_t j = 1; j <= game.columnCount; ++j) {
        addText(line, ",B");
        addInteger(line, j);
    }
    addText(line, ",j");
    for (int32_t i = 1; i <= game.rowCount; ++i) {
        addText(line, ",A");
        addInteger(line, i);
    }
    addText(line, ",V_,V^,V*");
    addEnd(line);
}

void putRow(CsvLine* line, const PlayState& row) {
    addInteger(line, row.k);
    addComma(line);
    addInteger(line, row.moveOne + 1);
    for (int32_t j = 0; j < game.columnCount; ++j) {
        addComma(line);
        addInteger(line, row.sumsB[j]);
    }
    addComma(line);
    addInteger(line, row.moveTwo + 1);
    for (int32_t i = 0; i < game.rowCount; ++i) {
        addComma(line);
        addInteger(line, row.sumsA[i]);
    }
    addComma(line);
    addFixed(line, lowerEstimate(row));
    addComma(line);
    addFixed(line, upperEstimate(row));
    addComma(line);
    addFixed(line, static_cast<double>(row.vStar));
    addEnd(line);
}

}  // namespace

void writeCsvTable() {
    static CsvLine line;
    line.length = 0;
    putHead(&line);
    PlayState played;
    startPlay(&played, game.startStrategy);
    for (int32_t k = 1; k <= game.iterationCount; ++k) {
        playIteration(&played);
        putRow(&line, played);
    }
}
