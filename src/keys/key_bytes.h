// The first step of reading a key from a terminal: the bytes of one whole
// key, taken by the grammar of what terminals send, without yet asking
// which key they stand for. Bytes read past the end of a key (the byte that
// broke a sequence, the byte after a lone Esc) are kept for the next key,
// so that nothing typed is lost.
#pragma once

// What a byte reader returns when no byte arrives in time, or when the
// terminal cannot deliver any more (hang-up, read error).
constexpr int kNoByte = -1;
constexpr int kByteFailure = -2;

// How long to wait for the byte after an Esc before taking the Esc as a
// key of its own; long enough for a remote terminal. The other bytes of a
// sequence or of a character are waited for as long.
constexpr int kEscapeWaitMs = 50;

// Returns the next byte 0..255, kNoByte when none arrives within
// timeoutMs (a negative timeout waits as long as it takes), or kByteFailure.
typedef int (*ByteReader)(void* context, int timeoutMs);

// Room for the bytes of one key; a longer sequence is taken to its end
// but marked overlong, and stands for no key.
constexpr int kMaxKeyBytes = 16;

// Where a terminal's bytes come from: the reader, and the bytes already
// read that belong to the keys after the one being read. Starts zeroed
// but for the reader and its context.
struct ByteInput {
    ByteReader reader;
    void* context;
    unsigned char ahead[kMaxKeyBytes];
    int aheadCount;
    bool failed;  // the reader failed during the last key
};

// The classes of bytes in an escape sequence.
inline bool isParameterByte(int byte) { return byte >= 0x30 && byte <= 0x3F; }
inline bool isIntermediateByte(int byte) { return byte >= 0x20 && byte <= 0x2F; }
inline bool isFinalByte(int byte) { return byte >= 0x40 && byte <= 0x7E; }

// The longest introducer a sequence has ("[[", the Linux console's).
constexpr int kMaxIntroducerLength = 2;

// An escape sequence taken apart by the grammar: after its Esc (one more
// in front for Alt, as rxvt sends it) an introducer, parameter bytes
// 0x30-0x3F, intermediate bytes 0x20-0x2F, and one final byte.
struct SequenceParts {
    bool alt;
    char introducer[kMaxIntroducerLength + 1];  // "[" (CSI), "O" (SS3), "[["
    char parameters[kMaxKeyBytes + 1];
    // The bytes between the parameters and the final byte: intermediate
    // bytes, and parameter bytes out of place after one of them.
    int intermediateCount;
    int final;  // 0 for a sequence cut off before its final byte
};

// The bytes of one key as the terminal sent them; for an escape sequence
// also its parts (zeroed for any other key).
struct KeyBytes {
    unsigned char bytes[kMaxKeyBytes];
    int length;
    bool overlong;
    SequenceParts sequence;
};

// Reads the bytes of the next key: a byte on its own; a UTF-8 character;
// Esc alone (nothing follows within kEscapeWaitMs); Esc and a byte with an
// Alt row; an escape sequence, with one more Esc in front for Alt. The
// grammar alone says where a sequence ends: at a final byte, or at rxvt's
// '$' after a key number. It ends early at a pause or at a byte that
// cannot continue it. Which key it names, if any, is not asked here.
// Returns false when the reader failed or has nothing more to give.
bool readKeyBytes(ByteInput* in, KeyBytes* key);
