// tavi_soak --seed N --steps M [--trace]: a long seeded soak; prints its
// counts and every problem found, and fails when there is one. --trace
// writes every action, its chat and its SDK requests to standard error.
#include <cstdlib>
#include <iostream>
#include <string>

#include "SoakEngine.h"

int main(int argc, char** argv) {
    uint64_t seed = 1;
    long steps = 20000;
    bool trace = false;
    if (argc > 1 && std::string(argv[argc - 1]) == "--trace") {
        trace = true;
        --argc;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        char* end = nullptr;
        const unsigned long long value = std::strtoull(argv[i + 1], &end, 10);
        if (*end != '\0') {
            std::cerr << "not a number: " << argv[i + 1] << "\n";
            return 2;
        }
        if (option == "--seed") {
            seed = value;
        } else if (option == "--steps") {
            steps = long(value);
        } else {
            std::cerr << "usage: tavi_soak [--seed N] [--steps M] [--trace]\n";
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::cerr << "usage: tavi_soak [--seed N] [--steps M] [--trace]\n";
        return 2;
    }
    const soak::Result result = soak::Run(seed, int(steps), {}, trace ? &std::cerr : nullptr);
    std::cout << "seed " << seed << "\n" << soak::Describe(result.counts);
    for (const std::string& problem : result.problems) std::cout << "PROBLEM " << problem << "\n";
    std::cout << (result.problems.empty() ? "ok" : "FAILED") << " (" << result.problems.size() << " problems)\n";
    return result.problems.empty() ? 0 : 1;
}
