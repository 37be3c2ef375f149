#include "console/key_decoder.h"

#include <cstring>

#include "console/text_format.h"

namespace {

constexpr int kEsc = 27;

// The modifier parameter m is 1 + the modifier bits; 8 is Shift+Alt+Ctrl.
constexpr int kHighestModifierParameter = 8;

// Numbers in a sequence stop growing here; none of ours is this large,
// and a runaway parameter cannot overflow.
constexpr int kParameterCap = 1000;

// A sequence as the table writes it: the bytes after its Esc, without the
// modifier parameter. Room for the longest that can match.
constexpr int kMaxFormLength = 8;

// A sequence that names a key, with the modifiers it stands for itself
// (rxvt marks Shift and Ctrl in its last byte instead of a parameter).
struct SequenceKey {
    const char* form;
    ExtendedKey key;
    int modifiers;
};

constexpr int kShiftCtrl = kShift | kCtrl;

// Every sequence of the keys without a character, by the terminals that
// send it: x = xterm and its kin, L = the Linux console, r = rxvt.
// clang-format off
const SequenceKey kSequences[] = {
    // Cursor keys, and F1-F4 as xterm sends them with a modifier.
    {"[A", kUp, 0}, {"[B", kDown, 0}, {"[C", kRight, 0}, {"[D", kLeft, 0},
    {"[H", kHome, 0}, {"[F", kEnd, 0},
    {"[P", kF1, 0}, {"[Q", kF2, 0}, {"[R", kF3, 0}, {"[S", kF4, 0},
    {"OA", kUp, 0}, {"OB", kDown, 0}, {"OC", kRight, 0}, {"OD", kLeft, 0},
    {"OH", kHome, 0}, {"OF", kEnd, 0},
    {"OP", kF1, 0}, {"OQ", kF2, 0}, {"OR", kF3, 0}, {"OS", kF4, 0},
    {"[Z", kTab, kShift},
    // r: Shift turns an arrow's final to lower case, Ctrl too after SS3.
    {"[a", kUp, kShift}, {"[b", kDown, kShift}, {"[c", kRight, kShift}, {"[d", kLeft, kShift},
    {"Oa", kUp, kCtrl}, {"Ob", kDown, kCtrl}, {"Oc", kRight, kCtrl}, {"Od", kLeft, kCtrl},
    // L: F1-F5.
    {"[[A", kF1, 0}, {"[[B", kF2, 0}, {"[[C", kF3, 0}, {"[[D", kF4, 0}, {"[[E", kF5, 0},
    // Editing keys; 1 and 4 as VT220 (and L) send Home and End, 7 and 8 as r.
    {"[1~", kHome, 0}, {"[4~", kEnd, 0},
    {"[2~", kInsert, 0}, {"[2$", kInsert, kShift}, {"[2^", kInsert, kCtrl}, {"[2@", kInsert, kShiftCtrl},
    {"[3~", kDelete, 0}, {"[3$", kDelete, kShift}, {"[3^", kDelete, kCtrl}, {"[3@", kDelete, kShiftCtrl},
    {"[5~", kPageUp, 0}, {"[5$", kPageUp, kShift}, {"[5^", kPageUp, kCtrl}, {"[5@", kPageUp, kShiftCtrl},
    {"[6~", kPageDown, 0}, {"[6$", kPageDown, kShift}, {"[6^", kPageDown, kCtrl},
    {"[6@", kPageDown, kShiftCtrl},
    {"[7~", kHome, 0}, {"[7$", kHome, kShift}, {"[7^", kHome, kCtrl}, {"[7@", kHome, kShiftCtrl},
    {"[8~", kEnd, 0}, {"[8$", kEnd, kShift}, {"[8^", kEnd, kCtrl}, {"[8@", kEnd, kShiftCtrl},
    // Function keys; r marks Ctrl with ^.
    {"[11~", kF1, 0}, {"[12~", kF2, 0}, {"[13~", kF3, 0}, {"[14~", kF4, 0}, {"[15~", kF5, 0},
    {"[17~", kF6, 0}, {"[18~", kF7, 0}, {"[19~", kF8, 0}, {"[20~", kF9, 0}, {"[21~", kF10, 0},
    {"[11^", kF1, kCtrl}, {"[12^", kF2, kCtrl}, {"[13^", kF3, kCtrl}, {"[14^", kF4, kCtrl},
    {"[15^", kF5, kCtrl}, {"[17^", kF6, kCtrl}, {"[18^", kF7, kCtrl}, {"[19^", kF8, kCtrl},
    {"[20^", kF9, kCtrl}, {"[21^", kF10, kCtrl},
    {"[23~", kF11, 0}, {"[23$", kF11, kShift}, {"[23^", kF11, kCtrl}, {"[23@", kF11, kShiftCtrl},
    {"[24~", kF12, 0}, {"[24$", kF12, kShift}, {"[24^", kF12, kCtrl}, {"[24@", kF12, kShiftCtrl},
    // L and r give Shift+F3 ... F10 numbers of their own (their Shift+F1
    // and F2 send 23 and 24, and read as F11 and F12).
    {"[25~", kF3, kShift}, {"[26~", kF4, kShift}, {"[28~", kF5, kShift}, {"[29~", kF6, kShift},
    {"[31~", kF7, kShift}, {"[32~", kF8, kShift}, {"[33~", kF9, kShift}, {"[34~", kF10, kShift},
    {"[25^", kF3, kShiftCtrl}, {"[26^", kF4, kShiftCtrl}, {"[28^", kF5, kShiftCtrl},
    {"[29^", kF6, kShiftCtrl}, {"[31^", kF7, kShiftCtrl}, {"[32^", kF8, kShiftCtrl},
    {"[33^", kF9, kShiftCtrl}, {"[34^", kF10, kShiftCtrl},
};
// clang-format on

// The parameters of a sequence: at most two fields of digits, the key
// number and the modifier.
struct Parameters {
    int values[2];
    bool present[2];
    int count;     // fields seen, empty ones included
    bool foreign;  // something none of our keys sends
};

bool isDigit(int byte) { return byte >= '0' && byte <= '9'; }
bool isLetter(int byte) { return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z'); }

void addParameterByte(Parameters* p, int byte) {
    if (p->count == 0) p->count = 1;
    const int field = p->count - 1;
    if (byte == ';') {
        if (p->count == 2) {
            p->foreign = true;
        } else {
            ++p->count;
        }
    } else if (isDigit(byte)) {
        if (p->values[field] < kParameterCap)
            p->values[field] = p->values[field] * 10 + (byte - '0');
        p->present[field] = true;
    } else {
        p->foreign = true;  // private markers and sub-parameters
    }
}

// A small text to build a table form in; anything beyond its room makes
// a form that matches no row.
struct Form {
    char text[kMaxFormLength + 2];
    int length;
};

void addToForm(Form* form, char c) {
    if (form->length <= kMaxFormLength) form->text[form->length++] = c;
    form->text[form->length] = '\0';
}

void addNumberToForm(Form* form, int number) {
    char digits[12];
    formatInteger(number, digits);
    for (int i = 0; digits[i] != '\0'; ++i) addToForm(form, digits[i]);
}

// Which parameter is the key number and which the modifier (-1 and 0 for
// none). The modifier is the last parameter; a key with a letter for its
// final byte has no number of its own but 1 (CSI 1;m X), and alone its
// one parameter is the modifier.
void numberAndModifier(const Parameters& p, bool letterFinal, int* number, int* modifier) {
    *number = -1;
    *modifier = 0;
    if (p.count == 2) {
        if (p.present[0]) *number = p.values[0];
        *modifier = p.values[1];
    } else if (p.count == 1 && letterFinal) {
        *modifier = p.values[0];
    } else if (p.count == 1 && p.present[0]) {
        *number = p.values[0];
    }
    if (letterFinal && *number == 1) *number = -1;
}

// The table form of a sequence (its bytes after the Esc, from the
// introducer on) and its modifier parameter.
bool formOf(const unsigned char* bytes, int length, Form* form, int* modifierParameter) {
    *form = Form{{0}, 0};
    *modifierParameter = 0;
    if (length >= 2 && bytes[0] == '[' && bytes[1] == '[') {  // L: no parameters
        for (int i = 0; i < length; ++i) addToForm(form, static_cast<char>(bytes[i]));
        return true;
    }
    int i = 0;
    addToForm(form, static_cast<char>(bytes[i++]));  // the introducer
    Parameters p = {{0, 0}, {false, false}, 0, false};
    for (; i < length && isParameterByte(bytes[i]); ++i) addParameterByte(&p, bytes[i]);
    const int intermediates = i;
    while (i < length && isIntermediateByte(bytes[i])) ++i;
    // What is left is the final byte, or a parameter byte after an
    // intermediate, which none of our keys sends.
    const int finalByte = i < length ? bytes[i] : 0;
    if (p.foreign || (finalByte != 0 && (!isFinalByte(finalByte) || i + 1 != length))) return false;

    int number = -1;
    numberAndModifier(p, isLetter(finalByte), &number, modifierParameter);
    if (number >= 0) addNumberToForm(form, number);
    for (int j = intermediates; j < i; ++j) addToForm(form, static_cast<char>(bytes[j]));
    if (finalByte != 0) addToForm(form, static_cast<char>(finalByte));
    return true;
}

// The modifiers of parameter m; an empty parameter (0) and 1 mean none.
// False for a modifier beyond Shift, Alt and Ctrl (Meta, Super...).
bool modifiersOfParameter(int m, int* modifiers) {
    if (m > kHighestModifierParameter) return false;
    *modifiers = m > 1 ? m - 1 : 0;
    return true;
}

bool storeCodes(ExtendedKey key, int modifiers, KeyPress* press) {
    press->codeCount = extendedKeyCodes(key, modifiers, press->codes);
    return press->codeCount > 0;
}

// ESC [ ..., ESC O ..., and the same with one more Esc in front for Alt.
bool sequenceKey(const KeyBytes& b, KeyPress* press) {
    const bool alt = b.bytes[1] == kEsc;
    const int from = alt ? 2 : 1;
    Form form;
    int m = 0;
    int modifiers = 0;
    if (!formOf(b.bytes + from, b.length - from, &form, &m) ||
        !modifiersOfParameter(m, &modifiers)) {
        return false;
    }
    if (alt) modifiers |= kAlt;
    for (const SequenceKey& row : kSequences) {
        if (std::strcmp(row.form, form.text) == 0)
            return storeCodes(row.key, modifiers | row.modifiers, press);
    }
    return false;
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
    return sequenceKey(b, press);
}

bool decodeKey(ByteInput* input, KeyPress* key) {
    KeyBytes bytes;
    while (readKeyBytes(input, &bytes)) {
        if (keyOfBytes(bytes, key)) return true;
    }
    return false;
}
