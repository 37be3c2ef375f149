// Reads keys the way the program reads them and writes the codes of each
// key to a file, one key a line: "27", "0 16", "224 72". A key without a
// character gives its two codes on two reads, and both go on one line. The
// first line, written before the first key is read, is "ready" and the
// process id. Ctrl+D (code 4) ends the run normally.
//
// Usage: key_probe FILE
#include <cstdio>

#include <unistd.h>

#include "console/console.h"

namespace {

constexpr int kEndKey = 4;

bool isLeadCode(int code) { return code == 0 || code == 0xE0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: key_probe FILE\n");
        return 2;
    }
    FILE* codes = std::fopen(argv[1], "w");
    if (codes == nullptr) {
        std::perror(argv[1]);
        return 2;
    }
    startConsole();
    std::fprintf(codes, "ready %d\n", static_cast<int>(getpid()));
    std::fflush(codes);
    for (;;) {
        const int first = readKey();
        if (first < 0 || first == kEndKey) break;
        if (isLeadCode(first)) {
            std::fprintf(codes, "%d %d\n", first, readKey());
        } else {
            std::fprintf(codes, "%d\n", first);
        }
        std::fflush(codes);
    }
    std::fclose(codes);
    endProgram(0);
}
