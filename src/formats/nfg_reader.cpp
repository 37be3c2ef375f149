// The parser of .nfg files, over the tokens of nfg_tokens: it walks the
// format's parts in order. The file is scanned once first for its strings
// and braces, so that the parser meets neither an open string nor the end
// of the file inside a list.
#include "formats/nfg_reader.h"
#include "text/translation.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "formats/nfg_tokens.h"
#include "text/text_format.h"
#include "text/utf8_text.h"

namespace {

constexpr int32_t kLargestPayoff = 10000000;
constexpr int kPlayers = 2;
constexpr int kDeepestBrace = 2;  // { { "label" } } and { { "outcome" 1 2 } }

// The two payoffs of one cell of the game and where they were written.
struct Cell {
    Rational payoffs[kPlayers];  // player 1's, player 2's
    int lines[kPlayers];         // the line of each payoff, or of the outcome for both
};

struct Reading {
    Scanner scanner;                             // where the reading stands
    Token token;                                 // the token looked at and not yet taken
    int takenLine;                               // the line of the token taken before it
    NfgProblem* problem;                         // filled when the file is refused
    int rowCount;                                // m, once the strategies are read
    int columnCount;                             // n
    Cell cells[kMaxStrategies][kMaxStrategies];  // [player 1's strategy][player 2's]
};

bool fail(NfgProblem* problem, int line, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

bool fail(NfgProblem* problem, int line, const char* format, ...) {
    problem->line = line;
    va_list args;
    va_start(args, format);
    formatText(problem->message, sizeof problem->message, format, args);
    va_end(args);
    return false;
}

// The first scan: every string closed, every brace closed and opened, no
// deeper nesting than the format has.
bool checkStringsAndBraces(const char* bytes, int length, NfgProblem* problem) {
    Scanner s = startScanner(bytes, length);
    int openLines[kDeepestBrace] = {0, 0};
    int depth = 0;
    for (Token t = scanToken(&s); t.kind != kTokenEnd; t = scanToken(&s)) {
        if (t.kind == kTokenOpenString) {
            return fail(problem, t.line, "%s",
                        tr("a string is not closed: it runs to the end of the file"));
        }
        if (t.kind == kTokenOpen) {
            if (depth == kDeepestBrace)
                return fail(problem, t.line, "%s", tr("braces nested too deeply"));
            openLines[depth++] = t.line;
        } else if (t.kind == kTokenClose) {
            if (depth == 0)
                return fail(problem, t.line, "%s", tr("a closing brace without an opening one"));
            --depth;
        }
    }
    if (depth > 0) {
        return fail(problem, openLines[depth - 1], "%s", tr("a brace opened here is not closed"));
    }
    return true;
}

void advance(Reading* r) {
    r->takenLine = r->token.line;
    r->token = scanToken(&r->scanner);
}

// Where a problem found at the current token is: at the end of the file,
// the line of the last token rather than of the blank lines after it.
int lineOfToken(const Reading* r) {
    return r->token.kind == kTokenEnd ? r->takenLine : r->token.line;
}

bool failFound(Reading* r, const char* expected) {
    char shown[40];
    return fail(r->problem, lineOfToken(r), tr("expected %s, found %s"), expected,
                describeToken(&r->token, shown, sizeof shown));
}

// The current token as a number, taken.
bool takeNumber(Reading* r, const char* expected, Rational* out) {
    if (r->token.kind != kTokenNumber) return failFound(r, expected);
    char shown[40];
    switch (readNumber(&r->token, out)) {
        case kNumberRead:
            advance(r);
            return true;
        case kNotANumber:
            return fail(r->problem, r->token.line, tr("%s is not a number"),
                        describeToken(&r->token, shown, sizeof shown));
        case kNumberTooLarge:
            break;
    }
    return fail(r->problem, r->token.line, tr("%s has more digits than the program reads"),
                describeToken(&r->token, shown, sizeof shown));
}

// The current token as a whole number, taken.
bool takeWholeNumber(Reading* r, const char* expected, int64_t* out) {
    const Token t = r->token;
    Rational value = {0, 1};
    if (!takeNumber(r, expected, &value)) return false;
    if (value.denominator != 1) {
        char shown[40];
        return fail(r->problem, t.line, tr("expected %s, found %s"), expected,
                    describeToken(&t, shown, sizeof shown));
    }
    *out = value.numerator;
    return true;
}

bool takeOpen(Reading* r, const char* expected) {
    if (r->token.kind != kTokenOpen) return failFound(r, expected);
    advance(r);
    return true;
}

// "NFG 1 R" (or the older "NFG 1 D") and the title.
bool readHeader(Reading* r) {
    if (r->token.kind != kTokenWord || !isWord(&r->token, "NFG")) {
        return failFound(r, tr("NFG, as a Gambit strategic game file begins"));
    }
    advance(r);
    const char* const kVersion[] = {"1", "R"};
    for (const char* expected : kVersion) {
        const Token t = r->token;
        if (t.kind != kTokenNumber && t.kind != kTokenWord)
            return failFound(r, tr("the version, 1 R"));
        if (!isWord(&t, expected) && !(expected[0] == 'R' && isWord(&t, "D"))) {
            char shown[40];
            return fail(r->problem, t.line,
                        tr("unknown version %s: the program reads NFG 1 R and NFG 1 D"),
                        describeToken(&t, shown, sizeof shown));
        }
        advance(r);
    }
    if (r->token.kind != kTokenString) return failFound(r, tr("the game's title in quotes"));
    advance(r);
    return true;
}

// A player's name as one answer: a blank as '_', cut to the characters of
// a name without splitting a UTF-8 character. Refused when empty or when
// it holds a control character (C0, DEL, or C1 written in UTF-8). The
// room of a name holds its 11 characters whatever their bytes, so that is
// all of the name that needs keeping.
bool takeName(Reading* r, int player, char* out) {
    const Token t = r->token;
    char name[kNameCapacity];
    int length = 0;
    unsigned char previous = 0;
    for (int i = 0; i < t.length; ++i) {
        if (t.text[i] == '\\' && i + 1 < t.length) ++i;
        const unsigned char c = static_cast<unsigned char>(t.text[i]);
        const bool c1 = previous == 0xC2 && c >= 0x80 && c <= 0x9F;
        if (c < 0x20 || c == 0x7F || c1) {
            return fail(r->problem, t.line, tr("player %d's name holds a control character"),
                        player);
        }
        if (length < kNameCapacity) name[length++] = c == ' ' ? '_' : static_cast<char>(c);
        previous = c;
    }
    if (length == 0) return fail(r->problem, t.line, tr("player %d's name is empty"), player);
    const int cut = characterPrefixLength(name, length, kNameCharacters);
    std::memcpy(out, name, cut);
    out[cut] = '\0';
    advance(r);
    return true;
}

// { "name 1" "name 2" }
bool readPlayers(Reading* r, TypedGame* game) {
    const int line = r->token.line;
    if (!takeOpen(r, tr("the list of players"))) return false;
    int count = 0;
    for (; r->token.kind != kTokenClose; ++count) {
        if (r->token.kind != kTokenString) return failFound(r, tr("a player's name in quotes"));
        if (count < kPlayers) {
            char* name = count == 0 ? game->playerOneName : game->playerTwoName;
            if (!takeName(r, count + 1, name)) return false;
        } else {
            advance(r);
        }
    }
    advance(r);
    if (count != kPlayers) {
        return fail(r->problem, line,
                    trPlural("the game has %d player: the program solves games of two",
                             "the game has %d players: the program solves games of two", count),
                    count);
    }
    return true;
}

bool checkStrategyCount(Reading* r, int line, int player, int64_t count) {
    if (count < 1 || count > kMaxStrategies) {
        char shown[24];
        formatInteger(count, shown);
        return fail(r->problem, line, tr("player %d has %s strategies: the program takes 1 to %d"),
                    player, shown, kMaxStrategies);
    }
    (player == 1 ? r->rowCount : r->columnCount) = static_cast<int>(count);
    return true;
}

bool checkListedPlayers(Reading* r, int line, int players) {
    if (players == kPlayers) return true;
    return fail(r->problem, line,
                trPlural("the list of strategies is for %d player, not for the game's 2",
                         "the list of strategies is for %d players, not for the game's 2", players),
                players);
}

// { m n }
bool readStrategyCounts(Reading* r, int line) {
    int players = 0;
    for (; r->token.kind != kTokenClose; ++players) {
        const int at = r->token.line;
        int64_t count = 0;
        if (!takeWholeNumber(r, tr("a number of strategies"), &count)) return false;
        if (players < kPlayers && !checkStrategyCount(r, at, players + 1, count)) return false;
    }
    advance(r);
    return checkListedPlayers(r, line, players);
}

// { { "label" ... } { "label" ... } }
bool readStrategyLabels(Reading* r, int line) {
    int players = 0;
    for (; r->token.kind != kTokenClose; ++players) {
        const int at = r->token.line;
        if (!takeOpen(r, tr("a player's list of strategies"))) return false;
        int count = 0;
        for (; r->token.kind != kTokenClose; ++count) {
            if (r->token.kind != kTokenString)
                return failFound(r, tr("a strategy's label in quotes"));
            advance(r);
        }
        advance(r);
        if (players < kPlayers && !checkStrategyCount(r, at, players + 1, count)) return false;
    }
    advance(r);
    return checkListedPlayers(r, line, players);
}

bool readStrategies(Reading* r) {
    const int line = r->token.line;
    if (!takeOpen(r, tr("the players' strategies"))) return false;
    if (r->token.kind == kTokenNumber) return readStrategyCounts(r, line);
    if (r->token.kind == kTokenOpen) return readStrategyLabels(r, line);
    return failFound(r, tr("the numbers of strategies or their labels"));
}

int cellCount(const Reading* r) { return r->rowCount * r->columnCount; }

// Cell t of the flat lists: player 1's strategy changes fastest.
Cell* cellAt(Reading* r, int t) { return &r->cells[t % r->rowCount][t / r->rowCount]; }

bool checkNothingAfter(Reading* r, const char* what, int needed) {
    if (r->token.kind == kTokenNumber) {
        return fail(r->problem, r->token.line, tr("too many %s: the game needs %d"), what, needed);
    }
    if (r->token.kind != kTokenEnd) return failFound(r, tr("the end of the file"));
    return true;
}

bool failTooFew(Reading* r, const char* what, int read, int needed) {
    return fail(r->problem, lineOfToken(r), tr("too few %s: %d of the %d the game needs"), what,
                read, needed);
}

// The flat list of payoffs: each cell's, player by player.
bool readPayoffVersion(Reading* r) {
    const int needed = cellCount(r) * kPlayers;
    for (int read = 0; read < needed; ++read) {
        if (r->token.kind == kTokenEnd) return failTooFew(r, tr("payoffs"), read, needed);
        Cell* cell = cellAt(r, read / kPlayers);
        cell->lines[read % kPlayers] = r->token.line;
        if (!takeNumber(r, tr("a payoff"), &cell->payoffs[read % kPlayers])) return false;
    }
    return checkNothingAfter(r, tr("payoffs"), needed);
}

// { "name" 1, -1 }: the payoffs, commas between them or not.
bool readOutcome(Reading* r, int number, Rational payoffs[kPlayers]) {
    const int line = r->token.line;
    if (!takeOpen(r, tr("an outcome in braces"))) return false;
    if (r->token.kind != kTokenString) return failFound(r, tr("the outcome's name in quotes"));
    advance(r);
    int count = 0;
    for (; r->token.kind != kTokenClose; ++count) {
        Rational payoff = {0, 1};
        if (!takeNumber(r, tr("a payoff"), &payoff)) return false;
        if (count < kPlayers) payoffs[count] = payoff;
        if (r->token.kind == kTokenComma) advance(r);
    }
    advance(r);
    if (count != kPlayers) {
        return fail(r->problem, line,
                    tr("outcome %d has %d payoffs: it needs one for each of the 2 "
                       "players"),
                    number, count);
    }
    return true;
}

// The list of outcomes and the flat list of outcome numbers after it.
// The outcomes are read twice: once to count them and check them, and,
// once the numbers are known, again to put each in its cells, so that no
// table of outcomes is kept however many the file has.
bool readOutcomeVersion(Reading* r) {
    const Scanner listStart = r->scanner;
    const Token listToken = r->token;
    advance(r);
    int outcomes = 0;
    Rational payoffs[kPlayers];
    while (r->token.kind != kTokenClose) {
        if (!readOutcome(r, outcomes + 1, payoffs)) return false;
        ++outcomes;
    }
    advance(r);
    int numbers[kMaxStrategies * kMaxStrategies];
    const int needed = cellCount(r);
    for (int read = 0; read < needed; ++read) {
        if (r->token.kind == kTokenEnd) return failTooFew(r, tr("outcome numbers"), read, needed);
        const Token t = r->token;
        int64_t number = 0;
        char shown[40];
        if (!takeWholeNumber(r, tr("an outcome number"), &number)) return false;
        if (number < 0 || number > outcomes) {
            return fail(r->problem, t.line, tr("outcome number %s names no outcome: there are %d"),
                        describeToken(&t, shown, sizeof shown), outcomes);
        }
        numbers[read] = static_cast<int>(number);
        *cellAt(r, read) = Cell{{{0, 1}, {0, 1}}, {t.line, t.line}};
    }
    if (!checkNothingAfter(r, tr("outcome numbers"), needed)) return false;

    Reading again = *r;
    again.scanner = listStart;
    again.token = listToken;
    advance(&again);
    for (int outcome = 1; outcome <= outcomes; ++outcome) {
        const int line = again.token.line;
        readOutcome(&again, outcome, payoffs);  // read once already, without a fault
        for (int t = 0; t < needed; ++t) {
            if (numbers[t] == outcome) *cellAt(r, t) = Cell{{payoffs[0], payoffs[1]}, {line, line}};
        }
    }
    return true;
}

// Player 1's payoffs, the matrix of the game: whole and within bounds.
bool takeMatrix(Reading* r, TypedGame* game) {
    for (int t = 0; t < cellCount(r); ++t) {
        const int i = t % r->rowCount;
        const int j = t / r->rowCount;
        const Cell* cell = cellAt(r, t);
        const Rational payoff = cell->payoffs[0];
        char shown[48];
        formatRational(payoff, shown);
        if (payoff.denominator != 1) {
            return fail(r->problem, cell->lines[0],
                        tr("player 1's payoff at strategies %d and %d is %s: the payoffs must be "
                           "whole numbers: scale the game first"),
                        i + 1, j + 1, shown);
        }
        if (payoff.numerator < -kLargestPayoff || payoff.numerator > kLargestPayoff) {
            return fail(r->problem, cell->lines[0],
                        tr("player 1's payoff at strategies %d and %d is %s: the program takes "
                           "payoffs from %d to %d"),
                        i + 1, j + 1, shown, -kLargestPayoff, kLargestPayoff);
        }
        game->entries[i][j] = static_cast<int32_t>(payoff.numerator);
    }
    return true;
}

// What the two payoffs of a cell add up to; player 1's is whole.
Rational sumOf(const Cell* cell) {
    const Rational second = cell->payoffs[1];
    const int64_t numerator = cell->payoffs[0].numerator * second.denominator + second.numerator;
    const int64_t divisor =
        numerator == 0
            ? second.denominator
            : greatestCommonDivisor(numerator < 0 ? -numerator : numerator, second.denominator);
    return Rational{numerator / divisor, second.denominator / divisor};
}

bool sameRational(Rational a, Rational b) {
    return a.numerator == b.numerator && a.denominator == b.denominator;
}

// The payoffs add up to one number in every cell. The number most cells
// share is taken for the game's, so that the cell named is the odd one.
bool checkConstantSum(Reading* r) {
    const int cells = cellCount(r);
    int mostShared = 0;
    int sharedBy = 0;
    for (int t = 0; t < cells; ++t) {
        int same = 0;
        for (int u = 0; u < cells; ++u)
            same += sameRational(sumOf(cellAt(r, t)), sumOf(cellAt(r, u)));
        if (same > sharedBy) {
            sharedBy = same;
            mostShared = t;
        }
    }
    const Rational sum = sumOf(cellAt(r, mostShared));
    for (int t = 0; t < cells; ++t) {
        const Cell* cell = cellAt(r, t);
        if (sameRational(sumOf(cell), sum)) continue;
        const int i = t % r->rowCount + 1;
        const int j = t / r->rowCount + 1;
        if (sum.numerator == 0) {
            return fail(
                r->problem, cell->lines[1],
                tr("player 2's payoff is not the negative of player 1's at strategies %d and "
                   "%d: the program solves zero-sum games"),
                i, j);
        }
        char here[48];
        char elsewhere[48];
        formatRational(sumOf(cell), here);
        formatRational(sum, elsewhere);
        return fail(r->problem, cell->lines[1],
                    tr("the payoffs at strategies %d and %d add up to %s, elsewhere to %s: the "
                       "program solves zero-sum and constant-sum games"),
                    i, j, here, elsewhere);
    }
    return true;
}

}  // namespace

bool readNfgText(const char* bytes, int length, TypedGame* game, NfgProblem* problem) {
    std::memset(game, 0, sizeof *game);
    if (!checkStringsAndBraces(bytes, length, problem)) return false;
    Reading r = {};
    r.scanner = startScanner(bytes, length);
    r.problem = problem;
    r.token.line = 1;  // an empty file ends on its first line
    advance(&r);
    if (!readHeader(&r) || !readPlayers(&r, game) || !readStrategies(&r)) return false;
    if (r.token.kind == kTokenString) advance(&r);  // the comment
    const bool read = r.token.kind == kTokenOpen ? readOutcomeVersion(&r) : readPayoffVersion(&r);
    if (!read || !takeMatrix(&r, game) || !checkConstantSum(&r)) return false;
    game->rowCount = r.rowCount;
    game->columnCount = r.columnCount;
    return true;
}

namespace {

// The game's parts walked for where they end, without reading them.
struct Span {
    Scanner scanner;  // where the walk stands
    bool ended;       // no more bytes will come after those scanned
    bool cut;         // the walk met the end of the bytes before the game's
    int end;          // the byte after the last token taken
};

// The next token once it is whole; kTokenEnd, with cut set, for one that
// more bytes could still make longer.
Token takeWhole(Span* w) {
    Token t = scanToken(&w->scanner);
    const bool atEnd = w->scanner.next == w->scanner.length;
    const bool word = t.kind == kTokenWord || t.kind == kTokenNumber;
    if (!w->ended && (t.kind == kTokenEnd || t.kind == kTokenOpenString || (word && atEnd))) {
        w->cut = true;
        t.kind = kTokenEnd;
        return t;
    }
    if (t.kind != kTokenEnd) w->end = w->scanner.next;
    return t;
}

// From an opening brace already taken to the brace that closes it.
bool skipList(Span* w) {
    for (int depth = 1; depth > 0;) {
        const Token t = takeWhole(w);
        if (t.kind == kTokenEnd) return false;
        depth += t.kind == kTokenOpen ? 1 : t.kind == kTokenClose ? -1 : 0;
    }
    return true;
}

// { m n } or { { "label" ... } { "label" ... } }: the numbers of
// strategies, 0 for a list that is out of place or out of range.
int strategiesOf(Span* w, int counts[kPlayers]) {
    if (takeWhole(w).kind != kTokenOpen) return 0;
    int players = 0;
    for (Token t = takeWhole(w); t.kind != kTokenClose; t = takeWhole(w), ++players) {
        int count = 0;
        Rational value = {0, 1};
        if (t.kind == kTokenNumber && readNumber(&t, &value) == kNumberRead &&
            value.denominator == 1 && value.numerator <= kMaxStrategies) {
            count = static_cast<int>(value.numerator);
        } else if (t.kind == kTokenOpen) {
            for (t = takeWhole(w); t.kind == kTokenString && count <= kMaxStrategies;
                 t = takeWhole(w)) {
                ++count;
            }
            if (t.kind != kTokenClose) return 0;
        }
        if (players >= kPlayers || count < 1 || count > kMaxStrategies) return 0;
        counts[players] = count;
    }
    return players;
}

// Walks the parts in the order readNfgText reads them; stops at the first
// that is out of place, or when the bytes end first.
void walkGame(Span* w) {
    for (int word = 0; word < 4; ++word) {  // NFG 1 R "title"
        if (takeWhole(w).kind == kTokenEnd) return;
    }
    if (takeWhole(w).kind != kTokenOpen || !skipList(w)) return;  // the players
    int counts[kPlayers] = {0, 0};
    if (strategiesOf(w, counts) != kPlayers) return;
    Token t = takeWhole(w);
    if (t.kind == kTokenString) t = takeWhole(w);  // the comment
    int left = counts[0] * counts[1] * kPlayers;
    if (t.kind == kTokenOpen) {
        if (!skipList(w)) return;  // the outcomes
        left = counts[0] * counts[1];
        t = takeWhole(w);
    }
    for (; left > 1 && t.kind == kTokenNumber; --left) t = takeWhole(w);
}

}  // namespace

int nfgGameLength(const char* bytes, int length, bool ended) {
    Span w = {startScanner(bytes, length), ended, false, 0};
    walkGame(&w);
    return w.cut ? -1 : w.end;
}
