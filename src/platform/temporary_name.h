// The name of the temporary file an output file is written to before it
// takes the target's place: beside the target, so that the rename stays
// on one file system, and unique to the process and the attempt.
#pragma once

#include <cstdint>

// Writes "target.<process>-<attempt>.tmp" into out (capacity bytes, the
// terminating zero included). False when it does not fit.
bool temporaryNameOf(const char* target, int64_t process, int attempt, char* out, int capacity);
