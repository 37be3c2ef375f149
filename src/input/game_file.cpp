#include "input/game_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0  // a line end is white space to the formatted reads, CR or not
#endif

int openGameFile(const char* path) {
    const int file = open(path, O_RDONLY | O_BINARY);
    if (file < 0) return -1;
    struct stat status;
    if (fstat(file, &status) == 0 && S_ISDIR(status.st_mode)) {
        close(file);
        errno = EISDIR;
        return -1;
    }
    return file;
}

int readGameFile(int file, char* buffer, int capacity) {
    for (;;) {
        const int got = static_cast<int>(read(file, buffer, static_cast<unsigned>(capacity)));
        if (got >= 0 || errno != EINTR) return got;
    }
}

void closeGameFile(int file) { close(file); }

bool isStandardOutput(int file) {
#ifdef _WIN32
    (void)file;
    return false;
#else
    struct stat input;
    struct stat output;
    return fstat(file, &input) == 0 && fstat(STDOUT_FILENO, &output) == 0 &&
           S_ISREG(output.st_mode) && input.st_dev == output.st_dev &&
           input.st_ino == output.st_ino;
#endif
}

bool isTerminal(int file) {
#ifdef _WIN32
    return _isatty(file) != 0;
#else
    return isatty(file) != 0;
#endif
}
