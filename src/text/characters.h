// The classes of bytes that the readers of answers and of game files
// share, as the C locale has them.
#pragma once

// A blank within a line: space, tab, vertical tab, form feed.
inline bool isBlank(int c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// White space, as the formatted read and Gambit's files know it: the
// blanks and the line ends.
inline bool isWhiteSpace(int c) { return isBlank(c) || c == '\n' || c == '\r'; }

inline bool isDigit(int c) { return c >= '0' && c <= '9'; }
