// The page's table of iterations (-o FILE.html): its section and its size
// in print.
#pragma once

// The rule of the page's print style that sets the table's type size: as
// large as lets the widest row span the page, never below what still
// reads. Put inside the style's @media print block.
void putPrintTableSize();

// The section of the table of iterations: what its columns mean, how many
// of the iterations it shows (never one past the run), and the wide
// table's head and rows.
void putIterationsSection();
