// Plays every saved fuzzing input once, without the fuzzer: the seed
// corpus and the inputs that once broke the program run in the ordinary
// test suite too. Arguments are directories; one that does not exist
// counts as empty, but finding no input at all is a failure. With --show
// first, each run's output and exit status are printed as well.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> inputsIn(const std::filesystem::path& directory) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> bytesOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
    int played = 0;
    const bool show = argc > 1 && std::string(argv[1]) == "--show";
    for (int a = show ? 2 : 1; a < argc; ++a) {
        for (const auto& file : inputsIn(argv[a])) {
            // Named before the run: a finding aborts the process.
            fprintf(stderr, "replaying %s\n", file.c_str());
            const std::vector<uint8_t> bytes = bytesOf(file);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            if (show) {
                showFuzzOutput(stdout);
                printf("\n[exit status %d]\n", fuzzExitStatus());
            }
            ++played;
        }
    }
    fprintf(stderr, "%d inputs replayed\n", played);
    return played > 0 ? 0 : 1;
}
