// The names of the files made beside a target: in its folder, so that the
// rename that puts one in place stays on one file system, and short, so
// that every name the system takes for the target itself leaves room for
// them (they need not contain the target's name).
#pragma once

#include <cstdint>

// Writes the folder of `path` ("." for a bare name) into out (capacity
// bytes, the terminating zero included). False when it does not fit.
bool folderOf(const char* path, char* out, int capacity);

// Writes "<folder of path>/.brown-robinson-<process>-<number><ending>"
// into out. False when it does not fit.
bool temporaryNameOf(const char* path, int64_t process, int number, const char* ending, char* out,
                     int capacity);
