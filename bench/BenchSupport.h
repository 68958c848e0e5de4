// What the benchmarks share: small data for the suite's run-once check,
// and percentiles of timed samples.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sim/driver.h"

namespace bench {

// TAVI_BENCH_SMALL=1 makes every benchmark use small data, so that the test
// suite can check that each one runs without waiting for real sizes.
inline bool Small() {
    const char* value = std::getenv("TAVI_BENCH_SMALL");
    return value && *value == '1';
}
inline int64_t Size(int64_t full, int64_t small) { return Small() ? small : full; }

// Every benchmark starts its world afresh through this, so that one that
// keeps a costly world between runs can tell whether it is still there.
inline int& WorldGeneration() {
    static int generation = 0;
    return generation;
}
inline void ResetWorld() {
    sim::ResetAll();
    ++WorldGeneration();
}

// Reports the 99th percentile of per-iteration samples (in ns) as the
// counter "p99_ns" beside Google Benchmark's mean.
inline void ReportP99(benchmark::State& state, std::vector<double> samples) {
    if (samples.empty()) return;
    std::sort(samples.begin(), samples.end());
    const size_t at = std::min(samples.size() - 1, size_t(double(samples.size()) * 0.99));
    state.counters["p99_ns"] = samples[at];
}

}  // namespace bench
