// The platform part of the console for unit tests of what the program
// prints: no console, standard input from a stream the test gives, and
// standard output kept in a string.
#pragma once

#include <cstdio>
#include <string>

// Starts a capture: what is printed from now on is kept, and the reads
// take their fields (and, with no console, the keys) from `input`.
void startCapture(FILE* input);

// Everything printed since startCapture.
const std::string& capturedOutput();
