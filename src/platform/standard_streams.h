// Standard output and input as every platform uses them: static buffers,
// the output written out at every print when it is a terminal, and a
// failed write reported at the end instead of being lost.
#pragma once

// Called once at the start, before anything is read or written.
void setUpStandardStreams(bool outputIsTerminal);

// Writes text to standard output; false once any write has failed.
bool writeStandardOutput(const char* text, int length);

// Writes what is still buffered, so that a reader of the output sees the
// question before the program waits for its answer; false once any write
// has failed.
bool flushStandardOutput();

// Writes what is still buffered. When any write failed, says so on
// standard error (once) and returns 1, whatever `status` was: the run did
// not do its job. Otherwise returns `status`.
int finishStandardOutput(int status);
