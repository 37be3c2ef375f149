// The game as typed, saved as a game file (-o FILE.game): the answers that
// enter it again, so that the next run asks only from the Y/N question on.
#pragma once

// Puts the names, the numbers of strategies and the matrix as entered (the
// shift undone), one matrix row to a line.
void writeAnswersGame();
