#include "output/nfg_game.h"

#include "console/text_format.h"
#include "game/game_record.h"
#include "output/output_text.h"

namespace {

struct Text {
    char* out;   // where the text goes
    int length;  // bytes in it so far
};

void append(Text* text, const char* bytes) {
    while (*bytes != '\0') text->out[text->length++] = *bytes++;
}

void appendInteger(Text* text, int64_t value) {
    char digits[24];
    formatInteger(value, digits);
    append(text, digits);
}

// A name as a string of the format: in quotes, a quote or a backslash in
// it behind a backslash.
void appendQuoted(Text* text, const char* name) {
    text->out[text->length++] = '"';
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') text->out[text->length++] = '\\';
        text->out[text->length++] = *c;
    }
    text->out[text->length++] = '"';
}

// { "1" "2" ... "count" }
void appendLabels(Text* text, int count) {
    append(text, "{");
    for (int s = 1; s <= count; ++s) {
        append(text, " \"");
        appendInteger(text, s);
        append(text, "\"");
    }
    append(text, " }\n");
}

}  // namespace

int formatNfgText(const TypedGame* game, char out[kNfgTextCapacity]) {
    Text text = {out, 0};
    append(&text, "NFG 1 R ");
    char title[2 * kNameCapacity + 16];
    Text titleText = {title, 0};
    append(&titleText, game->playerOneName);
    append(&titleText, " against ");
    append(&titleText, game->playerTwoName);
    title[titleText.length] = '\0';
    appendQuoted(&text, title);
    append(&text, " { ");
    appendQuoted(&text, game->playerOneName);
    append(&text, " ");
    appendQuoted(&text, game->playerTwoName);
    append(&text, " }\n\n{ ");
    appendLabels(&text, game->rowCount);
    appendLabels(&text, game->columnCount);
    append(&text, "}\n\"\"\n\n");
    for (int32_t j = 0; j < game->columnCount; ++j) {
        for (int32_t i = 0; i < game->rowCount; ++i) {
            const int32_t payoff = game->entries[i][j];
            appendInteger(&text, payoff);
            append(&text, " ");
            appendInteger(&text, -int64_t{payoff});
            append(&text, i + 1 < game->rowCount ? " " : "\n");
        }
    }
    out[text.length] = '\0';
    return text.length;
}

void writeNfgGame() {
    static TypedGame typed;
    static char text[kNfgTextCapacity];
    typedGameOfRecord(&game, &typed);
    putBytes(text, formatNfgText(&typed, text));
}
