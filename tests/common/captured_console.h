// The platform part of the console for unit tests of what the program
// prints: no console, standard input from a string the test gives, and
// standard output kept in a string.
#pragma once

#include <string>

// Starts a capture: the console starts afresh, what is printed from now on
// is kept, and the reads take their fields (and, with no console, the
// keys) from `input`.
void startCapture(const std::string& input);

// Everything printed since startCapture.
const std::string& capturedOutput();
