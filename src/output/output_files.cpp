#include "output/output_files.h"

#include <cerrno>
#include <cstring>

#include "console/console.h"
#include "output/output_formats.h"
#include "output/output_text.h"
#include "platform/atomic_file.h"

namespace {

struct PreparedFile {
    const char* path;            // as given on the command line
    const OutputFormat* format;  // chosen by its extension
    int file;                    // its atomic file
};

PreparedFile prepared[kMaxAtomicFiles];
int preparedCount = 0;

[[noreturn]] void failWriting(const char* path) {
    printError("brown-robinson: cannot write '%s': %s\n", path, std::strerror(errno));
    endProgram(1);
}

}  // namespace

bool prepareOutputFiles(const char* const* paths, int count) {
    preparedCount = 0;
    for (int i = 0; i < count; ++i) {
        PreparedFile* out = &prepared[preparedCount];
        out->path = paths[i];
        out->format = outputFormatOf(paths[i]);
        out->file = openAtomicFile(paths[i]);
        if (out->file < 0) {
            printError("brown-robinson: cannot write '%s': %s\n", paths[i], std::strerror(errno));
            return false;
        }
        ++preparedCount;
    }
    return true;
}

// Every file is written before any is put in place, so that a full disk
// leaves all the targets as they were.
void writeOutputFiles() {
    for (int i = 0; i < preparedCount; ++i) {
        startOutputText(prepared[i].file);
        prepared[i].format->write();
        if (!finishOutputText()) failWriting(prepared[i].path);
    }
    for (int i = 0; i < preparedCount; ++i) {
        if (!commitAtomicFile(prepared[i].file)) failWriting(prepared[i].path);
    }
}
