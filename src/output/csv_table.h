// The table of iterations for spreadsheets (-o FILE.csv): comma-separated
// values with a head line and one line for every iteration of the run.
#pragma once

// Puts the head line k,i,B1,...,Bn,j,A1,...,Am,V_,V^,V* and a line for
// each of the game.iterationCount iterations, played again from the start,
// each line ended by CR LF. The numbers are those of the wide table (the
// game after the shift), with V_ and V^ to six decimals from the sums and
// V* the stored estimate to six decimals. No field holds a comma, a quote
// or a line end, so none is quoted.
void writeCsvTable();
