#include "input/nfg_answers.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "formats/answers_writer.h"
#include "formats/nfg_reader.h"
#include "input/game_file.h"
#include "input/text_input.h"
#include "text/text_format.h"

static_assert(kGameAnswersCapacity <= kTextInputCapacity, "the answers fit in the input's buffer");

namespace {

// The whole file, and one byte more to tell a file that is too large.
char fileBytes[kNfgFileCapacity + 1];

// The file's bytes from `got` on into fileBytes; their total, or -1 with
// errno set.
int readRest(int file, int got) {
    while (got <= kNfgFileCapacity) {
        const int more = readGameFile(file, fileBytes + got, kNfgFileCapacity + 1 - got);
        if (more < 0) return -1;
        if (more == 0) break;
        got += more;
    }
    return got;
}

// The message for the file's refusal, formatted into message. Returns -1,
// the refusal's answer length.
int refuse(NfgFileMessage* message, const char* format, ...) {
    va_list args;
    va_start(args, format);
    formatText(message->text, sizeof message->text, format, args);
    va_end(args);
    return -1;
}

}  // namespace

int answersOfNfgFile(const char* path, int file, char* text, int got, HighCodeEcho highCodes,
                     NfgFileMessage* message) {
    std::memcpy(fileBytes, text, got);
    const int length = readRest(file, got);
    const int problem = errno;
    closeGameFile(file);
    if (length < 0) {
        return refuse(message, "brown-robinson: cannot read '%s': %s\n", path,
                      std::strerror(problem));
    }
    if (length > kNfgFileCapacity) {
        return refuse(message,
                      "brown-robinson: %s: larger than %d bytes: not a game this program solves\n",
                      path, kNfgFileCapacity);
    }
    static TypedGame game;
    NfgProblem wrong;
    if (!readNfgText(fileBytes, length, &game, &wrong)) {
        return refuse(message, "brown-robinson: %s:%d: %s\n", path, wrong.line, wrong.message);
    }
    const char* const names[] = {game.playerOneName, game.playerTwoName};
    for (int player = 0; player < 2; ++player) {
        if (holdsControlCode(names[player], static_cast<int>(std::strlen(names[player])),
                             highCodes)) {
            return refuse(message,
                          "brown-robinson: %s: player %d's name holds a control character\n", path,
                          player + 1);
        }
    }
    static char answers[kGameAnswersCapacity];
    const int answersLength = formatGameAnswers(&game, answers);
    std::memcpy(text, answers, answersLength);
    return answersLength;
}
