// The formats of the files -o writes, each known by its file name's
// extension (case-insensitive), and each written by a writer of its own.
#pragma once

#include "game/typed_game.h"

struct OutputFormat {
    const char* extension;                    // ".svg", with the dot, in lower case
    void (*write)();                          // puts the whole file with output_text.h, from `game`
    bool (*applies)(const TypedGame& typed);  // whether the game has such a file; nullptr: all have
    const char* (*withoutIt)();               // why a game for which `applies` is false has none
};

// The format a file name asks for by its extension; nullptr for none known
// (or no extension at all).
const OutputFormat* outputFormatOf(const char* path);

// The known extensions as a list for a message: ".svg", ".svg or .html",
// ".svg, .html or .csv".
const char* outputExtensionList();
