#include "keys/key_bytes.h"

#include <cstring>

#include "keys/key_codes.h"

namespace {

constexpr int kEsc = 27;
constexpr int kWaitForever = -1;

// A byte kept from an earlier key comes at once; the terminal's own bytes
// are waited for up to timeoutMs.
int nextByte(ByteInput* in, int timeoutMs) {
    if (in->aheadCount > 0) {
        const int byte = in->ahead[0];
        --in->aheadCount;
        for (int i = 0; i < in->aheadCount; ++i) in->ahead[i] = in->ahead[i + 1];
        return byte;
    }
    const int byte = in->reader(in->context, timeoutMs);
    if (byte == kByteFailure) in->failed = true;
    return byte;
}

// Puts bytes back in front of those kept, to start the next key. A key
// reads at most a few bytes past its end, so there is always room.
void keepForNextKey(ByteInput* in, const unsigned char* bytes, int count) {
    if (count <= 0 || in->aheadCount + count > kMaxKeyBytes) return;
    for (int i = in->aheadCount - 1; i >= 0; --i) in->ahead[i + count] = in->ahead[i];
    for (int i = 0; i < count; ++i) in->ahead[i] = bytes[i];
    in->aheadCount += count;
}

void keepByte(ByteInput* in, int byte) {
    if (byte < 0) return;
    const unsigned char kept = static_cast<unsigned char>(byte);
    keepForNextKey(in, &kept, 1);
}

void append(KeyBytes* key, int byte) {
    if (key->length < kMaxKeyBytes) {
        key->bytes[key->length++] = static_cast<unsigned char>(byte);
    } else {
        key->overlong = true;
    }
}

// ---- UTF-8 ---------------------------------------------------------------

// How many bytes follow a lead byte of a valid character; 0 for a byte
// that leads none (ASCII, a continuation byte, C0, C1, F5-FF).
int continuationCount(int lead) {
    if (lead >= 0xC2 && lead <= 0xDF) return 1;
    if (lead >= 0xE0 && lead <= 0xEF) return 2;
    if (lead >= 0xF0 && lead <= 0xF4) return 3;
    return 0;
}

// Whether `byte` may stand at `position` (1, 2 or 3) after `lead`: the
// second byte also rules out overlong forms, surrogates and code points
// beyond U+10FFFF.
bool continuesCharacter(int lead, int position, int byte) {
    int low = 0x80;
    int high = 0xBF;
    if (position == 1) {
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    }
    return byte >= low && byte <= high;
}

// The rest of a character after its lead byte. Bytes that form no valid
// character are keys one by one: the lead alone is this key, and what
// came after it starts the next.
void readCharacterRest(ByteInput* in, KeyBytes* key) {
    const int lead = key->bytes[0];
    const int count = continuationCount(lead);
    for (int position = 1; position <= count; ++position) {
        const int byte = nextByte(in, kEscapeWaitMs);
        if (!continuesCharacter(lead, position, byte)) {
            keepByte(in, byte);
            keepForNextKey(in, key->bytes + 1, key->length - 1);
            key->length = 1;
            return;
        }
        append(key, byte);
    }
}

// ---- Escape sequences ----------------------------------------------------

void addToText(char* text, int room, int byte) {
    int length = 0;
    while (text[length] != '\0') ++length;
    if (length + 1 >= room) return;
    text[length] = static_cast<char>(byte);
    text[length + 1] = '\0';
}

// The introducers of the sequences keys send: CSI, SS3, and the Linux
// console's "[[" for F1-F5. Every longer one extends a shorter one.
const char* const kIntroducers[] = {"[", "O", "[["};

// Compared by hand: inlined into a caller whose text is short, the
// library's strcmp draws a false warning from g++ at -O3.
bool sameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool isIntroducer(const char* text) {
    for (const char* introducer : kIntroducers) {
        if (sameText(introducer, text)) return true;
    }
    return false;
}

// Whether `byte` starts a sequence: some introducer is that byte alone.
bool startsSequence(int byte) {
    const char introducer[2] = {static_cast<char>(byte), '\0'};
    return byte > 0 && isIntroducer(introducer);
}

// Whether the introducer read so far and `byte` make a longer one: "[["
// after "[".
bool extendsIntroducer(const SequenceParts& parts, int byte) {
    const size_t length = std::strlen(parts.introducer);
    if (byte <= 0 || length >= kMaxIntroducerLength) return false;
    char longer[kMaxIntroducerLength + 1];
    std::memcpy(longer, parts.introducer, length);
    longer[length] = static_cast<char>(byte);
    longer[length + 1] = '\0';
    return isIntroducer(longer);
}

bool isDigit(int byte) { return byte >= '0' && byte <= '9'; }

// Whether the sequence ends at `byte`: a final byte, or rxvt's '$' (its
// Shift mark in place of '~') right after a key number, which the grammar
// would take for an intermediate byte. ('^' and '@', its Ctrl marks, are
// final bytes already.)
bool endsSequence(const KeyBytes& key, int byte) {
    if (isFinalByte(byte)) return true;
    const SequenceParts& parts = key.sequence;
    if (byte != '$' || parts.parameters[0] == '\0' || parts.intermediateCount > 0) return false;
    for (const char* p = parts.parameters; *p != '\0'; ++p) {
        if (!isDigit(*p)) return false;
    }
    return true;
}

// A sequence from the first byte of its introducer on: the longest
// introducer there is, parameter bytes, intermediate bytes and the byte
// that ends it. A sequence that mixes parameters and intermediates up is
// still taken up to its end, so that none of it is left over to be read
// as keys. A byte that cannot continue the sequence cuts it off and
// starts the next key.
void readSequence(ByteInput* in, KeyBytes* key, int first) {
    SequenceParts* parts = &key->sequence;
    append(key, first);
    addToText(parts->introducer, sizeof parts->introducer, first);
    int byte = nextByte(in, kEscapeWaitMs);
    while (extendsIntroducer(*parts, byte)) {
        append(key, byte);
        addToText(parts->introducer, sizeof parts->introducer, byte);
        byte = nextByte(in, kEscapeWaitMs);
    }
    while (!endsSequence(*key, byte)) {
        if (!isParameterByte(byte) && !isIntermediateByte(byte)) {
            keepByte(in, byte);
            return;
        }
        append(key, byte);
        if (isParameterByte(byte) && parts->intermediateCount == 0) {
            addToText(parts->parameters, sizeof parts->parameters, byte);
        } else {
            ++parts->intermediateCount;
        }
        byte = nextByte(in, kEscapeWaitMs);
    }
    append(key, byte);
    parts->final = byte;
}

bool hasAltRow(int byte) {
    int codes[2];
    return altCharacterCodes(byte, codes) > 0;
}

// Esc Esc: the start of an Alt sequence when an introducer follows at
// once; otherwise the first Esc is a key of its own and the second one
// starts the next key.
void readAfterSecondEscape(ByteInput* in, KeyBytes* key) {
    const int byte = nextByte(in, kEscapeWaitMs);
    if (startsSequence(byte)) {
        append(key, kEsc);
        key->sequence.alt = true;
        readSequence(in, key, byte);
        return;
    }
    keepByte(in, byte);
    keepByte(in, kEsc);
}

// What follows an Esc. Esc followed at once by a byte that starts no
// sequence and has no Alt row is two keys: Esc, then that byte.
void readAfterEscape(ByteInput* in, KeyBytes* key) {
    const int byte = nextByte(in, kEscapeWaitMs);
    if (byte < 0) return;  // Esc on its own
    if (byte == kEsc) {
        readAfterSecondEscape(in, key);
    } else if (startsSequence(byte)) {
        readSequence(in, key, byte);
    } else if (hasAltRow(byte)) {
        append(key, byte);
    } else {
        keepByte(in, byte);
    }
}

}  // namespace

bool readKeyBytes(ByteInput* in, KeyBytes* key) {
    *key = KeyBytes{};
    in->failed = false;
    const int first = nextByte(in, kWaitForever);
    // A reader that waits without limit and still brings no byte has none
    // left to give.
    if (first < 0) return false;
    append(key, first);
    if (first == kEsc) {
        readAfterEscape(in, key);
    } else {
        readCharacterRest(in, key);
    }
    return !in->failed;
}
