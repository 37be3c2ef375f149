#include "console/key_bytes.h"

#include "console/key_codes.h"

namespace {

constexpr int kEsc = 27;
constexpr int kWaitForever = -1;

bool isIntroducer(int byte) { return byte == '[' || byte == 'O'; }

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

// Parameter and intermediate bytes up to the final byte. A sequence that
// mixes the two up is still taken up to its final byte, so that none of
// it is left over to be read as keys. A byte that cannot continue the
// sequence ends it and starts the next key.
void readSequenceBody(ByteInput* in, KeyBytes* key, int byte) {
    while (isParameterByte(byte) || isIntermediateByte(byte)) {
        append(key, byte);
        byte = nextByte(in, kEscapeWaitMs);
    }
    if (isFinalByte(byte)) {
        append(key, byte);
    } else {
        keepByte(in, byte);
    }
}

// A sequence from its introducer on; the introducer is in key already.
void readSequence(ByteInput* in, KeyBytes* key, int introducer) {
    const int byte = nextByte(in, kEscapeWaitMs);
    if (introducer == '[' && byte == '[') {  // the Linux console: ESC [ [ and one final byte
        append(key, byte);
        const int final = nextByte(in, kEscapeWaitMs);
        if (isFinalByte(final)) {
            append(key, final);
        } else {
            keepByte(in, final);
        }
        return;
    }
    readSequenceBody(in, key, byte);
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
    if (isIntroducer(byte)) {
        append(key, kEsc);
        append(key, byte);
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
    } else if (isIntroducer(byte)) {
        append(key, byte);
        readSequence(in, key, byte);
    } else if (hasAltRow(byte)) {
        append(key, byte);
    } else {
        keepByte(in, byte);
    }
}

}  // namespace

bool readKeyBytes(ByteInput* in, KeyBytes* key) {
    key->length = 0;
    key->overlong = false;
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
