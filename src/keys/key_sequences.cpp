#include "keys/key_sequences.h"

#include <cstring>

namespace {

// The modifier parameter m is 1 + the modifier bits; 8 is Shift+Alt+Ctrl.
constexpr int kHighestModifierParameter = 8;

// Numbers in a sequence stop growing here; none of ours is this large,
// and a runaway parameter cannot overflow.
constexpr int kParameterCap = 1000;

// The introducers, after the sequence's Esc.
constexpr const char* kCsi = "[";
constexpr const char* kSs3 = "O";
constexpr const char* kLinuxCsi = "[[";  // the Linux console's F1-F5

// A row whose sequence has no key number of its own: any parameter it
// has is the modifier (CSI 1;5A, CSI 5A, SS3 5A).
constexpr int kNoNumber = -1;

// A sequence that names a key: its parts, and the modifiers it stands for
// itself (rxvt marks Shift and Ctrl in its final byte instead of a
// parameter). No row has intermediate bytes.
struct SequenceRow {
    const char* introducer;
    int number;  // the first parameter, as 5 in CSI 5;3~, or kNoNumber
    char final;
    ExtendedKey key;
    int modifiers;
};

constexpr int kShiftCtrl = kShift | kCtrl;

// Every sequence of the keys without a character, by the terminals that
// send it: x = xterm and its kin, L = the Linux console, r = rxvt. rxvt's
// finals '$' (Shift), '^' (Ctrl) and '@' (Shift+Ctrl) take the place of
// '~'; the grammar ends a sequence at a '$' after a key number.
// clang-format off
const SequenceRow kSequences[] = {
    // Cursor keys, and F1-F4 as xterm sends them with a modifier.
    {kCsi, kNoNumber, 'A', kUp, 0},     {kCsi, kNoNumber, 'B', kDown, 0},
    {kCsi, kNoNumber, 'C', kRight, 0},  {kCsi, kNoNumber, 'D', kLeft, 0},
    {kCsi, kNoNumber, 'H', kHome, 0},   {kCsi, kNoNumber, 'F', kEnd, 0},
    {kCsi, kNoNumber, 'P', kF1, 0},     {kCsi, kNoNumber, 'Q', kF2, 0},
    {kCsi, kNoNumber, 'R', kF3, 0},     {kCsi, kNoNumber, 'S', kF4, 0},
    {kSs3, kNoNumber, 'A', kUp, 0},     {kSs3, kNoNumber, 'B', kDown, 0},
    {kSs3, kNoNumber, 'C', kRight, 0},  {kSs3, kNoNumber, 'D', kLeft, 0},
    {kSs3, kNoNumber, 'H', kHome, 0},   {kSs3, kNoNumber, 'F', kEnd, 0},
    {kSs3, kNoNumber, 'P', kF1, 0},     {kSs3, kNoNumber, 'Q', kF2, 0},
    {kSs3, kNoNumber, 'R', kF3, 0},     {kSs3, kNoNumber, 'S', kF4, 0},
    {kCsi, kNoNumber, 'Z', kTab, kShift},
    // r: Shift turns an arrow's final to lower case, Ctrl too after SS3.
    {kCsi, kNoNumber, 'a', kUp, kShift},    {kCsi, kNoNumber, 'b', kDown, kShift},
    {kCsi, kNoNumber, 'c', kRight, kShift}, {kCsi, kNoNumber, 'd', kLeft, kShift},
    {kSs3, kNoNumber, 'a', kUp, kCtrl},     {kSs3, kNoNumber, 'b', kDown, kCtrl},
    {kSs3, kNoNumber, 'c', kRight, kCtrl},  {kSs3, kNoNumber, 'd', kLeft, kCtrl},
    // L: F1-F5.
    {kLinuxCsi, kNoNumber, 'A', kF1, 0}, {kLinuxCsi, kNoNumber, 'B', kF2, 0},
    {kLinuxCsi, kNoNumber, 'C', kF3, 0}, {kLinuxCsi, kNoNumber, 'D', kF4, 0},
    {kLinuxCsi, kNoNumber, 'E', kF5, 0},
    // Editing keys; 1 and 4 as VT220 (and L) send Home and End, 7 and 8 as r.
    {kCsi, 1, '~', kHome, 0},     {kCsi, 4, '~', kEnd, 0},
    {kCsi, 2, '~', kInsert, 0},   {kCsi, 2, '$', kInsert, kShift},
    {kCsi, 2, '^', kInsert, kCtrl},   {kCsi, 2, '@', kInsert, kShiftCtrl},
    {kCsi, 3, '~', kDelete, 0},   {kCsi, 3, '$', kDelete, kShift},
    {kCsi, 3, '^', kDelete, kCtrl},   {kCsi, 3, '@', kDelete, kShiftCtrl},
    {kCsi, 5, '~', kPageUp, 0},   {kCsi, 5, '$', kPageUp, kShift},
    {kCsi, 5, '^', kPageUp, kCtrl},   {kCsi, 5, '@', kPageUp, kShiftCtrl},
    {kCsi, 6, '~', kPageDown, 0}, {kCsi, 6, '$', kPageDown, kShift},
    {kCsi, 6, '^', kPageDown, kCtrl}, {kCsi, 6, '@', kPageDown, kShiftCtrl},
    {kCsi, 7, '~', kHome, 0},     {kCsi, 7, '$', kHome, kShift},
    {kCsi, 7, '^', kHome, kCtrl},     {kCsi, 7, '@', kHome, kShiftCtrl},
    {kCsi, 8, '~', kEnd, 0},      {kCsi, 8, '$', kEnd, kShift},
    {kCsi, 8, '^', kEnd, kCtrl},      {kCsi, 8, '@', kEnd, kShiftCtrl},
    // Function keys; r marks Ctrl with ^.
    {kCsi, 11, '~', kF1, 0}, {kCsi, 12, '~', kF2, 0}, {kCsi, 13, '~', kF3, 0},
    {kCsi, 14, '~', kF4, 0}, {kCsi, 15, '~', kF5, 0}, {kCsi, 17, '~', kF6, 0},
    {kCsi, 18, '~', kF7, 0}, {kCsi, 19, '~', kF8, 0}, {kCsi, 20, '~', kF9, 0},
    {kCsi, 21, '~', kF10, 0},
    {kCsi, 11, '^', kF1, kCtrl}, {kCsi, 12, '^', kF2, kCtrl}, {kCsi, 13, '^', kF3, kCtrl},
    {kCsi, 14, '^', kF4, kCtrl}, {kCsi, 15, '^', kF5, kCtrl}, {kCsi, 17, '^', kF6, kCtrl},
    {kCsi, 18, '^', kF7, kCtrl}, {kCsi, 19, '^', kF8, kCtrl}, {kCsi, 20, '^', kF9, kCtrl},
    {kCsi, 21, '^', kF10, kCtrl},
    {kCsi, 23, '~', kF11, 0},     {kCsi, 23, '$', kF11, kShift},
    {kCsi, 23, '^', kF11, kCtrl}, {kCsi, 23, '@', kF11, kShiftCtrl},
    {kCsi, 24, '~', kF12, 0},     {kCsi, 24, '$', kF12, kShift},
    {kCsi, 24, '^', kF12, kCtrl}, {kCsi, 24, '@', kF12, kShiftCtrl},
    // L and r give Shift+F3 ... F10 numbers of their own (their Shift+F1
    // and F2 send 23 and 24, and read as F11 and F12).
    {kCsi, 25, '~', kF3, kShift}, {kCsi, 26, '~', kF4, kShift}, {kCsi, 28, '~', kF5, kShift},
    {kCsi, 29, '~', kF6, kShift}, {kCsi, 31, '~', kF7, kShift}, {kCsi, 32, '~', kF8, kShift},
    {kCsi, 33, '~', kF9, kShift}, {kCsi, 34, '~', kF10, kShift},
    {kCsi, 25, '^', kF3, kShiftCtrl}, {kCsi, 26, '^', kF4, kShiftCtrl},
    {kCsi, 28, '^', kF5, kShiftCtrl}, {kCsi, 29, '^', kF6, kShiftCtrl},
    {kCsi, 31, '^', kF7, kShiftCtrl}, {kCsi, 32, '^', kF8, kShiftCtrl},
    {kCsi, 33, '^', kF9, kShiftCtrl}, {kCsi, 34, '^', kF10, kShiftCtrl},
};
// clang-format on

// The parameters of a sequence: at most two fields of digits, separated
// by ';'.
struct Fields {
    int values[2];
    bool present[2];
    int count;     // fields seen, empty ones included
    bool foreign;  // something none of our keys sends
};

bool isDigit(int byte) { return byte >= '0' && byte <= '9'; }

Fields fieldsOf(const char* parameters) {
    Fields f = {{0, 0}, {false, false}, 0, false};
    for (const char* p = parameters; *p != '\0'; ++p) {
        if (f.count == 0) f.count = 1;
        const int field = f.count - 1;
        if (*p == ';') {
            if (f.count == 2) {
                f.foreign = true;
            } else {
                ++f.count;
            }
        } else if (isDigit(*p)) {
            if (f.values[field] < kParameterCap)
                f.values[field] = f.values[field] * 10 + (*p - '0');
            f.present[field] = true;
        } else {
            f.foreign = true;  // private markers and sub-parameters
        }
    }
    return f;
}

// The modifier parameter the fields give for `row` (0 for none), or -1
// when they do not fit it. A row with a key number takes that number
// first and the modifier after it (CSI 5;3~); a row without one takes the
// modifier alone (CSI 5A) or after an empty field or a 1 (CSI 1;5A).
int modifierParameter(const SequenceRow& row, const Fields& f) {
    if (row.number == kNoNumber) {
        if (f.count == 2 && f.present[0] && f.values[0] != 1) return -1;
        return f.count == 0 ? 0 : f.values[f.count - 1];
    }
    if (f.count == 0 || !f.present[0] || f.values[0] != row.number) return -1;
    return f.count == 2 ? f.values[1] : 0;
}

}  // namespace

bool sequenceKey(const SequenceParts& parts, ExtendedKey* key, int* modifiers) {
    const Fields fields = fieldsOf(parts.parameters);
    if (fields.foreign || parts.intermediateCount > 0) return false;
    for (const SequenceRow& row : kSequences) {
        if (row.final != parts.final || std::strcmp(row.introducer, parts.introducer) != 0)
            continue;
        const int m = modifierParameter(row, fields);
        if (m < 0) continue;
        // An empty parameter (0) and 1 mean no modifier; beyond 8 come
        // Meta, Super and the like, which none of our keys has.
        if (m > kHighestModifierParameter) return false;
        *key = row.key;
        *modifiers = row.modifiers | (m > 1 ? m - 1 : 0) | (parts.alt ? kAlt : 0);
        return true;
    }
    return false;
}
