// Files written whole or not at all, on POSIX: open(O_EXCL) beside the
// target, write, close, rename. The temporary names live in static
// storage, so that a signal handler can remove them with unlink alone.
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/temporary_name.h"

namespace {

// Room for the longest path the system takes and the temporary suffix.
constexpr int kPathCapacity = 4096 + 32;

struct AtomicFile {
    const char* target;             // the path given, renamed over at the end
    char temporary[kPathCapacity];  // target + ".XXXXXX.tmp", beside it
    int fd;                         // open while the file is being written, else -1
    volatile sig_atomic_t pending;  // the temporary file exists and is not yet renamed
};

AtomicFile files[kMaxAtomicFiles];
int fileCount = 0;

}  // namespace

int openAtomicFile(const char* path) {
    if (fileCount == kMaxAtomicFiles) {
        errno = EMFILE;
        return -1;
    }
    // A folder in the target's place would refuse the rename at the end.
    struct stat existing;
    if (stat(path, &existing) == 0 && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return -1;
    }
    AtomicFile* file = &files[fileCount];
    file->target = path;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (!temporaryNameOf(path, getpid(), fileCount * 100 + attempt, file->temporary,
                             kPathCapacity)) {
            errno = ENAMETOOLONG;
            return -1;
        }
        file->fd = open(file->temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file->fd >= 0) {
            file->pending = 1;
            return fileCount++;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

bool writeAtomicFile(int file, const char* bytes, int length) {
    while (length > 0) {
        const ssize_t written = write(files[file].fd, bytes, static_cast<size_t>(length));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = EIO;
            return false;
        }
        bytes += written;
        length -= static_cast<int>(written);
    }
    return true;
}

bool commitAtomicFile(int file) {
    AtomicFile* f = &files[file];
    // No fsync: it would cost a run more than everything else it does
    // (some ten milliseconds a file on a disk), and what is guarded against
    // here is a run that fails or ends early, not the machine losing power.
    // Where that matters, file systems such as ext4 write the data of a
    // file renamed over another before the rename.
    bool done = close(f->fd) == 0;
    int problem = done ? 0 : errno;
    f->fd = -1;
    if (done && rename(f->temporary, f->target) != 0) {
        done = false;
        problem = errno;
    }
    if (!done) unlink(f->temporary);
    f->pending = 0;
    errno = problem;
    return done;
}

void discardAtomicFiles() {
    for (int i = 0; i < fileCount; ++i) {
        if (files[i].pending) {
            files[i].pending = 0;
            if (files[i].fd >= 0) close(files[i].fd);
            files[i].fd = -1;
            unlink(files[i].temporary);
        }
    }
    fileCount = 0;
}
