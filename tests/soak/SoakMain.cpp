// tavi_soak --seed N --steps M: a long seeded soak; prints its counts and
// every problem found, and fails when there is one.
#include <cstdlib>
#include <iostream>
#include <string>

#include "SoakEngine.h"

int main(int argc, char** argv) {
    uint64_t seed = 1;
    long steps = 20000;
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
            std::cerr << "usage: tavi_soak [--seed N] [--steps M]\n";
            return 2;
        }
    }
    if (argc % 2 == 0) {
        std::cerr << "usage: tavi_soak [--seed N] [--steps M]\n";
        return 2;
    }
    const soak::Result result = soak::Run(seed, int(steps));
    std::cout << "seed " << seed << "\n" << soak::Describe(result.counts);
    for (const std::string& problem : result.problems) std::cout << "PROBLEM " << problem << "\n";
    std::cout << (result.problems.empty() ? "ok" : "FAILED") << " (" << result.problems.size() << " problems)\n";
    return result.problems.empty() ? 0 : 1;
}
