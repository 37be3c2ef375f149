// The primitives of the files written whole, on Windows: a new file in
// the target's folder, written, flushed, closed and moved over the target
// (rename does not replace an existing file there; MoveFileExA with
// MOVEFILE_REPLACE_EXISTING does). Windows has no file without a name, so
// the temporary is named from the start. A temporary still open when the
// program ends is marked for deletion, so that the system removes it as
// the handle closes, even when the end comes from the console's event
// thread.
#include <cerrno>
#include <cstring>

#include <windows.h>

#include "platform/atomic_file_system.h"

namespace {

HANDLE handleOf(const AtomicSlot* slot) { return reinterpret_cast<HANDLE>(slot->handle); }

// errno for the few failures a user can act on; EIO for the rest.
int errnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_FILENAME_EXCED_RANGE:
            return ENAMETOOLONG;
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_FUNCTION:
            return EOPNOTSUPP;
        default:
            return EIO;
    }
}

int lastErrno() { return errnoOf(GetLastError()); }

}  // namespace

int systemFindPlace(AtomicSlot* slot) {
    const size_t length = strlen(slot->target);
    if (length + 1 > sizeof slot->place) return ENAMETOOLONG;
    memcpy(slot->place, slot->target, length + 1);
    return 0;
}

// A read-only file is one its user keeps from being written.
int systemCheckPlace(const AtomicSlot* slot) {
    const DWORD attributes = GetFileAttributesA(slot->place);
    if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return EACCES;
    return 0;
}

int systemProbeFolder(const AtomicSlot*) { return kProbeByName; }

int systemOpenUnnamed(AtomicSlot*) { return EOPNOTSUPP; }

int systemCreateNamed(AtomicSlot* slot) {
    const HANDLE handle = CreateFileA(slot->temporary, GENERIC_WRITE | DELETE, FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastErrno();
    slot->handle = reinterpret_cast<intptr_t>(handle);
    return 0;
}

int systemWrite(AtomicSlot* slot, const char* bytes, int length) {
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(handleOf(slot), bytes, static_cast<DWORD>(length), &written, nullptr) ||
            written == 0) {
            return lastErrno();
        }
        bytes += written;
        length -= static_cast<int>(written);
    }
    return 0;
}

// The new file takes the folder's permissions, as any file made there.
void systemCopyAttributes(AtomicSlot*) {}

int systemGiveName(AtomicSlot*) { return 0; }

int systemClose(AtomicSlot* slot) {
    const bool flushed = FlushFileBuffers(handleOf(slot)) != 0;
    const int problem = flushed ? 0 : lastErrno();
    CloseHandle(handleOf(slot));
    slot->handle = kNoHandle;
    return problem;
}

// Deleted as the handle closes: the process may be ending from another
// thread while this one still writes.
void systemDropOpen(AtomicSlot* slot) {
    if (slot->handle == kNoHandle) return;
    FILE_DISPOSITION_INFO disposition = {TRUE};
    SetFileInformationByHandle(handleOf(slot), FileDispositionInfo, &disposition,
                               sizeof disposition);
}

int systemKeepOld(AtomicSlot* slot) {
    if (CreateHardLinkA(slot->oldName, slot->place, nullptr)) return 0;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return ENOENT;
    return errnoOf(error);
}

int systemPlace(AtomicSlot* slot) {
    if (MoveFileExA(slot->temporary, slot->place,
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return lastErrno();
}

int systemPutBack(AtomicSlot* slot) {
    if (MoveFileExA(slot->oldName, slot->place,
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    return lastErrno();
}

int systemRemove(const char* name) {
    if (DeleteFileA(name)) return 0;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return 0;
    return errnoOf(error);
}

void systemForgetUnplaced() {}

// One file: the same volume and the same file index.
bool systemSameFile(const char* one, const char* other) {
    BY_HANDLE_FILE_INFORMATION info[2];
    const char* paths[2] = {one, other};
    for (int i = 0; i < 2; ++i) {
        const HANDLE handle =
            CreateFileA(paths[i], 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &info[i]) != 0;
        CloseHandle(handle);
        if (!known) return false;
    }
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
}

int64_t systemProcessNumber() { return GetCurrentProcessId(); }
