// The bytes the formatted reads take their fields from: a buffer filled by
// a reader, and read a byte at a time, with the byte just read able to go
// back for the next read.
#pragma once

#include <cstdio>

// Fills buffer with up to capacity bytes and returns how many; 0 when the
// input has ended (or failed). Called again after it has returned 0, it
// must return 0 again.
typedef int (*TextReader)(void* context, char* buffer, int capacity);

// Sees the bytes handed out (and not given back), in order, each once:
// those of the buffer before it is filled again, and the rest when
// tapTakenBytes is called.
typedef void (*TakenBytesTap)(void* context, const char* bytes, int length);

constexpr int kTextInputCapacity = 4096;

struct TextInput {
    TextReader reader;
    void* context;
    TakenBytesTap tap;  // null: the bytes taken are not shown to anyone
    char buffer[kTextInputCapacity];
    int next;    // the next byte to hand out
    int length;  // bytes in the buffer
    int tapped;  // the bytes before this one have been passed to the tap
};

// A fresh input over `reader`, holding nothing yet, with no tap.
void startTextInput(TextInput* in, TextReader reader, void* context);

// Passes the bytes taken since the tap last saw any to the tap.
void tapTakenBytes(TextInput* in);

// Lets the tap miss the bytes taken since it last saw any.
void skipTakenBytes(TextInput* in);

// The next byte 0..255, or EOF at the end of the input.
int nextInputByte(TextInput* in);

// Gives back the byte nextInputByte has just returned (EOF is ignored),
// so that the next call returns it again.
void giveBackInputByte(TextInput* in, int byte);

// Removes the markers that a terminal in bracketed-paste mode puts around
// pasted text (ESC [ 200 ~ before it, ESC [ 201 ~ after it), so that the
// text reads as if typed. Returns the new length.
int dropPasteMarkers(char* bytes, int length);
