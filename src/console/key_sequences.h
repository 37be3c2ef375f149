// The escape sequences of the keys without a character, as one table of
// their parts (introducer, key number, final byte), and the key that a
// sequence taken apart by the grammar stands for. The reader of a key's
// bytes asks the same table which introducers there are and where a
// sequence ends, so that the reader and the table cannot disagree.
#pragma once

#include "console/key_bytes.h"
#include "console/key_codes.h"

// Whether a sequence can start with this introducer (the bytes after its
// Esc, before its parameters).
bool isSequenceIntroducer(const char* introducer);

// The key the sequence stands for, with the modifiers it carries: those of
// its modifier parameter, those its row stands for itself (rxvt marks
// Shift and Ctrl in the final byte) and Alt for an Esc in front. False
// when it stands for no key: no row fits its parts, or the modifier is
// one beyond Shift, Alt and Ctrl.
bool sequenceKey(const SequenceParts& parts, ExtendedKey* key, int* modifiers);
