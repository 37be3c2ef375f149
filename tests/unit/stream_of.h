// A read stream over a byte string, for the formatted reads.
#pragma once

#include <cstdio>
#include <string>

// tmpfile() is in every C library, unlike memory streams.
inline FILE* streamOf(const std::string& bytes) {
    FILE* stream = tmpfile();
    if (stream == nullptr) return nullptr;
    fwrite(bytes.data(), 1, bytes.size(), stream);
    rewind(stream);
    return stream;
}

// What is left unread in the stream.
inline std::string restOf(FILE* stream) {
    std::string rest;
    int c;
    while ((c = getc(stream)) != EOF) rest += static_cast<char>(c);
    return rest;
}
