// Strategies named in a sentence, as a person writes them: "strategy 3",
// "strategies 1 and 2", "strategies 1, 2 and 4".
#pragma once

#include <cstdint>

// The strategies marked among the first `count`, numbered from 1,
// zero-terminated into out (cut at capacity - 1). Returns the length.
int formatStrategyList(const bool* marked, int32_t count, char* out, int capacity);
