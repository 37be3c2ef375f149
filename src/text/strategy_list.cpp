#include "text/strategy_list.h"

#include "text/text_buffer.h"
#include "text/text_format.h"
#include "text/translation.h"

int formatStrategyList(const bool* marked, int32_t count, char* out, int capacity) {
    int32_t total = 0;
    for (int32_t s = 0; s < count; ++s) total += marked[s] ? 1 : 0;
    TextBuffer text = boundedText(out, capacity);
    // A list, not a count: the word is singular for one strategy only.
    // TRANSLATORS: the list follows "reached by" (the instrumental case).
    appendText(&text, total == 1 ? tr("strategy ") : tr("strategies "));
    int32_t written = 0;
    for (int32_t s = 0; s < count; ++s) {
        if (!marked[s]) continue;
        if (written > 0) appendText(&text, written == total - 1 ? tr(" and ") : ", ");
        char number[24];
        formatInteger(s + 1, number);
        appendText(&text, number);
        ++written;
    }
    return endText(&text);
}
