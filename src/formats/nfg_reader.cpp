// The reader of .nfg files: a scanner of tokens over the file's bytes and
// a parser that walks the format's parts in order. The file is scanned
// once first for its strings and braces, so that the parser meets neither
// an open string nor the end of the file inside a list.
#include "formats/nfg_reader.h"

#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "text/text_format.h"

namespace {

// Bounds of the numbers read exactly: a payoff of player 2 in a cell is
// added to player 1's whole payoff (at most 10^7) without leaving 64 bits.
constexpr int64_t kLargestNumerator = 1000000000000000;  // 10^15
constexpr int64_t kLargestDenominator = 1000000000;      // 10^9
constexpr int64_t kLargestDigits = 100000000000000000;   // 10^17, digits read before reducing
constexpr int32_t kLargestPayoff = 10000000;
constexpr int kPlayers = 2;
constexpr int kDeepestBrace = 2;  // { { "label" } } and { { "outcome" 1 2 } }

enum TokenKind {
    kEnd,         // the end of the file
    kOpen,        // {
    kClose,       // }
    kComma,       // , between the payoffs of an outcome
    kString,      // "text", \" and \\ standing for " and \ inside
    kOpenString,  // a string that runs to the end of the file
    kNumber,      // begins with a digit, a sign or a point
    kWord,        // any other run of bytes up to a blank, brace, quote or comma
};

struct Token {
    TokenKind kind;
    const char* text;  // its bytes in the file; a string's without the quotes
    int length;        // how many
    int line;          // the line it begins on
};

struct Scanner {
    const char* bytes;  // the whole file
    int length;         // its size
    int next;           // the byte after the token last scanned
    int line;           // the line of bytes[next]
};

// A number read exactly, as a reduced fraction.
struct Rational {
    int64_t numerator;
    int64_t denominator;  // at least 1
};

// The two payoffs of one cell of the game and where they were written.
struct Cell {
    Rational payoffs[kPlayers];  // player 1's, player 2's
    int line;                    // the line of player 2's payoff, or of the outcome
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

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool endsWord(char c) { return isBlank(c) || c == '{' || c == '}' || c == '"' || c == ','; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The next token; a string that is not closed runs to the end of the file
// (the first scan refuses such a file before the parser sees it).
Token scanToken(Scanner* s) {
    while (s->next < s->length && isBlank(s->bytes[s->next])) {
        if (s->bytes[s->next] == '\n') ++s->line;
        ++s->next;
    }
    Token t = {kEnd, s->bytes + s->next, 0, s->line};
    if (s->next == s->length) return t;
    const char c = s->bytes[s->next];
    if (c == '{' || c == '}' || c == ',') {
        t.kind = c == '{' ? kOpen : c == '}' ? kClose : kComma;
        t.length = 1;
        ++s->next;
        return t;
    }
    if (c == '"') {
        t.kind = kString;
        t.text = s->bytes + ++s->next;
        while (s->next < s->length && s->bytes[s->next] != '"') {
            if (s->bytes[s->next] == '\\' && s->next + 1 < s->length) ++s->next;
            if (s->bytes[s->next] == '\n') ++s->line;
            ++s->next;
        }
        t.length = static_cast<int>(s->bytes + s->next - t.text);
        if (s->next == s->length) t.kind = kOpenString;
        if (s->next < s->length) ++s->next;  // the closing quote
        return t;
    }
    while (s->next < s->length && !endsWord(s->bytes[s->next])) ++s->next;
    t.length = static_cast<int>(s->bytes + s->next - t.text);
    const bool signed_ = (c == '-' || c == '+') && t.length > 1;
    const char first = signed_ ? t.text[1] : c;
    t.kind = isDigit(first) || first == '.' ? kNumber : kWord;
    return t;
}

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
    Scanner s = {bytes, length, 0, 1};
    int openLines[kDeepestBrace] = {0, 0};
    int depth = 0;
    for (Token t = scanToken(&s); t.kind != kEnd; t = scanToken(&s)) {
        if (t.kind == kOpenString) {
            return fail(problem, t.line, "a string is not closed: it runs to the end of the file");
        }
        if (t.kind == kOpen) {
            if (depth == kDeepestBrace) return fail(problem, t.line, "braces nested too deeply");
            openLines[depth++] = t.line;
        } else if (t.kind == kClose) {
            if (depth == 0) return fail(problem, t.line, "a closing brace without an opening one");
            --depth;
        }
    }
    if (depth > 0) {
        return fail(problem, openLines[depth - 1], "a brace opened here is not closed");
    }
    return true;
}

void advance(Reading* r) {
    r->takenLine = r->token.line;
    r->token = scanToken(&r->scanner);
}

// Where a problem found at the current token is: at the end of the file,
// the line of the last token rather than of the blank lines after it.
int lineOfToken(const Reading* r) { return r->token.kind == kEnd ? r->takenLine : r->token.line; }

const char* plural(int count) { return count == 1 ? "" : "s"; }

// The token as a message shows it: quoted and cut short, every byte but
// printable ASCII as '?', so that a hostile file sends the terminal no
// codes.
const char* describe(const Token* t, char* out, int capacity) {
    switch (t->kind) {
        case kEnd:
            return "the end of the file";
        case kString:
        case kOpenString:
            return "a string in quotes";
        default:
            break;
    }
    const int length = t->length < capacity - 6 ? t->length : capacity - 6;
    int at = 0;
    out[at++] = '\'';
    for (int i = 0; i < length; ++i) {
        const unsigned char c = static_cast<unsigned char>(t->text[i]);
        out[at++] = c < 0x20 || c >= 0x7F ? '?' : static_cast<char>(c);
    }
    if (length < t->length) {
        for (const char* dots = "..."; *dots != '\0'; ++dots) out[at++] = *dots;
    }
    out[at++] = '\'';
    out[at] = '\0';
    return out;
}

bool failFound(Reading* r, const char* expected) {
    char shown[40];
    return fail(r->problem, lineOfToken(r), "expected %s, found %s", expected,
                describe(&r->token, shown, sizeof shown));
}

bool isWord(const Token* t, const char* word) {
    const int length = static_cast<int>(std::strlen(word));
    return t->length == length && std::memcmp(t->text, word, length) == 0;
}

int64_t greatestCommonDivisor(int64_t a, int64_t b) {
    while (b != 0) {
        const int64_t rest = a % b;
        a = b;
        b = rest;
    }
    return a;
}

// numerator / denominator, reduced and with a positive denominator; false
// when either is beyond what the program reads exactly.
bool makeRational(bool negative, int64_t numerator, int64_t denominator, Rational* out) {
    const int64_t divisor =
        numerator == 0 ? denominator : greatestCommonDivisor(numerator, denominator);
    numerator /= divisor;
    denominator /= divisor;
    if (numerator > kLargestNumerator || denominator > kLargestDenominator) return false;
    *out = Rational{negative ? -numerator : numerator, denominator};
    return true;
}

enum NumberStatus { kNumberRead, kNotANumber, kNumberTooLarge };

// Decimal digits from text[*at] on, as a whole number (0 for none), all
// of them taken; false when there are more of them than kLargestDigits
// holds.
bool readDigits(const char* text, int length, int* at, int64_t* value, int* count) {
    *value = 0;
    *count = 0;
    bool fits = true;
    for (; *at < length && isDigit(text[*at]); ++*at, ++*count) {
        if (*value > kLargestDigits) fits = false;
        if (fits) *value = *value * 10 + (text[*at] - '0');
    }
    return fits;
}

// A decimal with its point and exponent both optional ("3", "-1.000000",
// "2.5e-1"): its digits are gathered as a whole number times a power of
// ten, zeros held back until a digit other than zero follows, so that
// "1.000000000000000000000" reads as exactly 1.
NumberStatus readDecimal(const char* text, int length, int at, bool negative, Rational* out) {
    int64_t digits = 0;
    int exponent = 0;  // the value is digits * 10^exponent
    int heldZeros = 0;
    int digitCount = 0;
    bool afterPoint = false;
    for (; at < length; ++at) {
        const char c = text[at];
        if (c == '.' && !afterPoint) {
            afterPoint = true;
            continue;
        }
        if (!isDigit(c)) break;
        ++digitCount;
        if (afterPoint) --exponent;
        if (c == '0') {
            ++heldZeros;
            continue;
        }
        for (; heldZeros > 0; --heldZeros) {
            if (digits > kLargestDigits / 10) return kNumberTooLarge;
            digits *= 10;
        }
        if (digits > kLargestDigits / 10) return kNumberTooLarge;
        digits = digits * 10 + (c - '0');
    }
    if (digitCount == 0) return kNotANumber;
    exponent += heldZeros;
    if (at < length && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        const bool below = at < length && text[at] == '-';
        if (at < length && (text[at] == '-' || text[at] == '+')) ++at;
        int64_t power = 0;
        int count = 0;
        if (!readDigits(text, length, &at, &power, &count) || power > 1000) return kNumberTooLarge;
        if (count == 0) return kNotANumber;
        exponent += static_cast<int>(below ? -power : power);
    }
    if (at != length) return kNotANumber;
    if (digits == 0) return makeRational(false, 0, 1, out) ? kNumberRead : kNumberTooLarge;
    for (; exponent > 0; --exponent) {
        if (digits > kLargestNumerator / 10) return kNumberTooLarge;
        digits *= 10;
    }
    // digits / 10^-exponent: the twos and fives of the power that digits
    // cancels are left out before the power is formed.
    int twos = -exponent;
    int fives = -exponent;
    for (; twos > 0 && digits % 2 == 0; --twos) digits /= 2;
    for (; fives > 0 && digits % 5 == 0; --fives) digits /= 5;
    int64_t denominator = 1;
    for (; twos > 0; --twos) {
        if (denominator > kLargestDenominator) return kNumberTooLarge;
        denominator *= 2;
    }
    for (; fives > 0; --fives) {
        if (denominator > kLargestDenominator) return kNumberTooLarge;
        denominator *= 5;
    }
    return makeRational(negative, digits, denominator, out) ? kNumberRead : kNumberTooLarge;
}

// A number as Gambit writes them: a decimal, or a fraction of two whole
// numbers ("3/2", "-7/4").
NumberStatus readNumber(const Token* t, Rational* out) {
    const char* text = t->text;
    const int length = t->length;
    int at = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (length > 0 && (text[0] == '-' || text[0] == '+')) ++at;
    const char* slash = static_cast<const char*>(std::memchr(text, '/', length));
    if (slash == nullptr) return readDecimal(text, length, at, negative, out);
    const int slashAt = static_cast<int>(slash - text);
    int64_t numerator = 0;
    int64_t denominator = 0;
    int count = 0;
    int denominatorCount = 0;
    const bool fits = readDigits(text, slashAt, &at, &numerator, &count);
    if (at != slashAt || count == 0) return kNotANumber;
    at = slashAt + 1;
    const bool denominatorFits = readDigits(text, length, &at, &denominator, &denominatorCount);
    if (at != length || denominatorCount == 0 || denominator == 0) return kNotANumber;
    if (!fits || !denominatorFits) return kNumberTooLarge;
    return makeRational(negative, numerator, denominator, out) ? kNumberRead : kNumberTooLarge;
}

// The current token as a number, taken.
bool takeNumber(Reading* r, const char* expected, Rational* out) {
    if (r->token.kind != kNumber) return failFound(r, expected);
    char shown[40];
    switch (readNumber(&r->token, out)) {
        case kNumberRead:
            advance(r);
            return true;
        case kNotANumber:
            return fail(r->problem, r->token.line, "%s is not a number",
                        describe(&r->token, shown, sizeof shown));
        case kNumberTooLarge:
            break;
    }
    return fail(r->problem, r->token.line, "%s has more digits than the program reads",
                describe(&r->token, shown, sizeof shown));
}

// The current token as a whole number, taken.
bool takeWholeNumber(Reading* r, const char* expected, int64_t* out) {
    const Token t = r->token;
    Rational value = {0, 1};
    if (!takeNumber(r, expected, &value)) return false;
    if (value.denominator != 1) {
        char shown[40];
        return fail(r->problem, t.line, "expected %s, found %s", expected,
                    describe(&t, shown, sizeof shown));
    }
    *out = value.numerator;
    return true;
}

bool takeOpen(Reading* r, const char* expected) {
    if (r->token.kind != kOpen) return failFound(r, expected);
    advance(r);
    return true;
}

// "NFG 1 R" (or the older "NFG 1 D") and the title.
bool readHeader(Reading* r) {
    if (r->token.kind != kWord || !isWord(&r->token, "NFG")) {
        return failFound(r, "NFG, as a Gambit strategic game file begins");
    }
    advance(r);
    const char* const kVersion[] = {"1", "R"};
    for (const char* expected : kVersion) {
        const Token t = r->token;
        if (t.kind != kNumber && t.kind != kWord) return failFound(r, "the version, 1 R");
        if (!isWord(&t, expected) && !(expected[0] == 'R' && isWord(&t, "D"))) {
            char shown[40];
            return fail(r->problem, t.line,
                        "unknown version %s: the program reads NFG 1 R and NFG 1 D",
                        describe(&t, shown, sizeof shown));
        }
        advance(r);
    }
    if (r->token.kind != kString) return failFound(r, "the game's title in quotes");
    advance(r);
    return true;
}

// A player's name as one answer: a blank as '_', cut to the room of a
// name without splitting a UTF-8 character. Refused when empty or when it
// holds a control character (C0, DEL, or C1 written in UTF-8).
bool takeName(Reading* r, int player, char* out) {
    const Token t = r->token;
    char name[kNameCapacity + 1];
    int length = 0;
    unsigned char previous = 0;
    for (int i = 0; i < t.length; ++i) {
        if (t.text[i] == '\\' && i + 1 < t.length) ++i;
        const unsigned char c = static_cast<unsigned char>(t.text[i]);
        const bool c1 = previous == 0xC2 && c >= 0x80 && c <= 0x9F;
        if (c < 0x20 || c == 0x7F || c1) {
            return fail(r->problem, t.line, "player %d's name holds a control character", player);
        }
        if (length < kNameCapacity) name[length++] = c == ' ' ? '_' : static_cast<char>(c);
        previous = c;
    }
    if (length == 0) return fail(r->problem, t.line, "player %d's name is empty", player);
    int cut = length;
    if (length == kNameCapacity) {
        cut = kNameCapacity - 1;
        while (cut > 0 && (name[cut] & 0xC0) == 0x80) --cut;
        if (cut == 0) cut = kNameCapacity - 1;  // not UTF-8: cut where the room ends
    }
    std::memcpy(out, name, cut);
    out[cut] = '\0';
    advance(r);
    return true;
}

// { "name 1" "name 2" }
bool readPlayers(Reading* r, TypedGame* game) {
    const int line = r->token.line;
    if (!takeOpen(r, "the list of players")) return false;
    int count = 0;
    for (; r->token.kind != kClose; ++count) {
        if (r->token.kind != kString) return failFound(r, "a player's name in quotes");
        if (count < kPlayers) {
            char* name = count == 0 ? game->playerOneName : game->playerTwoName;
            if (!takeName(r, count + 1, name)) return false;
        } else {
            advance(r);
        }
    }
    advance(r);
    if (count != kPlayers) {
        return fail(r->problem, line, "the game has %d player%s: the program solves games of two",
                    count, plural(count));
    }
    return true;
}

bool checkStrategyCount(Reading* r, int line, int player, int64_t count) {
    if (count < 1 || count > kMaxStrategies) {
        char shown[24];
        formatInteger(count, shown);
        return fail(r->problem, line, "player %d has %s strategies: the program takes 1 to %d",
                    player, shown, kMaxStrategies);
    }
    (player == 1 ? r->rowCount : r->columnCount) = static_cast<int>(count);
    return true;
}

bool checkListedPlayers(Reading* r, int line, int players) {
    if (players == kPlayers) return true;
    return fail(r->problem, line, "the list of strategies is for %d player%s, not for the game's 2",
                players, plural(players));
}

// { m n }
bool readStrategyCounts(Reading* r, int line) {
    int players = 0;
    for (; r->token.kind != kClose; ++players) {
        const int at = r->token.line;
        int64_t count = 0;
        if (!takeWholeNumber(r, "a number of strategies", &count)) return false;
        if (players < kPlayers && !checkStrategyCount(r, at, players + 1, count)) return false;
    }
    advance(r);
    return checkListedPlayers(r, line, players);
}

// { { "label" ... } { "label" ... } }
bool readStrategyLabels(Reading* r, int line) {
    int players = 0;
    for (; r->token.kind != kClose; ++players) {
        const int at = r->token.line;
        if (!takeOpen(r, "a player's list of strategies")) return false;
        int count = 0;
        for (; r->token.kind != kClose; ++count) {
            if (r->token.kind != kString) return failFound(r, "a strategy's label in quotes");
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
    if (!takeOpen(r, "the players' strategies")) return false;
    if (r->token.kind == kNumber) return readStrategyCounts(r, line);
    if (r->token.kind == kOpen) return readStrategyLabels(r, line);
    return failFound(r, "the numbers of strategies or their labels");
}

int cellCount(const Reading* r) { return r->rowCount * r->columnCount; }

// Cell t of the flat lists: player 1's strategy changes fastest.
Cell* cellAt(Reading* r, int t) { return &r->cells[t % r->rowCount][t / r->rowCount]; }

bool checkNothingAfter(Reading* r, const char* what, int needed) {
    if (r->token.kind == kNumber) {
        return fail(r->problem, r->token.line, "too many %s: the game needs %d", what, needed);
    }
    if (r->token.kind != kEnd) return failFound(r, "the end of the file");
    return true;
}

bool failTooFew(Reading* r, const char* what, int read, int needed) {
    return fail(r->problem, lineOfToken(r), "too few %s: %d of the %d the game needs", what, read,
                needed);
}

// The flat list of payoffs: each cell's, player by player.
bool readPayoffVersion(Reading* r) {
    const int needed = cellCount(r) * kPlayers;
    for (int read = 0; read < needed; ++read) {
        if (r->token.kind == kEnd) return failTooFew(r, "payoffs", read, needed);
        Cell* cell = cellAt(r, read / kPlayers);
        cell->line = r->token.line;
        if (!takeNumber(r, "a payoff", &cell->payoffs[read % kPlayers])) return false;
    }
    return checkNothingAfter(r, "payoffs", needed);
}

// { "name" 1, -1 }: the payoffs, commas between them or not.
bool readOutcome(Reading* r, int number, Rational payoffs[kPlayers]) {
    const int line = r->token.line;
    if (!takeOpen(r, "an outcome in braces")) return false;
    if (r->token.kind != kString) return failFound(r, "the outcome's name in quotes");
    advance(r);
    int count = 0;
    for (; r->token.kind != kClose; ++count) {
        Rational payoff = {0, 1};
        if (!takeNumber(r, "a payoff", &payoff)) return false;
        if (count < kPlayers) payoffs[count] = payoff;
        if (r->token.kind == kComma) advance(r);
    }
    advance(r);
    if (count != kPlayers) {
        return fail(r->problem, line,
                    "outcome %d has %d payoffs: it needs one for each of the 2 "
                    "players",
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
    while (r->token.kind != kClose) {
        if (!readOutcome(r, outcomes + 1, payoffs)) return false;
        ++outcomes;
    }
    advance(r);
    int numbers[kMaxStrategies * kMaxStrategies];
    const int needed = cellCount(r);
    for (int read = 0; read < needed; ++read) {
        if (r->token.kind == kEnd) return failTooFew(r, "outcome numbers", read, needed);
        const Token t = r->token;
        int64_t number = 0;
        char shown[40];
        if (!takeWholeNumber(r, "an outcome number", &number)) return false;
        if (number < 0 || number > outcomes) {
            return fail(r->problem, t.line, "outcome number %s names no outcome: there are %d",
                        describe(&t, shown, sizeof shown), outcomes);
        }
        numbers[read] = static_cast<int>(number);
        *cellAt(r, read) = Cell{{{0, 1}, {0, 1}}, t.line};
    }
    if (!checkNothingAfter(r, "outcome numbers", needed)) return false;

    Reading again = *r;
    again.scanner = listStart;
    again.token = listToken;
    advance(&again);
    for (int outcome = 1; outcome <= outcomes; ++outcome) {
        const int line = again.token.line;
        readOutcome(&again, outcome, payoffs);  // read once already, without a fault
        for (int t = 0; t < needed; ++t) {
            if (numbers[t] == outcome) *cellAt(r, t) = Cell{{payoffs[0], payoffs[1]}, line};
        }
    }
    return true;
}

// "3" or "-3/2" (48 bytes hold any).
void formatRational(Rational value, char* out) {
    formatInteger(value.numerator, out);
    if (value.denominator == 1) return;
    const int length = static_cast<int>(std::strlen(out));
    out[length] = '/';
    formatInteger(value.denominator, out + length + 1);
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
            return fail(r->problem, cell->line,
                        "player 1's payoff at strategies %d and %d is %s: the payoffs must be "
                        "whole numbers: scale the game first",
                        i + 1, j + 1, shown);
        }
        if (payoff.numerator < -kLargestPayoff || payoff.numerator > kLargestPayoff) {
            return fail(r->problem, cell->line,
                        "player 1's payoff at strategies %d and %d is %s: the program takes "
                        "payoffs from %d to %d",
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
            return fail(r->problem, cell->line,
                        "player 2's payoff is not the negative of player 1's at strategies %d and "
                        "%d: the program solves zero-sum games",
                        i, j);
        }
        char here[48];
        char elsewhere[48];
        formatRational(sumOf(cell), here);
        formatRational(sum, elsewhere);
        return fail(r->problem, cell->line,
                    "the payoffs at strategies %d and %d add up to %s, elsewhere to %s: the "
                    "program solves zero-sum and constant-sum games",
                    i, j, here, elsewhere);
    }
    return true;
}

}  // namespace

bool startsAsNfg(const char* bytes, int length) {
    int at = 0;
    while (at < length && isBlank(bytes[at])) ++at;
    if (length - at < 3 || std::memcmp(bytes + at, "NFG", 3) != 0) return false;
    return length - at == 3 || isBlank(bytes[at + 3]);
}

bool readNfgText(const char* bytes, int length, TypedGame* game, NfgProblem* problem) {
    std::memset(game, 0, sizeof *game);
    if (!checkStringsAndBraces(bytes, length, problem)) return false;
    Reading r = {};
    r.scanner = Scanner{bytes, length, 0, 1};
    r.problem = problem;
    r.token.line = 1;  // an empty file ends on its first line
    advance(&r);
    if (!readHeader(&r) || !readPlayers(&r, game) || !readStrategies(&r)) return false;
    if (r.token.kind == kString) advance(&r);  // the comment
    const bool read = r.token.kind == kOpen ? readOutcomeVersion(&r) : readPayoffVersion(&r);
    if (!read || !takeMatrix(&r, game) || !checkConstantSum(&r)) return false;
    game->rowCount = r.rowCount;
    game->columnCount = r.columnCount;
    return true;
}
