#include "game/dominance.h"

#include <cstring>

namespace {

// What is left of the game while it is reduced.
struct Remaining {
    bool row[kMaxStrategies];     // row i is still there
    bool column[kMaxStrategies];  // column j is still there
    int32_t rows;                 // the game's rows, left or not
    int32_t columns;              // the game's columns, left or not
};

// Strategy `s` of `player` against the opponent's strategy `o`, as the
// player wants it large: player 2's payments are his losses, so they are
// negated, and one comparison serves both players.
int64_t gain(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t player, int32_t s,
             int32_t o) {
    return player == 1 ? int64_t{entries[s][o]} : -int64_t{entries[o][s]};
}

// Whether strategy `s` of `player` dominates his strategy `t` over the
// opponent's strategies left; *equal tells whether they were equal there.
bool dominates(const int32_t entries[kMaxStrategies][kMaxStrategies], const Remaining& left,
               int32_t player, int32_t s, int32_t t, bool* equal) {
    const bool* opponentLeft = player == 1 ? left.column : left.row;
    const int32_t opponentCount = player == 1 ? left.columns : left.rows;
    bool better = false;
    for (int32_t o = 0; o < opponentCount; ++o) {
        if (!opponentLeft[o]) continue;
        const int64_t difference = gain(entries, player, s, o) - gain(entries, player, t, o);
        if (difference < 0) return false;
        if (difference > 0) better = true;
    }
    *equal = !better;
    return better || s < t;
}

// The lowest strategy left that dominates `t`, or -1 when none does.
int32_t firstDominator(const int32_t entries[kMaxStrategies][kMaxStrategies], const Remaining& left,
                       int32_t player, int32_t t, bool* equal) {
    const bool* own = player == 1 ? left.row : left.column;
    const int32_t count = player == 1 ? left.rows : left.columns;
    for (int32_t s = 0; s < count; ++s) {
        if (s != t && own[s] && dominates(entries, left, player, s, t, equal)) return s;
    }
    return -1;
}

// Judges `player`'s strategies from the first to the last, removing each
// one dominated at its turn. Returns how many were removed.
int32_t removeDominated(const int32_t entries[kMaxStrategies][kMaxStrategies], Remaining* left,
                        int32_t player, int32_t round, Reduction* reduction) {
    bool* own = player == 1 ? left->row : left->column;
    const int32_t count = player == 1 ? left->rows : left->columns;
    int32_t removed = 0;
    for (int32_t t = 0; t < count; ++t) {
        if (!own[t]) continue;
        bool equal = false;
        const int32_t dominator = firstDominator(entries, *left, player, t, &equal);
        if (dominator < 0) continue;
        own[t] = false;
        reduction->removals[reduction->removalCount++] = {player, t, dominator, round, equal};
        ++removed;
    }
    return removed;
}

// The indices of the strategies left, rising.
int32_t listLeft(const bool* left, int32_t count, int32_t* list) {
    int32_t listed = 0;
    for (int32_t s = 0; s < count; ++s) {
        if (left[s]) list[listed++] = s;
    }
    return listed;
}

}  // namespace

void reduceByDominance(const int32_t entries[kMaxStrategies][kMaxStrategies], int32_t rows,
                       int32_t columns, Reduction* reduction) {
    std::memset(reduction, 0, sizeof *reduction);
    Remaining left = {};
    left.rows = rows;
    left.columns = columns;
    for (int32_t i = 0; i < rows; ++i) left.row[i] = true;
    for (int32_t j = 0; j < columns; ++j) left.column[j] = true;

    for (int32_t round = 1;; ++round) {
        int32_t removed = removeDominated(entries, &left, 1, round, reduction);
        removed += removeDominated(entries, &left, 2, round, reduction);
        if (removed == 0) break;
    }
    reduction->rowCount = listLeft(left.row, rows, reduction->rows);
    reduction->columnCount = listLeft(left.column, columns, reduction->columns);
}

void reducedEntries(const int32_t entries[kMaxStrategies][kMaxStrategies],
                    const Reduction& reduction, int32_t reduced[kMaxStrategies][kMaxStrategies]) {
    for (int32_t r = 0; r < reduction.rowCount; ++r) {
        for (int32_t c = 0; c < reduction.columnCount; ++c) {
            reduced[r][c] = entries[reduction.rows[r]][reduction.columns[c]];
        }
    }
}
