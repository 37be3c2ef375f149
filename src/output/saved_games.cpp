#include "output/saved_games.h"

#include "formats/answers_writer.h"
#include "formats/nfg_writer.h"
#include "game/game_record.h"
#include "game/typed_game.h"
#include "output/output_text.h"

void writeAnswersGame() {
    static TypedGame typed;
    static char answers[kGameAnswersCapacity];
    typedGameOfRecord(&game, &typed);
    putBytes(answers, formatGameAnswers(&typed, answers));
}

void writeNfgGame() {
    static TypedGame typed;
    static char text[kNfgTextCapacity];
    typedGameOfRecord(&game, &typed);
    putBytes(text, formatNfgText(&typed, text));
}
