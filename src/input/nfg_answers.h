// A GAME-FILE, or standard input named as one, that is a Gambit strategic
// game file (.nfg): told apart from answers by its first words, however
// its bytes arrive, then read whole and turned into the answers it gives,
// so that the dialogue takes it as it takes any game file.
#pragma once

#include "game/typed_game.h"
#include "keys/key_echo.h"

// Room for a .nfg file: larger files are refused (a game of 10 by 10
// strategies takes a few kilobytes).
constexpr int kNfgFileCapacity = 1 << 20;

// Fills buffer with up to capacity bytes; returns how many, 0 at the end
// of the input, or -1 with errno set when it cannot be read.
typedef int (*GameBytesReader)(void* context, char* buffer, int capacity);

// The bytes of the input read before the dialogue takes any.
struct GameStart {
    const char* bytes;  // what was read (in a buffer of this file's own)
    int length;         // how many
    bool ended;         // the input ended with them
    bool isNfg;         // they begin a Gambit file
};

// Reads from the input until its first words tell whether it is a Gambit
// file (see nfgStartOf), across as many short reads as it takes. False,
// with errno set, when it cannot be read.
bool readGameStart(GameBytesReader reader, void* context, GameStart* start);

// Why a file was refused: the whole line for standard error, naming the
// file (whose path may be as long as the system allows).
struct NfgFileMessage {
    char text[4400];
};

// Where a Gambit file ends: a file with the input, standard input with the
// game's last token, so that the answers typed after it stay answers.
enum NfgExtent { kNfgToTheEnd, kNfgToTheGame };

// The answers of a Gambit file that `start` begins: reads the rest of it,
// puts in `answers` (room for kTextInputCapacity bytes) the answers of the
// game it holds and returns their length; the bytes read after the game
// are left in `start`. Returns -1 with `message` saying why, naming
// `path`, when the input cannot be read, is too large or holds no game the
// program solves, or a name that the terminal, showing its high codes as
// `highCodes` says, would take for a control code (as the dialogue
// refuses such a name).
// The game of the Gambit file last turned into answers (nullptr before
// any): what is known of the game before the dialogue starts.
const TypedGame* gameOfNfgFile();

int answersOfNfgFile(const char* path, GameBytesReader reader, void* context, NfgExtent extent,
                     GameStart* start, HighCodeEcho highCodes, char* answers,
                     NfgFileMessage* message);
