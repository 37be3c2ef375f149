// The whole run as one web page to hand in (-o FILE.html).
#pragma once

// Puts the page of the run in `game`: who hands it in and the day
// (reportHead), the game as entered, the results, the table of iterations
// in its wide form with the rows asked for (none past the run), the
// picture, and the exact solution. One self-contained HTML5 file in
// UTF-8: its style inline, the picture inline as SVG, no script, nothing
// fetched; every name typed by the user is text.
void writeHtmlReport();
