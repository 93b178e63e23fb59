// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target once on every file named on the command line or found in a folder named
// there, so the seeds and every input a fuzzer found stay tests of the ordinary build.
#include "fuzzing.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char **argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path p(argv[i]);
        if (fs::is_directory(p)) {
            for (const fs::directory_entry &entry : fs::directory_iterator(p)) {
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            }
        } else {
            inputs.push_back(p);
        }
    }
    // A wrong path would otherwise pass as an empty corpus.
    if (inputs.empty()) {
        std::cerr << "no inputs\n";
        return 1;
    }
    std::sort(inputs.begin(), inputs.end());

    for (const fs::path &p : inputs) {
        std::ifstream in(p, std::ios::binary);
        if (!in) {
            std::cerr << "cannot read " << p << '\n';
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        // Named before the run: a broken property aborts without saying which input it was.
        std::cerr << "input " << p.filename() << '\n';
        static const uint8_t none = 0;
        const auto *data = bytes.empty() ? &none : reinterpret_cast<const uint8_t *>(bytes.data());
        LLVMFuzzerTestOneInput(data, bytes.size());
    }
    std::cout << inputs.size() << " inputs passed\n";
    return 0;
}
