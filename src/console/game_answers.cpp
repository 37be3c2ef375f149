#include "console/game_answers.h"

#include "console/text_format.h"

namespace {

void append(const char* text, char* out, int* length) {
    while (*text != '\0') out[(*length)++] = *text++;
}

void appendNumber(int32_t value, char separator, char* out, int* length) {
    char text[24];
    formatInteger(value, text);
    append(text, out, length);
    out[(*length)++] = separator;
}

}  // namespace

int formatGameAnswers(const TypedGame* game, char out[kGameAnswersCapacity]) {
    int length = 0;
    append(game->playerOneName, out, &length);
    out[length++] = ' ';
    append(game->playerTwoName, out, &length);
    out[length++] = '\n';
    appendNumber(game->rowCount, ' ', out, &length);
    appendNumber(game->columnCount, '\n', out, &length);
    for (int32_t i = 0; i < game->rowCount; ++i) {
        for (int32_t j = 0; j < game->columnCount; ++j) {
            appendNumber(game->entries[i][j], j + 1 < game->columnCount ? ' ' : '\n', out, &length);
        }
    }
    out[length] = '\0';
    return length;
}
