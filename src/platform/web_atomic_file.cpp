// The files of -o in a web page: the page keeps them (there is no disk)
// and offers each as a download once it is complete. A file not yet
// committed is never offered; the page forgets it when the run ends.
#include <cerrno>

#include "platform/atomic_file.h"

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

namespace {

int fileCount = 0;

}  // namespace

int openAtomicFile(const char* path) {
    if (fileCount == kMaxAtomicFiles) {
        errno = EMFILE;
        return -1;
    }
    const int file = webFileOpen(path);
    if (file < 0) {
        errno = EACCES;
        return -1;
    }
    ++fileCount;
    return file;
}

bool writeAtomicFile(int file, const char* bytes, int length) {
    if (webFileWrite(file, bytes, length)) return true;
    errno = ENOSPC;
    return false;
}

bool commitAtomicFile(int file) {
    webFileCommit(file);
    return true;
}

void discardAtomicFiles() {
    webFileDiscard();
    fileCount = 0;
}
