// A game file: answers of the dialogue kept in a file, read before those
// on standard input.
#pragma once

// Opens the file at `path` for reading. Returns its descriptor, or -1 with
// errno set; a directory is refused with EISDIR.
int openGameFile(const char* path);

// Reads up to capacity bytes; returns how many, 0 at the end of the file,
// or -1 with errno set.
int readGameFile(int file, char* buffer, int capacity);

void closeGameFile(int file);

// Whether the file is the regular file standard output writes to: read
// as answers, it would bring back the program's own questions, and grow
// with every one. (Not known on Windows, where files have no inode.)
bool isStandardOutput(int file);

// Whether the open file is a terminal (where a person types the answers).
bool isTerminal(int file);
