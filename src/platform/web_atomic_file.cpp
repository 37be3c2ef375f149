// The primitives of the files written whole, in a web page: the page
// keeps the files (there is no disk) and offers each as a download once
// it is put in place. A file is opened in the page when it is begun, and
// one never put in place is never offered: the page forgets it when the
// run ends. There are no folders, links or old files to keep.
#include <cerrno>
#include <cstring>

#include "platform/atomic_file_system.h"

#define BR_IMPORT(name) __attribute__((import_module("web"), import_name(name)))

extern "C" {
// Starts a file for path; returns its number, or -1.
BR_IMPORT("file_open") int webFileOpen(const char* path);
// Appends bytes to file; false when the page has no room for them.
BR_IMPORT("file_write") bool webFileWrite(int file, const char* bytes, int length);
// Offers the complete file as a download.
BR_IMPORT("file_commit") void webFileCommit(int file);
// Forgets every file not yet committed.
BR_IMPORT("file_discard") void webFileDiscard();
}

int systemFindPlace(AtomicSlot* slot) {
    const size_t length = strlen(slot->target);
    if (length + 1 > sizeof slot->place) return ENAMETOOLONG;
    memcpy(slot->place, slot->target, length + 1);
    return 0;
}

int systemCheckPlace(const AtomicSlot*) { return 0; }

int systemProbeFolder(const AtomicSlot*) { return 0; }

// The page's file has no name until it is offered.
int systemOpenUnnamed(AtomicSlot* slot) {
    const int file = webFileOpen(slot->place);
    if (file < 0) return EACCES;
    slot->handle = file;
    slot->kept = file;
    return 0;
}

int systemCreateNamed(AtomicSlot*) { return EOPNOTSUPP; }

int systemWrite(AtomicSlot* slot, const char* bytes, int length) {
    return webFileWrite(static_cast<int>(slot->handle), bytes, length) ? 0 : ENOSPC;
}

void systemCopyAttributes(AtomicSlot*) {}

int systemGiveName(AtomicSlot*) { return 0; }

int systemClose(AtomicSlot* slot) {
    slot->handle = kNoHandle;
    return 0;
}

void systemDropOpen(AtomicSlot* slot) { slot->handle = kNoHandle; }

int systemKeepOld(AtomicSlot*) { return ENOENT; }

int systemPlace(AtomicSlot* slot) {
    webFileCommit(static_cast<int>(slot->kept));
    return 0;
}

int systemPutBack(AtomicSlot*) { return 0; }

int systemRemove(const char*) { return 0; }

void systemForgetUnplaced() { webFileDiscard(); }

bool systemSameFile(const char*, const char*) { return false; }

int64_t systemProcessNumber() { return 1; }
