// Files written whole or not at all. The text goes to a temporary file
// beside the target, created when the file is opened (so a target that
// cannot be written is known before anything is asked), and is renamed
// over the target once complete: an existing file is replaced whole or
// kept as it was. A temporary file not yet renamed is removed when the
// program ends, however it ends.
#pragma once

constexpr int kMaxAtomicFiles = 8;

// Creates the temporary file for `path`, which must stay valid for the
// run. Returns the file's number, or -1 with errno set (a folder that does
// not exist or cannot be written, a path too long, too many files).
int openAtomicFile(const char* path);

// Appends bytes to the temporary file; false with errno set.
bool writeAtomicFile(int file, const char* bytes, int length);

// Closes the temporary file and renames it over its target; false with
// errno set, the temporary file then removed and the target untouched.
bool commitAtomicFile(int file);

// Removes every temporary file not yet renamed, and forgets every file
// (numbers may then be given out again). Safe in a signal handler.
void discardAtomicFiles();
