// The escape sequences of the keys without a character, as one table of
// their parts (introducer, key number, final byte), and the key that a
// sequence taken apart by the grammar (key_bytes.h) stands for.
#pragma once

#include "keys/key_bytes.h"
#include "keys/key_codes.h"

// The key the sequence stands for, with the modifiers it carries: those of
// its modifier parameter, those its row stands for itself (rxvt marks
// Shift and Ctrl in the final byte) and Alt for an Esc in front. False
// when it stands for no key: no row fits its parts, or the modifier is
// one beyond Shift, Alt and Ctrl.
bool sequenceKey(const SequenceParts& parts, ExtendedKey* key, int* modifiers);
