// The files asked for with -o: checked before the dialogue starts,
// written after the report, all together, each whole, or none.
#pragma once

#include "game/typed_game.h"

// Checks that each path can be written, so that a file that cannot be is
// known before anything is asked; nothing is made yet. The paths must
// have a known format (see outputFormatOf) and stay valid for the run.
// The game file read (nullptr for none) is not one of them, and a file
// that the game (`known`, when it is known before the dialogue) has none
// of is refused too. False, with a message on standard error, when one
// cannot be written.
bool prepareOutputFiles(const char* const* paths, int count, const char* gameFile,
                        const TypedGame* known);

// Writes every prepared file and puts them all in their targets' places.
// On a failure says so on standard error and ends the program with
// status 1, leaving every target as it was.
void writeOutputFiles();
