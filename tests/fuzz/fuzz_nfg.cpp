// The reader of Gambit's strategic game files over any bytes. Any crash,
// sanitizer report or endless loop is a finding, and so is a refusal that
// names no line of the file or says nothing, and a game accepted that the
// program could not take or that reads back otherwise once written.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "formats/answers_writer.h"
#include "formats/nfg_reader.h"
#include "formats/nfg_writer.h"
#include "input/nfg_answers.h"
#include "text/utf8_text.h"

namespace {

void require(bool holds, const char* what) {
    if (holds) return;
    fprintf(stderr, "fuzz: %s\n", what);
    abort();
}

int linesIn(const uint8_t* data, size_t size) {
    int lines = 1;
    for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
    return lines;
}

void checkRefusal(const NfgProblem& problem, const uint8_t* data, size_t size) {
    require(problem.line >= 1 && problem.line <= linesIn(data, size), "a refusal names no line");
    require(memchr(problem.message, '\0', sizeof problem.message) != nullptr,
            "a refusal's message is not terminated");
    require(problem.message[0] != '\0', "a refusal says nothing");
    for (const char* c = problem.message; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        require(byte >= 0x20 && byte < 0x7F, "a refusal's message holds a byte not printable");
    }
}

// A name the dialogue takes as one answer: a word of 1 to 11 characters
// without a blank or a control character.
void checkName(const char* name) {
    const size_t length = strnlen(name, kNameCapacity);
    require(length >= 1 && length < kNameCapacity, "a name empty or not terminated");
    require(characterCount(name, static_cast<int>(length)) <= kNameCharacters,
            "a name of more than 11 characters");
    for (size_t i = 0; i < length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(name[i]);
        require(byte > 0x20 && byte != 0x7F, "a name holds a blank or a control character");
    }
}

void checkGame(const TypedGame& game) {
    checkName(game.playerOneName);
    checkName(game.playerTwoName);
    require(game.rowCount >= 1 && game.rowCount <= kMaxStrategies, "rowCount out of 1..10");
    require(game.columnCount >= 1 && game.columnCount <= kMaxStrategies,
            "columnCount out of 1..10");
    for (int i = 0; i < kMaxStrategies; ++i) {
        for (int j = 0; j < kMaxStrategies; ++j) {
            const int32_t entry = game.entries[i][j];
            const bool used = i < game.rowCount && j < game.columnCount;
            require(used ? entry >= -10000000 && entry <= 10000000 : entry == 0,
                    "an entry out of range, or written outside the game");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kNfgFileCapacity) return 0;  // the program refuses larger files unread
    const char* bytes = reinterpret_cast<const char*>(data);
    static TypedGame game;
    NfgProblem problem = {};
    if (!readNfgText(bytes, static_cast<int>(size), &game, &problem)) {
        checkRefusal(problem, data, size);
        return 0;
    }
    checkGame(game);
    // Read from a stream, the game ends with its last token and is the same.
    const int gameLength = nfgGameLength(bytes, static_cast<int>(size), true);
    require(gameLength > 0 && gameLength <= static_cast<int>(size), "a game's end out of its file");
    static TypedGame streamed;
    require(readNfgText(bytes, gameLength, &streamed, &problem),
            "a game cut at its end is refused");
    require(memcmp(&game, &streamed, sizeof game) == 0, "a game cut at its end reads otherwise");
    static char answers[kGameAnswersCapacity];
    const int length = formatGameAnswers(&game, answers);
    require(length > 0 && length < kGameAnswersCapacity, "the answers overflow their room");

    static char text[kNfgTextCapacity];
    static TypedGame again;
    formatNfgText(&game, text);
    require(readNfgText(text, static_cast<int>(strlen(text)), &again, &problem),
            "the game written is refused when read again");
    require(memcmp(&game, &again, sizeof game) == 0, "the game written reads back otherwise");
    return 0;
}
