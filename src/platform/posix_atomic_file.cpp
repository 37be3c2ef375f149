// The primitives of the files written whole, on POSIX. Where Linux takes
// O_TMPFILE the temporary has no name while it is written and is linked
// into the folder only when complete; elsewhere it is made with O_EXCL.
// Everything a signal handler calls (close, unlink, rename) is
// async-signal-safe.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file_system.h"
#include "platform/temporary_name.h"
#include "text/text_buffer.h"
#include "text/text_format.h"

namespace {

// As many links as the system follows in one path.
constexpr int kMaxLinks = 40;

int fdOf(const AtomicSlot* slot) { return static_cast<int>(slot->handle); }

// The error the system would give, or 0.
int result(int returned) { return returned == 0 ? 0 : errno; }

// A refusal of O_TMPFILE that means the file system (or the kernel) has
// none, not that the folder cannot be written: a kernel without it takes
// the flag for O_DIRECTORY and says EISDIR.
bool noUnnamedFiles(int problem) {
    return problem == EOPNOTSUPP || problem == EISDIR || problem == EINVAL;
}

int openUnnamedIn(const AtomicSlot* slot, int* fd) {
#ifdef O_TMPFILE
    char folder[kAtomicPathCapacity];
    if (!folderOf(slot->place, folder, kAtomicPathCapacity)) return ENAMETOOLONG;
    *fd = open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    return *fd >= 0 ? 0 : errno;
#else
    (void)slot;
    *fd = -1;
    return EOPNOTSUPP;
#endif
}

// The link's text, taken from the folder of the link when it is relative.
int followLink(char* place, const char* text) {
    char next[kAtomicPathCapacity];
    TextBuffer path = boundedText(next, kAtomicPathCapacity);
    if (text[0] != '/') {
        char folder[kAtomicPathCapacity];
        if (!folderOf(place, folder, kAtomicPathCapacity)) return ENAMETOOLONG;
        appendText(&path, folder);
        appendChar(&path, '/');
    }
    appendText(&path, text);
    if (textFull(&path)) return ENAMETOOLONG;
    endText(&path);
    memcpy(place, next, static_cast<size_t>(path.length) + 1);
    return 0;
}

}  // namespace

// Replacing a symbolic link would replace the link, not the file it
// stands for, as `>` and cp write through it. A link to a file that does
// not exist yet makes that file.
int systemFindPlace(AtomicSlot* slot) {
    const size_t length = strlen(slot->target);
    if (length + 1 > sizeof slot->place) return ENAMETOOLONG;
    memcpy(slot->place, slot->target, length + 1);
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        char text[kAtomicPathCapacity];
        const ssize_t got = readlink(slot->place, text, sizeof text - 1);
        if (got < 0) return errno == EINVAL || errno == ENOENT ? 0 : errno;
        text[got] = '\0';
        const int problem = followLink(slot->place, text);
        if (problem != 0) return problem;
    }
    return ELOOP;
}

// A file that may not be written is not replaced behind its owner's back;
// nor is a file of another user in a sticky folder (such as /tmp), where
// the rename would be refused at the very end.
int systemCheckPlace(const AtomicSlot* slot) {
    struct stat file;
    if (stat(slot->place, &file) != 0) return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(file.st_mode)) return EISDIR;
    // A device, a pipe or a socket is not replaced by a file: followed
    // from a link to /dev/null, a run as root would otherwise leave a
    // plain file where /dev/null was.
    if (!S_ISREG(file.st_mode)) return EOPNOTSUPP;
    if (faccessat(AT_FDCWD, slot->place, W_OK, AT_EACCESS) != 0) return errno;
    char folder[kAtomicPathCapacity];
    struct stat above;
    if (!folderOf(slot->place, folder, kAtomicPathCapacity)) return ENAMETOOLONG;
    if (stat(folder, &above) != 0) return errno;
    const uid_t me = geteuid();
    if ((above.st_mode & S_ISVTX) != 0 && me != 0 && file.st_uid != me && above.st_uid != me)
        return EACCES;
    return 0;
}

int systemProbeFolder(const AtomicSlot* slot) {
    int fd = -1;
    const int problem = openUnnamedIn(slot, &fd);
    if (problem == 0) close(fd);
    return noUnnamedFiles(problem) ? kProbeByName : problem;
}

// Only where the file can be given its name at the end: through /proc,
// or without it with the privilege AT_EMPTY_PATH needs.
int systemOpenUnnamed(AtomicSlot* slot) {
    if (access("/proc/self/fd", X_OK) != 0 && geteuid() != 0) return EOPNOTSUPP;
    int fd = -1;
    const int problem = openUnnamedIn(slot, &fd);
    slot->handle = fd;
    return noUnnamedFiles(problem) ? EOPNOTSUPP : problem;
}

int systemCreateNamed(AtomicSlot* slot) {
    const int fd = open(slot->temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    slot->handle = fd;
    return fd >= 0 ? 0 : errno;
}

int systemWrite(AtomicSlot* slot, const char* bytes, int length) {
    while (length > 0) {
        const ssize_t written = write(fdOf(slot), bytes, static_cast<size_t>(length));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return errno;
        if (written == 0) return EIO;
        bytes += written;
        length -= static_cast<int>(written);
    }
    return 0;
}

// The owner first: a change of owner clears the set-ID bits. Only the
// permission bits are copied (not set-ID nor sticky), and an owner this
// process may not give (it is not root) stays its own, the group too
// where it is not one of the process's.
void systemCopyAttributes(AtomicSlot* slot) {
    struct stat old;
    if (stat(slot->place, &old) != 0) return;
    if (fchown(fdOf(slot), old.st_uid, old.st_gid) != 0) {
        (void)!fchown(fdOf(slot), static_cast<uid_t>(-1), old.st_gid);
    }
    fchmod(fdOf(slot), old.st_mode & 0777);
}

// Through /proc, which any process may do; AT_EMPTY_PATH needs a
// privilege, but works without /proc.
int systemGiveName(AtomicSlot* slot) {
    char self[48];
    TextBuffer path = boundedText(self, sizeof self);
    char number[24];
    formatInteger(fdOf(slot), number);
    appendText(&path, "/proc/self/fd/");
    appendText(&path, number);
    endText(&path);
    if (linkat(AT_FDCWD, self, AT_FDCWD, slot->temporary, AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno == EEXIST) return EEXIST;
#ifdef AT_EMPTY_PATH
    return result(linkat(fdOf(slot), "", AT_FDCWD, slot->temporary, AT_EMPTY_PATH));
#else
    return errno;
#endif
}

// No fsync: it would cost a run more than everything else it does (some
// ten milliseconds a file on a disk), and what is guarded against here is
// a run that fails or ends early, not the machine losing power. Where
// that matters, file systems such as ext4 write the data of a file
// renamed over another before the rename.
int systemClose(AtomicSlot* slot) {
    const int fd = fdOf(slot);
    slot->handle = kNoHandle;
    if (close(fd) == 0 || errno == EINTR) return 0;
    return errno;
}

void systemDropOpen(AtomicSlot* slot) {
    if (slot->handle != kNoHandle) close(fdOf(slot));
    slot->handle = kNoHandle;
}

// A folder that took a file's place mid-run refuses a link with EPERM;
// the rename would have said what it is.
int systemKeepOld(AtomicSlot* slot) {
    if (link(slot->place, slot->oldName) == 0) return 0;
    const int problem = errno;
    struct stat file;
    if (problem == EPERM && stat(slot->place, &file) == 0 && S_ISDIR(file.st_mode)) return EISDIR;
    return problem;
}

int systemPlace(AtomicSlot* slot) { return result(rename(slot->temporary, slot->place)); }

int systemPutBack(AtomicSlot* slot) { return result(rename(slot->oldName, slot->place)); }

int systemRemove(const char* name) {
    if (unlink(name) == 0 || errno == ENOENT) return 0;
    return errno;
}

void systemForgetUnplaced() {}

bool systemSameFile(const char* one, const char* other) {
    struct stat a;
    struct stat b;
    return stat(one, &a) == 0 && stat(other, &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

int64_t systemProcessNumber() { return getpid(); }
