// The files asked for with -o: checked and prepared before the dialogue
// starts, written after the report, each whole or not at all.
#pragma once

// Creates the temporary file of each path beside it, so that a file that
// cannot be written is known before anything is asked. The paths must have
// a known format (see outputFormatOf) and stay valid for the run. False,
// with a message on standard error, when one cannot be prepared.
bool prepareOutputFiles(const char* const* paths, int count);

// Writes every prepared file and puts it in its target's place. On a
// failed write says so on standard error and ends the program with
// status 1, leaving every target as it was.
void writeOutputFiles();
