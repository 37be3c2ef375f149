// The report page's sections of the game solved by hand: the prices in
// pure strategies and dominance before the run, the graphical solution
// (with its picture) beside the exact one. A page to hand in holds the
// whole exercise, so they are always there.
#pragma once

// The pure prices, the saddle points and the game reduced by dominance.
void putPureAndDominanceSections();

// The graphical solution of the reduced game, or why it has none.
void putGraphicalSection();
