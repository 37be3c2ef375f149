#include "output/output_formats.h"

#include "output/csv_table.h"
#include "output/graph_picture.h"
#include "output/html_report.h"
#include "output/saved_games.h"
#include "output/svg_picture.h"
#include "text/translation.h"

namespace {

const char* withoutGraphPicture() {
    return tr("the game has no graphical solution: dominance leaves neither player two strategies");
}

const OutputFormat kFormats[] = {
    {".svg", writeSvgPicture, nullptr, nullptr},
    {".graph.svg", writeGraphPicture, hasGraphPicture, withoutGraphPicture},
    {".html", writeHtmlReport, nullptr, nullptr},
    {".csv", writeCsvTable, nullptr, nullptr},
    {".nfg", writeNfgGame, nullptr, nullptr},
    {".game", writeAnswersGame, nullptr, nullptr},
};

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether path ends in extension, letters of either case alike.
bool endsIn(const char* path, const char* extension) {
    int pathLength = 0;
    while (path[pathLength] != '\0') ++pathLength;
    int length = 0;
    while (extension[length] != '\0') ++length;
    if (pathLength <= length) return false;  // ".svg" alone names no file
    const char* tail = path + pathLength - length;
    if (tail[-1] == '/' || tail[-1] == '\\') return false;
    for (int i = 0; i < length; ++i) {
        if (lowerCase(tail[i]) != extension[i]) return false;
    }
    return true;
}

}  // namespace

// The longest extension that fits: "x.graph.svg" is the graph, not the run.
const OutputFormat* outputFormatOf(const char* path) {
    const OutputFormat* found = nullptr;
    int foundLength = 0;
    for (const OutputFormat& format : kFormats) {
        int length = 0;
        while (format.extension[length] != '\0') ++length;
        if (length > foundLength && endsIn(path, format.extension)) {
            found = &format;
            foundLength = length;
        }
    }
    return found;
}

const char* outputExtensionList() {
    // Made anew each time: the words between the extensions are the
    // current language's.
    static char list[160];
    int length = 0;
    const int count = static_cast<int>(sizeof kFormats / sizeof kFormats[0]);
    for (int f = 0; f < count; ++f) {
        const char* separator = f == 0 ? "" : f == count - 1 ? tr(" or ") : ", ";
        for (const char* c = separator; *c != '\0'; ++c) list[length++] = *c;
        for (const char* c = kFormats[f].extension; *c != '\0'; ++c) list[length++] = *c;
    }
    list[length] = '\0';
    return list;
}
