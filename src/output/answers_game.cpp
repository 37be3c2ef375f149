#include "output/answers_game.h"

#include "console/game_answers.h"
#include "game/game_record.h"
#include "game/typed_game.h"
#include "output/output_text.h"

void writeAnswersGame() {
    static TypedGame typed;
    static char answers[kGameAnswersCapacity];
    typedGameOfRecord(&game, &typed);
    putBytes(answers, formatGameAnswers(&typed, answers));
}
