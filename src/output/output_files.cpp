#include "output/output_files.h"
#include "text/translation.h"

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

// A file that could not be removed or put back is named, so that the
// user can find it.
void reportLeftBehind() {
    int problem = 0;
    const char* name = atomicFileLeftBehind(&problem);
    if (name != nullptr) {
        printError(tr("brown-robinson: cannot remove '%s': %s\n"), shownPath(name),
                   std::strerror(problem));
    }
}

[[noreturn]] void failWriting(const char* path) {
    const int problem = errno;
    printError(tr("brown-robinson: cannot write '%s': %s\n"), shownPath(path),
               std::strerror(problem));
    reportLeftBehind();
    endProgram(1);
}

}  // namespace

bool prepareOutputFiles(const char* const* paths, int count, const char* gameFile,
                        const TypedGame* known) {
    preparedCount = 0;
    for (int i = 0; i < count; ++i) {
        // Written at the end, the game file would no longer be the game
        // that was read: a constant-sum game would come back zero-sum.
        if (gameFile != nullptr && isSameFile(paths[i], gameFile)) {
            printError(tr("brown-robinson: '%s': input file is output file\n"),
                       shownPath(paths[i]));
            return false;
        }
        PreparedFile* out = &prepared[preparedCount];
        out->path = paths[i];
        out->format = outputFormatOf(paths[i]);
        if (known != nullptr && out->format->applies != nullptr && !out->format->applies(*known)) {
            printError(tr("brown-robinson: cannot write '%s': %s\n"), shownPath(paths[i]),
                       out->format->withoutIt());
            return false;
        }
        out->file = openAtomicFile(paths[i]);
        if (out->file < 0) {
            printError(tr("brown-robinson: cannot write '%s': %s\n"), shownPath(paths[i]),
                       std::strerror(errno));
            reportLeftBehind();
            return false;
        }
        ++preparedCount;
    }
    return true;
}

// Every file is written before any is put in place, so that a full disk
// leaves all the targets as they were.
void writeOutputFiles() {
    TypedGame played;
    typedGameOfRecord(&game, &played);
    for (int i = 0; i < preparedCount; ++i) {
        // A file the game has none of is left alone, its target as it was.
        const OutputFormat* format = prepared[i].format;
        if (format->applies != nullptr && !format->applies(played)) {
            printError(tr("brown-robinson: '%s' not written: %s\n"), shownPath(prepared[i].path),
                       format->withoutIt());
            continue;
        }
        if (!beginAtomicFile(prepared[i].file)) failWriting(prepared[i].path);
        startOutputText(prepared[i].file);
        prepared[i].format->write();
        if (!finishOutputText()) failWriting(prepared[i].path);
    }
    int failed = 0;
    if (preparedCount > 0 && !commitAtomicFiles(&failed)) failWriting(prepared[failed].path);
    preparedCount = 0;
}
