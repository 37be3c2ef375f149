// The answers of the formatted reads over a byte string.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "input/text_input.h"

struct StringStream : TextInput {
    std::string bytes;
    size_t at = 0;
};

// Hands the string out in pieces, as a reader of a file or a pipe does.
inline int readString(void* context, char* buffer, int capacity) {
    StringStream* stream = static_cast<StringStream*>(context);
    const size_t count = std::min(stream->bytes.size() - stream->at, static_cast<size_t>(capacity));
    std::memcpy(buffer, stream->bytes.data() + stream->at, count);
    stream->at += count;
    return static_cast<int>(count);
}

inline StringStream* streamOf(const std::string& bytes) {
    StringStream* stream = new StringStream;
    stream->bytes = bytes;
    startTextInput(stream, readString, stream);
    return stream;
}

// What is left unread in the stream.
inline std::string restOf(StringStream* stream) {
    std::string rest;
    int c;
    while ((c = nextInputByte(stream)) != EOF) rest += static_cast<char>(c);
    return rest;
}
