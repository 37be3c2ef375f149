#include "output/table_columns.h"

#include "game/game_record.h"

int32_t fileTableRows() {
    if (game.tableRows <= 0) return 0;
    return game.tableRows < game.iterationCount ? game.tableRows : game.iterationCount;
}
