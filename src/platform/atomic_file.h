// Files written whole or not at all. A target is checked when it is
// opened (so that one that cannot be written is known before anything is
// asked), but nothing is made for it until the files are written: a run
// killed during the dialogue leaves no trace. The text goes to a temporary
// file in the target's folder, and once every file is complete they are
// put in their targets' places together: every target holds its new file,
// or every target is as it was. Whatever is still pending is undone when
// the program ends, however it ends (see discardAtomicFiles).
#pragma once

constexpr int kMaxAtomicFiles = 8;

// Checks that `path` (which must stay valid for the run) can be replaced:
// its symbolic links are followed to the file they name, a folder in its
// place, a file this process may not write and a folder it cannot create
// files in are refused. Returns the file's number, or -1 with errno set.
int openAtomicFile(const char* path);

// Whether the two paths name one existing file.
bool isSameFile(const char* one, const char* other);

// Creates the file's temporary; false with errno set.
bool beginAtomicFile(int file);

// Appends bytes to the temporary file; false with errno set.
bool writeAtomicFile(int file, const char* bytes, int length);

// Puts every begun file in its target's place, each keeping the permission
// bits (and, where the process may, the owner) of the file it replaces.
// All or none: false with errno set and *failed the number of the file
// that could not be put in place, every target then as it was.
bool commitAtomicFiles(int* failed);

// After a failure: the name of a file that could not be removed or put
// back (a temporary, or a replaced file under its second name), with the
// problem; nullptr when nothing was left behind.
const char* atomicFileLeftBehind(int* problem);

// Undoes whatever is pending: temporaries are removed and, in the middle
// of a commit, the targets already replaced get their old files back.
// Forgets every file (numbers may then be given out again). Safe in a
// signal handler.
void discardAtomicFiles();
