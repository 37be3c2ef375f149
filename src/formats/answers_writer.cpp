#include "formats/answers_writer.h"

#include "text/text_buffer.h"

namespace {

void appendNumber(TextBuffer* text, int32_t value, char separator) {
    appendInteger(text, value);
    appendChar(text, separator);
}

}  // namespace

int formatGameAnswers(const TypedGame* game, char out[kGameAnswersCapacity]) {
    TextBuffer text = boundedText(out, kGameAnswersCapacity);
    appendText(&text, game->playerOneName);
    appendChar(&text, ' ');
    appendText(&text, game->playerTwoName);
    appendChar(&text, '\n');
    appendNumber(&text, game->rowCount, ' ');
    appendNumber(&text, game->columnCount, '\n');
    for (int32_t i = 0; i < game->rowCount; ++i) {
        for (int32_t j = 0; j < game->columnCount; ++j) {
            appendNumber(&text, game->entries[i][j], j + 1 < game->columnCount ? ' ' : '\n');
        }
    }
    return endText(&text);
}
