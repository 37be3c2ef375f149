// A GAME-FILE that is a Gambit strategic game file (.nfg): read whole and
// turned into the answers it gives, so that the dialogue takes it as it
// takes any game file.
#pragma once

#include "keys/key_echo.h"

// Room for a .nfg file: larger files are refused (a game of 10 by 10
// strategies takes a few kilobytes).
constexpr int kNfgFileCapacity = 1 << 20;

// Why a file was refused: the whole line for standard error, naming the
// file (whose path may be as long as the system allows).
struct NfgFileMessage {
    char text[4400];
};

// Reads the rest of the open game file `file`, whose first `got` bytes
// are in `text`, and closes it; then puts in `text` (room for
// kTextInputCapacity bytes) the answers of the game it holds. Returns
// their length, or -1 with `message` saying why, naming `path`, when the
// file cannot be read, is too large or holds no game the program solves,
// or a name that the terminal, showing its high codes as `highCodes` says,
// would take for a control code (as the dialogue refuses such a name).
int answersOfNfgFile(const char* path, int file, char* text, int got, HighCodeEcho highCodes,
                     NfgFileMessage* message);
