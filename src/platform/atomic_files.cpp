// The portable core of the files written whole: the slots, what of each
// may exist on disk, the commit of all of them together and the undoing
// of whatever is pending. The platforms give the primitives
// (atomic_file_system.h).
#include <cerrno>

#include "platform/atomic_file.h"
#include "platform/atomic_file_system.h"
#include "platform/temporary_name.h"

namespace {

// Enough names to step over those a crashed run of a process with the
// same number left behind.
constexpr int kNameAttempts = 100;

AtomicSlot slots[kMaxAtomicFiles];
int slotCount = 0;
int namesGiven = 0;  // numbers of temporary names, unique within the process

// Every target holds its new file: what is left is tidying up.
AtomicFlag committed = 0;

const char* leftBehind = nullptr;
int leftProblem = 0;

void noteLeftBehind(const char* name, int problem) {
    if (leftBehind != nullptr) return;
    leftBehind = name;
    leftProblem = problem;
}

bool nextName(AtomicSlot* slot, const char* ending, char* out) {
    return temporaryNameOf(slot->place, systemProcessNumber(), namesGiven++, ending, out,
                           kAtomicPathCapacity);
}

// Makes the named temporary (or probe) slot->temporary, counted before it
// exists. 0 or errno.
int createNamed(AtomicSlot* slot) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (!nextName(slot, ".tmp", slot->temporary)) return ENAMETOOLONG;
        slot->hasTemporary = 1;
        const int problem = systemCreateNamed(slot);
        if (problem == 0) {
            slot->isOpen = 1;
            return 0;
        }
        slot->hasTemporary = 0;
        if (problem != EEXIST) return problem;
    }
    return EEXIST;
}

// The folder is tried with a file that is gone again at once.
int probeFolder(AtomicSlot* slot) {
    const int probed = systemProbeFolder(slot);
    if (probed != kProbeByName) return probed;
    int problem = createNamed(slot);
    if (problem != 0) return problem;
    slot->isOpen = 0;
    systemClose(slot);  // closed first: Windows removes no file still open
    problem = systemRemove(slot->temporary);
    if (problem != 0) {
        noteLeftBehind(slot->temporary, problem);
        return problem;
    }
    slot->hasTemporary = 0;
    return 0;
}

// Gives the temporary its attributes and a name, and closes it.
int completeSlot(AtomicSlot* slot) {
    systemCopyAttributes(slot);
    int problem = 0;
    if (slot->unnamed) {
        problem = EEXIST;
        for (int attempt = 0; attempt < kNameAttempts && problem == EEXIST; ++attempt) {
            if (!nextName(slot, ".tmp", slot->temporary)) return ENAMETOOLONG;
            slot->hasTemporary = 1;
            problem = systemGiveName(slot);
            if (problem != 0) slot->hasTemporary = 0;
        }
        if (problem != 0) return problem;
    }
    slot->isOpen = 0;
    return systemClose(slot);
}

// A second name for the file each target replaces, so that it can be put
// back if a later target cannot be replaced.
int keepOld(AtomicSlot* slot) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        if (!nextName(slot, ".old", slot->oldName)) return ENAMETOOLONG;
        slot->hasOld = 1;
        const int problem = systemKeepOld(slot);
        if (problem == 0) return 0;
        slot->hasOld = 0;
        if (problem == ENOENT) {
            slot->wasNew = true;
            return 0;
        }
        if (problem != EEXIST) return problem;
    }
    return EEXIST;
}

// Undoes one slot: only signal-safe calls. A replaced file that cannot be
// put back keeps its second name, which is then the one copy of it.
void undoSlot(AtomicSlot* slot) {
    if (slot->isOpen) {
        slot->isOpen = 0;
        systemDropOpen(slot);
    }
    bool oldStays = false;
    if (slot->mayBePlaced && !committed) {
        if (slot->hasOld) {
            const int problem = systemPutBack(slot);
            if (problem != 0) {
                noteLeftBehind(slot->oldName, problem);
                oldStays = true;
            }
        } else if (slot->wasNew) {
            systemRemove(slot->place);
        }
    }
    slot->mayBePlaced = 0;
    if (slot->hasOld && !oldStays) {
        slot->hasOld = 0;
        const int problem = systemRemove(slot->oldName);
        if (problem != 0) noteLeftBehind(slot->oldName, problem);
    }
    if (slot->hasTemporary) {
        slot->hasTemporary = 0;
        const int problem = systemRemove(slot->temporary);
        if (problem != 0) noteLeftBehind(slot->temporary, problem);
    }
}

void undoAll() {
    for (int i = slotCount - 1; i >= 0; --i) undoSlot(&slots[i]);
}

// Ends a failed commit: everything undone, errno the failure's.
bool failCommit(int index, int problem, int* failed) {
    undoAll();
    *failed = index;
    errno = problem;
    return false;
}

}  // namespace

int openAtomicFile(const char* path) {
    if (slotCount == kMaxAtomicFiles) {
        errno = EMFILE;
        return -1;
    }
    AtomicSlot* slot = &slots[slotCount];
    *slot = AtomicSlot{};
    slot->target = path;
    slot->handle = kNoHandle;
    slot->kept = kNoHandle;
    int problem = systemFindPlace(slot);
    if (problem == 0) problem = systemCheckPlace(slot);
    if (problem == 0) problem = probeFolder(slot);
    if (problem != 0) {
        errno = problem;
        return -1;
    }
    return slotCount++;
}

bool isSameFile(const char* one, const char* other) { return systemSameFile(one, other); }

bool beginAtomicFile(int file) {
    AtomicSlot* slot = &slots[file];
    slot->begun = true;
    // Unnamed, where the system can: a run killed while it writes leaves
    // nothing at all behind.
    int problem = systemOpenUnnamed(slot);
    slot->unnamed = problem == 0;
    if (problem == 0) {
        slot->isOpen = 1;
    } else {
        problem = createNamed(slot);
    }
    errno = problem;
    return problem == 0;
}

bool writeAtomicFile(int file, const char* bytes, int length) {
    const int problem = systemWrite(&slots[file], bytes, length);
    errno = problem;
    return problem == 0;
}

// Every temporary is complete and named first; then each replaced file
// gets a second name before the temporary takes its place, so that every
// rename can be undone until the last has succeeded. One file needs no
// second name: its one rename is all or nothing by itself.
bool commitAtomicFiles(int* failed) {
    leftBehind = nullptr;
    committed = 0;
    int problem = 0;
    // A file never begun (one the game turned out to have none of) keeps
    // its target as it was.
    int begun = 0;
    for (int i = 0; i < slotCount; ++i) begun += slots[i].begun ? 1 : 0;
    for (int i = 0; i < slotCount; ++i) {
        if (!slots[i].begun) continue;
        problem = completeSlot(&slots[i]);
        if (problem != 0) return failCommit(i, problem, failed);
    }
    for (int i = 0; i < slotCount; ++i) {
        if (!slots[i].begun) continue;
        if (begun > 1) problem = keepOld(&slots[i]);
        if (problem != 0) return failCommit(i, problem, failed);
        slots[i].mayBePlaced = 1;
        problem = systemPlace(&slots[i]);
        if (problem != 0) return failCommit(i, problem, failed);
    }
    committed = 1;
    for (int i = 0; i < slotCount; ++i) {
        slots[i].hasTemporary = 0;  // the temporary's name is gone with the rename
        undoSlot(&slots[i]);        // removes the second names
    }
    slotCount = 0;
    committed = 0;
    return true;
}

const char* atomicFileLeftBehind(int* problem) {
    *problem = leftProblem;
    return leftBehind;
}

void discardAtomicFiles() {
    undoAll();
    systemForgetUnplaced();
    slotCount = 0;
}
