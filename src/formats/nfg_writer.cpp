#include "formats/nfg_writer.h"

#include "text/text_buffer.h"

namespace {

// A name as a string of the format: in quotes, a quote or a backslash in
// it behind a backslash.
void appendQuoted(TextBuffer* text, const char* name) {
    appendChar(text, '"');
    for (const char* c = name; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') appendChar(text, '\\');
        appendChar(text, *c);
    }
    appendChar(text, '"');
}

// { "1" "2" ... "count" }
void appendLabels(TextBuffer* text, int count) {
    appendText(text, "{");
    for (int s = 1; s <= count; ++s) {
        appendText(text, " \"");
        appendInteger(text, s);
        appendText(text, "\"");
    }
    appendText(text, " }\n");
}

}  // namespace

int formatNfgText(const TypedGame* game, char out[kNfgTextCapacity]) {
    TextBuffer text = boundedText(out, kNfgTextCapacity);
    appendText(&text, "NFG 1 R ");
    char title[2 * kNameCapacity + 16];
    TextBuffer titleText = boundedText(title, sizeof title);
    appendText(&titleText, game->playerOneName);
    appendText(&titleText, " against ");
    appendText(&titleText, game->playerTwoName);
    endText(&titleText);
    appendQuoted(&text, title);
    appendText(&text, " { ");
    appendQuoted(&text, game->playerOneName);
    appendText(&text, " ");
    appendQuoted(&text, game->playerTwoName);
    appendText(&text, " }\n\n{ ");
    appendLabels(&text, game->rowCount);
    appendLabels(&text, game->columnCount);
    appendText(&text, "}\n\"\"\n\n");
    for (int32_t j = 0; j < game->columnCount; ++j) {
        for (int32_t i = 0; i < game->rowCount; ++i) {
            const int32_t payoff = game->entries[i][j];
            appendInteger(&text, payoff);
            appendText(&text, " ");
            appendInteger(&text, -int64_t{payoff});
            appendText(&text, i + 1 < game->rowCount ? " " : "\n");
        }
    }
    return endText(&text);
}
