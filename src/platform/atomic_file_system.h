// What each platform gives the portable core of the files written whole
// (atomic_files.cpp): a few primitives on one file's slot. Each returns 0
// or the errno of its failure. Those marked "signal-safe" may be called
// from a signal handler.
#pragma once

#include <cstdint>

// What a signal handler may read and write. A web page has no signals
// (and WebAssembly's C library no <csignal>).
#ifdef __wasi__
using AtomicFlag = volatile int;
#else
#include <csignal>
using AtomicFlag = volatile sig_atomic_t;
#endif

// Room for the longest path POSIX systems take and a temporary's name.
constexpr int kAtomicPathCapacity = 4096 + 64;

constexpr intptr_t kNoHandle = -1;

// Returned by systemProbeFolder where the system has no way to test the
// folder without a name left in it: the core then makes a named probe.
constexpr int kProbeByName = -1;

// One file of -o. The flags say what may exist on disk, and are set
// before it is made, so that a signal handler undoing the file removes
// everything that was made (a name not yet made is simply not there).
struct AtomicSlot {
    const char* target;                   // the path as given
    char place[kAtomicPathCapacity];      // the file replaced: target, its links followed
    char temporary[kAtomicPathCapacity];  // the temporary's name, once it has one
    char oldName[kAtomicPathCapacity];    // a second name of the replaced file during a commit
    intptr_t handle;                      // the open temporary, else kNoHandle
    intptr_t kept;            // what a platform keeps of a closed file (the page's number)
    bool unnamed;             // the temporary has no name while it is written
    bool wasNew;              // no file was in place when the commit started
    bool begun;               // its temporary was asked for: the commit places it
    AtomicFlag isOpen;        // handle is open
    AtomicFlag hasTemporary;  // `temporary` may exist
    AtomicFlag hasOld;        // `oldName` may exist
    AtomicFlag mayBePlaced;   // the temporary may have taken the place
};

// Sets slot->place: the target, or the file its symbolic links lead to.
int systemFindPlace(AtomicSlot* slot);

// Whether this process may replace slot->place: EISDIR for a folder,
// EACCES for a file it may not write; 0 for a file that does not exist.
int systemCheckPlace(const AtomicSlot* slot);

// Whether files can be made in the place's folder, tried without leaving
// a name; kProbeByName when only a named file can tell.
int systemProbeFolder(const AtomicSlot* slot);

// Opens a temporary without a name in the place's folder; EOPNOTSUPP
// where the system has none.
int systemOpenUnnamed(AtomicSlot* slot);

// Creates slot->temporary as a new file; EEXIST when the name is taken.
int systemCreateNamed(AtomicSlot* slot);

int systemWrite(AtomicSlot* slot, const char* bytes, int length);

// Gives the complete temporary the permission bits (and, where it may,
// the owner) of the file in place, if any.
void systemCopyAttributes(AtomicSlot* slot);

// Gives an unnamed temporary the name slot->temporary; EEXIST when taken.
int systemGiveName(AtomicSlot* slot);

// Closes the temporary, with the error a late write may report.
int systemClose(AtomicSlot* slot);

// Closes the temporary when the file is given up (signal-safe).
void systemDropOpen(AtomicSlot* slot);

// Gives the file in place the second name slot->oldName; ENOENT when no
// file is there, EEXIST when the name is taken.
int systemKeepOld(AtomicSlot* slot);

// Puts the temporary in the target's place, atomically (signal-safe).
int systemPlace(AtomicSlot* slot);

// Puts the old file back from its second name (signal-safe).
int systemPutBack(AtomicSlot* slot);

// Removes a name; one that is not there counts as removed (signal-safe).
int systemRemove(const char* name);

// Forgets the files never put in place (the web page keeps them).
void systemForgetUnplaced();

bool systemSameFile(const char* one, const char* other);

int64_t systemProcessNumber();
