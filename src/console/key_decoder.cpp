#include "console/key_decoder.h"

#include "console/key_codes.h"

namespace {

constexpr int kEsc = 27;

// What the decoding steps return beside a count of codes stored.
constexpr int kReaderFailed = 0;  // the reader failed; decodeKey gives up
constexpr int kNoKey = -1;        // the bytes formed no key and were dropped

// The modifier parameter m is 1 + the modifier bits; 8 is Shift+Alt+Ctrl.
constexpr int kHighestModifierParameter = 8;

// Numbers in a sequence stop growing here; none of ours is this large,
// and a runaway parameter cannot overflow.
constexpr int kParameterCap = 1000;

// No key of ours takes more than a key number and a modifier.
constexpr int kMaxParameters = 2;

// A key named by a sequence, with the modifiers read so far.
struct KeyPress {
    ExtendedKey key;
    int modifiers;
};

// A final byte that names a key, with the modifiers it stands for itself.
struct FinalKey {
    int finalByte;
    ExtendedKey key;
    int modifiers;
};

const FinalKey kCsiFinals[] = {
    {'A', kUp, 0}, {'B', kDown, 0}, {'C', kRight, 0}, {'D', kLeft, 0},
    {'H', kHome, 0}, {'F', kEnd, 0},
    {'P', kF1, 0}, {'Q', kF2, 0}, {'R', kF3, 0}, {'S', kF4, 0},
    {'Z', kTab, kShift},
    // rxvt: Shift turns an arrow's final to lower case.
    {'a', kUp, kShift}, {'b', kDown, kShift}, {'c', kRight, kShift}, {'d', kLeft, kShift},
};

const FinalKey kSs3Finals[] = {
    {'A', kUp, 0}, {'B', kDown, 0}, {'C', kRight, 0}, {'D', kLeft, 0},
    {'H', kHome, 0}, {'F', kEnd, 0},
    {'P', kF1, 0}, {'Q', kF2, 0}, {'R', kF3, 0}, {'S', kF4, 0},
    // rxvt: Ctrl with an arrow.
    {'a', kUp, kCtrl}, {'b', kDown, kCtrl}, {'c', kRight, kCtrl}, {'d', kLeft, kCtrl},
};

// The Linux console's F1-F5: ESC [ [ and a letter.
const FinalKey kLinuxFinals[] = {
    {'A', kF1, 0}, {'B', kF2, 0}, {'C', kF3, 0}, {'D', kF4, 0}, {'E', kF5, 0},
};

// The key number in front of ~ (or of rxvt's $, ^ and @).
struct NumberedKey {
    int number;
    ExtendedKey key;
    int modifiers;
};

const NumberedKey kNumberedKeys[] = {
    {1, kHome, 0}, {2, kInsert, 0}, {3, kDelete, 0}, {4, kEnd, 0},
    {5, kPageUp, 0}, {6, kPageDown, 0},
    {7, kHome, 0}, {8, kEnd, 0},  // rxvt
    {11, kF1, 0}, {12, kF2, 0}, {13, kF3, 0}, {14, kF4, 0}, {15, kF5, 0},
    {17, kF6, 0}, {18, kF7, 0}, {19, kF8, 0}, {20, kF9, 0}, {21, kF10, 0},
    {23, kF11, 0}, {24, kF12, 0},
    // The Linux console and rxvt give Shift+F3 ... F10 numbers of their own.
    {25, kF3, kShift}, {26, kF4, kShift}, {28, kF5, kShift}, {29, kF6, kShift},
    {31, kF7, kShift}, {32, kF8, kShift}, {33, kF9, kShift}, {34, kF10, kShift},
};

// The final bytes after a key number. rxvt marks Shift and Ctrl in the
// final byte instead of a parameter.
struct NumberFinal {
    int finalByte;
    int modifiers;
};

const NumberFinal kNumberFinals[] = {
    {'~', 0}, {'$', kShift}, {'^', kCtrl}, {'@', kShift | kCtrl},
};

// The bytes of one key press, and the Esc of the next key when a broken
// sequence ran into it.
struct Input {
    ByteReader reader;
    void* context;
    bool escapeRead;
};

// What came of reading a sequence.
enum Outcome { kDecoded, kDropped, kFailed };

// Parameters, intermediates and final byte of a CSI sequence.
struct Csi {
    int parameters[kMaxParameters];
    int parameterCount;  // fields seen, empty ones included
    bool foreign;        // holds something none of our keys use
    int finalByte;
};

bool isDigit(int byte) { return byte >= '0' && byte <= '9'; }
bool isParameterByte(int byte) { return byte >= 0x30 && byte <= 0x3F; }
bool isIntermediateByte(int byte) { return byte >= 0x20 && byte <= 0x2F; }
bool isFinalByte(int byte) { return byte >= 0x40 && byte <= 0x7E; }

// rxvt ends a Shift key with '$', which is an intermediate byte to the
// grammar; nothing follows it, so it has to count as the final byte.
bool endsCsi(int byte) { return isFinalByte(byte) || byte == '$'; }

// The next byte of a sequence; a terminal sends a sequence in one go, so
// a longer pause means it was cut off (or the Esc was a key of its own).
int sequenceByte(Input* in) { return in->reader(in->context, kEscapeWaitMs); }

// A byte that cannot continue the sequence ends it, and the sequence is
// dropped with it; an Esc is kept as the start of the next key.
Outcome endBrokenSequence(Input* in, int byte) {
    if (byte == kByteFailure) return kFailed;
    if (byte == kEsc) in->escapeRead = true;
    return kDropped;
}

template <int N>
bool findFinalKey(const FinalKey (&table)[N], int finalByte, KeyPress* press) {
    for (const FinalKey& entry : table) {
        if (entry.finalByte == finalByte) {
            *press = KeyPress{entry.key, entry.modifiers};
            return true;
        }
    }
    return false;
}

bool findNumberedKey(int number, KeyPress* press) {
    for (const NumberedKey& entry : kNumberedKeys) {
        if (entry.number == number) {
            *press = KeyPress{entry.key, entry.modifiers};
            return true;
        }
    }
    return false;
}

bool findNumberFinal(int finalByte, int* modifiers) {
    for (const NumberFinal& entry : kNumberFinals) {
        if (entry.finalByte == finalByte) {
            *modifiers = entry.modifiers;
            return true;
        }
    }
    return false;
}

// Adds the modifiers of parameter m; an empty parameter (0) and 1 mean
// none. False for a modifier beyond Shift, Alt and Ctrl (Meta, Super...).
bool addModifierParameter(int m, KeyPress* press) {
    if (m > kHighestModifierParameter) return false;
    if (m > 1) press->modifiers |= m - 1;
    return true;
}

int appendDigit(int value, int byte) {
    return value < kParameterCap ? value * 10 + (byte - '0') : value;
}

void addParameterByte(Csi* csi, int byte) {
    if (csi->parameterCount == 0) csi->parameterCount = 1;
    if (byte == ';') {
        if (csi->parameterCount == kMaxParameters) csi->foreign = true;
        else ++csi->parameterCount;
    } else if (isDigit(byte)) {
        int* value = &csi->parameters[csi->parameterCount - 1];
        *value = appendDigit(*value, byte);
    } else {
        csi->foreign = true;  // private markers and sub-parameters
    }
}

// Parameter bytes come before intermediate bytes; a sequence that mixes
// them up is still taken up to its final byte, so that none of it is left
// over to be read as keys.
void addCsiByte(Csi* csi, int byte) {
    if (isIntermediateByte(byte)) csi->foreign = true;  // none of our keys has one
    else addParameterByte(csi, byte);
}

bool continuesSequence(int byte) { return isParameterByte(byte) || isIntermediateByte(byte); }

// Reads a CSI sequence by the grammar, from its first byte after ESC [.
Outcome readCsi(Input* in, int byte, Csi* csi) {
    *csi = Csi{{0, 0}, 0, false, 0};
    for (; continuesSequence(byte) && !endsCsi(byte); byte = sequenceByte(in)) addCsiByte(csi, byte);
    if (!endsCsi(byte)) return endBrokenSequence(in, byte);
    csi->finalByte = byte;
    return kDecoded;
}

int lastParameter(const Csi* csi) {
    return csi->parameterCount == 0 ? 0 : csi->parameters[csi->parameterCount - 1];
}

// CSI n ~ and its kin: the key number first, the modifier (if any) last.
bool numberedKeyOfCsi(const Csi* csi, int finalModifiers, KeyPress* press) {
    if (csi->parameterCount == 0 || !findNumberedKey(csi->parameters[0], press)) return false;
    press->modifiers |= finalModifiers;
    return csi->parameterCount == 1 || addModifierParameter(lastParameter(csi), press);
}

bool keyOfCsi(const Csi* csi, KeyPress* press) {
    if (csi->foreign) return false;
    int finalModifiers = 0;
    if (findNumberFinal(csi->finalByte, &finalModifiers)) {
        return numberedKeyOfCsi(csi, finalModifiers, press);
    }
    return findFinalKey(kCsiFinals, csi->finalByte, press) &&
           addModifierParameter(lastParameter(csi), press);
}

Outcome readCsiKey(Input* in, int byte, KeyPress* press) {
    Csi csi;
    const Outcome outcome = readCsi(in, byte, &csi);
    if (outcome != kDecoded) return outcome;
    return keyOfCsi(&csi, press) ? kDecoded : kDropped;
}

Outcome readLinuxKey(Input* in, KeyPress* press) {
    const int byte = sequenceByte(in);
    if (!isFinalByte(byte)) return endBrokenSequence(in, byte);
    return findFinalKey(kLinuxFinals, byte, press) ? kDecoded : kDropped;
}

// SS3: optional digits (older terminals put the modifier there), then
// one final byte. Other parameter or intermediate bytes are taken up to
// the final byte like in CSI, and make the sequence foreign.
Outcome readSs3Key(Input* in, int byte, KeyPress* press) {
    int modifier = 0;
    bool foreign = false;
    for (; continuesSequence(byte); byte = sequenceByte(in)) {
        if (isDigit(byte)) modifier = appendDigit(modifier, byte);
        else foreign = true;
    }
    if (!isFinalByte(byte)) return endBrokenSequence(in, byte);
    const bool known = !foreign && findFinalKey(kSs3Finals, byte, press) &&
                       addModifierParameter(modifier, press);
    return known ? kDecoded : kDropped;
}

bool isIntroducer(int byte) { return byte == '[' || byte == 'O'; }

// The rest of a sequence after ESC and its introducer ('[' or 'O'), from
// the byte that follows the introducer.
Outcome readSequenceKey(Input* in, int introducer, int byte, KeyPress* press) {
    if (introducer == 'O') return readSs3Key(in, byte, press);
    if (byte == '[') return readLinuxKey(in, press);
    return readCsiKey(in, byte, press);
}

int storeOne(int code, int codes[2]) {
    codes[0] = code;
    return 1;
}

int storeSequenceKey(Outcome outcome, KeyPress press, int codes[2]) {
    if (outcome == kFailed) return kReaderFailed;
    if (outcome == kDropped) return kNoKey;
    const int count = extendedKeyCodes(press.key, press.modifiers, codes);
    return count == 0 ? kNoKey : count;
}

// Alt with a character key: Esc and the character.
int storeAltCharacter(int byte, int codes[2]) {
    const int count = altCharacterCodes(byte, codes);
    return count == 0 ? kNoKey : count;
}

// rxvt sends Alt with a sequence key as one more Esc in front of the
// whole sequence; after that second Esc only a full sequence makes a key.
int decodeAltSequence(Input* in, int codes[2]) {
    const int introducer = sequenceByte(in);
    KeyPress press = {kUp, 0};
    const Outcome outcome = isIntroducer(introducer)
                                ? readSequenceKey(in, introducer, sequenceByte(in), &press)
                                : endBrokenSequence(in, introducer);
    press.modifiers |= kAlt;
    return storeSequenceKey(outcome, press, codes);
}

// Everything after the Esc that starts a key.
int decodeEscape(Input* in, int codes[2]) {
    const int next = sequenceByte(in);
    if (next == kByteFailure) return kReaderFailed;
    if (next == kNoByte) return storeOne(kEsc, codes);
    if (next == kEsc) return decodeAltSequence(in, codes);
    if (!isIntroducer(next)) return storeAltCharacter(next, codes);
    const int byte = sequenceByte(in);
    // ESC O with nothing after it is Alt+O typed with Shift, not SS3.
    if (next == 'O' && byte == kNoByte) return storeAltCharacter(next, codes);
    KeyPress press = {kUp, 0};
    const Outcome outcome = readSequenceKey(in, next, byte, &press);
    return storeSequenceKey(outcome, press, codes);
}

// The byte that starts a key: waits as long as it takes. A reader that
// waits without limit and still brings no byte has none left to give.
int firstByte(Input* in) {
    if (!in->escapeRead) return in->reader(in->context, -1);
    in->escapeRead = false;
    return kEsc;
}

}  // namespace

int decodeKey(ByteReader reader, void* context, int codes[2]) {
    Input in = {reader, context, false};
    for (;;) {
        const int first = firstByte(&in);
        if (first < 0) return kReaderFailed;
        if (first != kEsc) return storeOne(first, codes);
        const int count = decodeEscape(&in, codes);
        if (count != kNoKey) return count;
    }
}
