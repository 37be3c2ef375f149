// The table of iterations as every writer of it sees it: which rows a file
// shows.
#pragma once

#include <cstdint>

// The rows of the table a file shows: those asked for, but never an
// iteration that was not played (the console alone keeps its empty rows
// beyond the run, as it always printed them); 0 when none were asked for.
int32_t fileTableRows();
