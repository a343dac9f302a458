// Replays fuzz inputs (files, or every file in the folders given) through the harness, without
// the fuzzer: the seed corpus and every finding kept as a regression run in the ordinary tests.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "harness.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path p = argv[i];
        if (fs::is_directory(p)) {
            for (const auto& e : fs::directory_iterator(p)) {
                if (e.is_regular_file() && e.path().filename().string()[0] != '.')
                    files.push_back(e.path());
            }
        } else {
            files.push_back(p);
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        trovik_fuzz::RunInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu inputs, %llu events replayed: every promise held\n", files.size(),
                static_cast<unsigned long long>(trovik_fuzz::EventsRun()));
    return files.empty() ? 1 : 0;
}
