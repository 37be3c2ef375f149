#include "input/nfg_answers.h"
#include "text/translation.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "formats/answers_writer.h"
#include "formats/nfg_reader.h"
#include "formats/nfg_tokens.h"
#include "input/text_input.h"
#include "text/text_format.h"

static_assert(kGameAnswersCapacity <= kTextInputCapacity, "the answers fit in the input's buffer");

namespace {

TypedGame nfgGame;  // the game of the Gambit file last read
bool nfgGameRead;   // nfgGame holds a game that was accepted

// The whole file, and one byte more to tell a file that is too large.
char fileBytes[kNfgFileCapacity + 1];

// One more read into fileBytes after the `got` bytes there; false, with
// errno set, when it fails.
bool readMore(GameBytesReader reader, void* context, GameStart* start) {
    const int more =
        reader(context, fileBytes + start->length, kNfgFileCapacity + 1 - start->length);
    if (more < 0) return false;
    start->length += more;
    start->ended = more == 0 || start->length > kNfgFileCapacity;
    return true;
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

// How many of the bytes the game takes, once they are all read: -1 when
// the input failed, with errno set.
int readGame(GameBytesReader reader, void* context, NfgExtent extent, GameStart* start) {
    for (;;) {
        int length = start->ended ? start->length : -1;
        if (extent == kNfgToTheGame) length = nfgGameLength(fileBytes, start->length, start->ended);
        if (length >= 0) return length;
        if (!readMore(reader, context, start)) return -1;
    }
}

}  // namespace

bool readGameStart(GameBytesReader reader, void* context, GameStart* start) {
    *start = GameStart{fileBytes, 0, false, false};
    NfgStart decided = kNfgUndecided;
    while (decided == kNfgUndecided) {
        if (!readMore(reader, context, start)) return false;
        decided = nfgStartOf(fileBytes, start->length, start->ended);
    }
    start->isNfg = decided == kNfgFile;
    return true;
}

const TypedGame* gameOfNfgFile() { return nfgGameRead ? &nfgGame : nullptr; }

int answersOfNfgFile(const char* path, GameBytesReader reader, void* context, NfgExtent extent,
                     GameStart* start, HighCodeEcho highCodes, char* answers,
                     NfgFileMessage* message) {
    const int length = readGame(reader, context, extent, start);
    if (length < 0) {
        return refuse(message, tr("brown-robinson: cannot read '%s': %s\n"), path,
                      std::strerror(errno));
    }
    if (length > kNfgFileCapacity) {
        return refuse(
            message,
            tr("brown-robinson: %s: larger than %d bytes: not a game this program solves\n"), path,
            kNfgFileCapacity);
    }
    start->bytes = fileBytes + length;
    start->length -= length;
    nfgGameRead = false;
    TypedGame& game = nfgGame;
    NfgProblem wrong;
    if (!readNfgText(fileBytes, length, &game, &wrong)) {
        return refuse(message, "brown-robinson: %s:%d: %s\n", path, wrong.line, wrong.message);
    }
    const char* const names[] = {game.playerOneName, game.playerTwoName};
    for (int player = 0; player < 2; ++player) {
        if (holdsControlCode(names[player], static_cast<int>(std::strlen(names[player])),
                             highCodes)) {
            return refuse(message,
                          tr("brown-robinson: %s: player %d's name holds a control character\n"),
                          path, player + 1);
        }
    }
    static char formatted[kGameAnswersCapacity];
    const int answersLength = formatGameAnswers(&game, formatted);
    nfgGameRead = true;
    std::memcpy(answers, formatted, answersLength);
    return answersLength;
}
