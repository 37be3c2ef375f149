// Files written whole or not at all, on Windows: a new file beside the
// target, written, flushed, closed and moved over the target (rename does
// not replace an existing file there; MoveFileExA with
// MOVEFILE_REPLACE_EXISTING does). A temporary file still open is marked
// for deletion when the program ends, so that the system removes it as the
// handle closes, even from the console's event thread.
#include <cerrno>
#include <cstring>

#include <windows.h>

#include "platform/atomic_file.h"
#include "platform/temporary_name.h"

namespace {

constexpr int kPathCapacity = MAX_PATH + 32;

struct AtomicFile {
    const char* target;             // the path given, replaced at the end
    char temporary[kPathCapacity];  // target + ".<pid>-<n>.tmp", beside it
    HANDLE handle;                  // open while the file is being written
    volatile LONG pending;          // the temporary file exists and is not yet moved
};

AtomicFile files[kMaxAtomicFiles];
int fileCount = 0;

// errno for the few failures a user can act on; EIO for the rest.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        default:
            return EIO;
    }
}

}  // namespace

int openAtomicFile(const char* path) {
    if (fileCount == kMaxAtomicFiles) {
        errno = EMFILE;
        return -1;
    }
    // A folder in the target's place would refuse the move at the end.
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        errno = EISDIR;
        return -1;
    }
    AtomicFile* file = &files[fileCount];
    file->target = path;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!temporaryNameOf(path, GetCurrentProcessId(), fileCount * 100 + attempt,
                             file->temporary, kPathCapacity)) {
            errno = ENAMETOOLONG;
            return -1;
        }
        file->handle = CreateFileA(file->temporary, GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file->handle != INVALID_HANDLE_VALUE) {
            InterlockedExchange(&file->pending, 1);
            return fileCount++;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            errno = errnoOf(error);
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

bool writeAtomicFile(int file, const char* bytes, int length) {
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(files[file].handle, bytes, static_cast<DWORD>(length), &written, nullptr) ||
            written == 0) {
            errno = errnoOf(GetLastError());
            return false;
        }
        bytes += written;
        length -= static_cast<int>(written);
    }
    return true;
}

bool commitAtomicFile(int file) {
    AtomicFile* f = &files[file];
    bool done = FlushFileBuffers(f->handle) != 0;
    DWORD error = done ? 0 : GetLastError();
    CloseHandle(f->handle);
    f->handle = INVALID_HANDLE_VALUE;
    if (done &&
        !MoveFileExA(f->temporary, f->target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        done = false;
        error = GetLastError();
    }
    if (!done) DeleteFileA(f->temporary);
    InterlockedExchange(&f->pending, 0);
    if (!done) errno = errnoOf(error);
    return done;
}

void discardAtomicFiles() {
    for (int i = 0; i < fileCount; ++i) {
        if (InterlockedExchange(&files[i].pending, 0) == 0) continue;
        if (files[i].handle != INVALID_HANDLE_VALUE) {
            FILE_DISPOSITION_INFO disposition = {TRUE};
            SetFileInformationByHandle(files[i].handle, FileDispositionInfo, &disposition,
                                       sizeof disposition);
        } else {
            DeleteFileA(files[i].temporary);
        }
    }
    fileCount = 0;
}
