#include "game/game_record.h"

GameRecord game;
