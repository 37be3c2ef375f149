// The results of a played game, and the last key press of the run.
#pragma once

#include "dialogue/report_options.h"

// Prints the mean price, both players' mixed strategies and as many rows
// of the table of iterations as the user asks for (the wide table when
// options.wide), then the exact solution when options.exact, and waits
// for a key. Returns that key's code (0 when no key can come).
int printResults(ReportOptions options);
