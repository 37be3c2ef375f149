// The picture of the graphical solution (-o FILE.graph.svg, and in the
// report page): for a game that dominance leaves with two strategies for
// one player, each strategy of the other player as a line over the
// mixing probability, the envelope he holds the mixing player to, and
// its best point, p* and the value.
#pragma once

#include "game/typed_game.h"

// Whether the game has the picture: two rows or two columns left after
// dominance.
bool hasGraphPicture(const TypedGame& typed);

// Puts the picture as one <svg> element, without an XML declaration, as a
// web page holds it inline. Only for a game that has it.
void putGraphPicture();

// Puts the whole standalone SVG file: the declaration and the picture.
void writeGraphPicture();
