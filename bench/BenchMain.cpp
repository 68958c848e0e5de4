// Runs the benchmarks and then prints one table of the goals: for every
// measure our figure, the peer's figure from the same run where there is a
// peer, their ratio, the goal and whether it is met.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "BenchSupport.h"

namespace {

// Keeps every run's figures by benchmark name while printing as usual.
// With repetitions the best of them counts (the least time, the highest
// rate): on a busy machine the best run is the one least disturbed. Times
// are processor times of the one thread that does the work.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double ns = run.GetAdjustedCPUTime() * NsPerUnit(run.time_unit);
            auto [it, fresh] = m_figures.try_emplace(run.benchmark_name());
            Figures& f = it->second;
            f.nsPerIteration = fresh ? ns : std::min(f.nsPerIteration, ns);
            for (const auto& [name, counter] : run.counters) {
                const bool rate = (counter.flags & benchmark::Counter::kIsRate) != 0;
                auto known = f.counters.find(name);
                if (known == f.counters.end()) f.counters[name] = counter.value;
                else known->second = rate ? std::max(known->second, counter.value) : std::min(known->second, counter.value);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    struct Figures {
        double nsPerIteration = 0;
        std::map<std::string, double> counters;
    };
    const Figures* Find(const std::string& name) const {
        auto it = m_figures.find(name);
        return it == m_figures.end() ? nullptr : &it->second;
    }

private:
    static double NsPerUnit(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kSecond: return 1e9;
            case benchmark::kMillisecond: return 1e6;
            case benchmark::kMicrosecond: return 1e3;
            default: return 1;
        }
    }
    std::map<std::string, Figures> m_figures;
};

// One row of the table. `value` reads a figure of a run (nullopt when the
// run is missing); a row with a peer compares the ratio ours/peer (or
// peer/ours for times, so that bigger is better), a row without one
// compares our figure itself.
struct Goal {
    std::string measure;
    std::string ours, peer;
    std::string counter;  // "" for the time per iteration
    bool higherIsBetter;
    double limit;  // on the ratio when there is a peer, else on the figure
    std::string unit;
};

std::optional<double> Value(const CollectingReporter& reporter, const std::string& name, const std::string& counter) {
    const auto* f = reporter.Find(name);
    if (!f) return std::nullopt;
    if (counter.empty()) return f->nsPerIteration;
    auto it = f->counters.find(counter);
    if (it == f->counters.end()) return std::nullopt;
    return it->second;
}

std::string Show(std::optional<double> value, const std::string& unit) {
    if (!value) return "-";
    char text[64];
    if (unit == "MiB/s") std::snprintf(text, sizeof(text), "%.0f MiB/s", *value / (1024.0 * 1024.0));
    else if (unit == "ms") std::snprintf(text, sizeof(text), "%.3f ms", *value / 1e6);
    else if (unit == "us") std::snprintf(text, sizeof(text), "%.2f us", *value / 1e3);
    else std::snprintf(text, sizeof(text), "%.3g", *value);
    return text;
}

void PrintTable(const CollectingReporter& reporter) {
    const std::vector<Goal> goals = {
        {"MD5 of a large buffer", "BM_MD5_Ours", "BM_MD5_OpenSSL", "bytes_per_second", true, 0.97, "MiB/s"},
        {"UTF-16 to UTF-8, mixed text", "BM_ToUtf8_Ours", "BM_ToUtf8_Iconv", "bytes_per_second", true, 1.8, "MiB/s"},
        {"UTF-8 to UTF-16, mixed text", "BM_ToWide_Ours", "BM_ToWide_Iconv", "bytes_per_second", true, 1.8, "MiB/s"},
        {"largest send, fresh window (p99)", "BM_LargestSend/10", "", "p99_ns", false, 1e6, "ms"},
        {"largest send, 10,000 shown (p99) vs 10", "BM_LargestSend/10000", "BM_LargestSend/10", "p99_ns", false, 1 / 1.2, "ms"},
        {"open a chat, 1M stored", "BM_OpenChat/1000000", "", "", false, 16e6, "ms"},
        {"open a chat, 1M vs 1k stored", "BM_OpenChat/1000000", "BM_OpenChat/1000", "", false, 1 / 1.2, "ms"},
        {"ten older pages", "BM_TenOlderPages", "", "", false, 4e6, "ms"},
        {"module start: load, Init, first window", "BM_ModuleStart", "", "", false, 0, "ms"},
        {"@ keystroke, 10,000 members (p99)", "BM_KeystrokeNarrowKeyword/10000", "", "p99_ns", false, 1e6, "ms"},
        {"@ keystroke, 10,000 vs 100 members (p99)", "BM_KeystrokeNarrowKeyword/10000", "BM_KeystrokeNarrowKeyword/100",
         "p99_ns", false, 0.5, "ms"},
        {"bare @, 10,000 members (p99)", "BM_KeystrokeBareAt/10000", "", "p99_ns", false, 16e6, "ms"},
        {"extra info 2,000 deep vs a flat record", "BM_ExtraInfoNested", "BM_ExtraInfoFlat", "", false, 1 / 3.0, "us"},
    };
    std::printf("\n%-42s %14s %14s %8s %10s %s\n", "measure", "ours", "peer", "ratio", "goal", "met");
    for (const Goal& goal : goals) {
        const auto ours = Value(reporter, goal.ours, goal.counter);
        const auto peer = goal.peer.empty() ? std::nullopt : Value(reporter, goal.peer, goal.counter);
        std::optional<double> ratio;
        if (ours && peer && *ours > 0 && *peer > 0) ratio = goal.higherIsBetter ? *ours / *peer : *peer / *ours;
        char goalText[32] = "-", ratioText[32] = "-";
        const char* met = "-";
        if (ratio) std::snprintf(ratioText, sizeof(ratioText), "%.2f", goal.higherIsBetter ? *ratio : 1 / *ratio);
        if (!goal.peer.empty()) {
            std::snprintf(goalText, sizeof(goalText), goal.higherIsBetter ? ">= %.2fx" : "<= %.2fx",
                          goal.higherIsBetter ? goal.limit : 1 / goal.limit);
            if (ratio) met = *ratio >= goal.limit ? "yes" : "NO";
        } else if (goal.limit > 0) {
            std::snprintf(goalText, sizeof(goalText), "<= %s", Show(goal.limit, goal.unit).c_str());
            if (ours) met = *ours <= goal.limit ? "yes" : "NO";
        }
        std::printf("%-42s %14s %14s %8s %10s %s\n", goal.measure.c_str(), Show(ours, goal.unit).c_str(),
                    Show(peer, goal.unit).c_str(), ratioText, goalText, ours ? met : "not run");
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintTable(reporter);
    benchmark::Shutdown();
    return 0;
}
