#include "output/output_formats.h"

#include "output/csv_table.h"
#include "output/html_report.h"
#include "output/saved_games.h"
#include "output/svg_picture.h"

namespace {

const OutputFormat kFormats[] = {
    {".svg", writeSvgPicture}, {".html", writeHtmlReport},  {".csv", writeCsvTable},
    {".nfg", writeNfgGame},    {".game", writeAnswersGame},
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

const OutputFormat* outputFormatOf(const char* path) {
    for (const OutputFormat& format : kFormats) {
        if (endsIn(path, format.extension)) return &format;
    }
    return nullptr;
}

const char* outputExtensionList() {
    static char list[128];
    if (list[0] != '\0') return list;
    int length = 0;
    const int count = static_cast<int>(sizeof kFormats / sizeof kFormats[0]);
    for (int f = 0; f < count; ++f) {
        const char* separator = f == 0 ? "" : f == count - 1 ? " or " : ", ";
        for (const char* c = separator; *c != '\0'; ++c) list[length++] = *c;
        for (const char* c = kFormats[f].extension; *c != '\0'; ++c) list[length++] = *c;
    }
    list[length] = '\0';
    return list;
}
