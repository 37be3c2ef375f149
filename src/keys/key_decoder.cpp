#include "keys/key_decoder.h"

#include <cstring>

#include "keys/key_sequences.h"

namespace {

constexpr int kEsc = 27;

bool storeCodes(ExtendedKey key, int modifiers, KeyPress* press) {
    press->codeCount = extendedKeyCodes(key, modifiers, press->codes);
    return press->codeCount > 0;
}

// A character of several bytes, already checked by the grammar: its
// number when that is below 256 (as a Latin-1 console gives it), '?'
// otherwise (as a console gives a character its code page lacks).
void characterKey(const KeyBytes& b, KeyPress* press) {
    static const int leadBits[] = {0, 0, 0x1F, 0x0F, 0x07};
    int codePoint = b.bytes[0] & leadBits[b.length];
    for (int i = 1; i < b.length; ++i) codePoint = codePoint << 6 | (b.bytes[i] & 0x3F);
    press->codes[0] = codePoint < 256 ? codePoint : '?';
    press->codeCount = 1;
    // The C1 control codes (U+0080-U+009F) are echoed in caret form, not
    // sent back to the terminal.
    if (codePoint >= 0xA0) {
        std::memcpy(press->text, b.bytes, static_cast<size_t>(b.length));
        press->textLength = b.length;
    }
}

}  // namespace

bool keyOfBytes(const KeyBytes& b, KeyPress* press) {
    *press = KeyPress{{0, 0}, 0, {0}, 0};
    if (b.overlong || b.length == 0) return false;
    if (b.length == 1) {
        press->codes[0] = b.bytes[0];
        press->codeCount = 1;
        return true;
    }
    if (b.bytes[0] != kEsc) {
        characterKey(b, press);
        return true;
    }
    if (b.length == 2) {  // Alt with a character (ESC O alone is Alt+O)
        press->codeCount = altCharacterCodes(b.bytes[1], press->codes);
        return press->codeCount > 0;
    }
    ExtendedKey key = kUp;
    int modifiers = 0;
    return sequenceKey(b.sequence, &key, &modifiers) && storeCodes(key, modifiers, press);
}

bool decodeKey(ByteInput* input, KeyPress* key) {
    KeyBytes bytes;
    while (readKeyBytes(input, &bytes)) {
        if (keyOfBytes(bytes, key)) return true;
    }
    return false;
}
