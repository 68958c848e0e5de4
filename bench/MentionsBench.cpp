// What one keystroke in a group costs, from the input's text change to the
// member popup filled and placed: a keyword that matches 50 members must
// cost about the same in a group of 100 as in one of 10,000, and "@"
// alone, which lists everybody, must fit in a frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "component/TaviImpl.h"
#include "panel/TaviPanel.h"
#include "panel/TaviSearchWindow.h"
#include "sdk/chatwnd.h"
#include "sdk/qel_account.h"
#include "BenchSupport.h"
#include "sdk/qel_attribs.h"
#include "sdk/ui/RichEditUI.h"
#include "sim/driver.h"

namespace {

constexpr int kNamedAlike = 50;  // members whose names hold "zoe"

// One world for every benchmark: the module loaded and a group chat open
// on each of the two groups, "small" (100 members) and "big" (10,000).
class World {
public:
    // Built again when another benchmark has started a world of its own.
    static World& Get() {
        static std::unique_ptr<World> world;
        static int generation = -1;
        if (!world || generation != bench::WorldGeneration()) {
            world.reset(new World);
            generation = bench::WorldGeneration();
        }
        return *world;
    }
    CRichEditUI* Input(int64_t members) const { return Panel(members)->GetInputEdit(); }
    tavi::CTaviPanel* Panel(int64_t members) const {
        CChatWindowUI* chat = sim::FindChatWindow(members == 100 ? m_small : m_big);
        return static_cast<tavi::CTaviImpl*>(chat->GetTavi())->GetPanel();
    }

private:
    World() {
        bench::ResetWorld();
        m_module = CreateDllObj(u"tavi");
        sim::AddModule(m_module);
        m_module->Init(sim::GetHost());
        sim::AddAccount("me");
        AddGroup("small", 100);
        AddGroup("big", 10000);
        m_small = sim::OpenChatWindow(sim::ChatKind::Group, "small");
        m_big = sim::OpenChatWindow(sim::ChatKind::Group, "big");
        sim::RunUntilIdle();
    }
    static void AddGroup(const std::string& id, int members) {
        sim::AddGroup(id);
        sim::AddGroupMember(id, "me");
        for (int k = 1; k < members; ++k) {
            const std::string member = id + "." + std::to_string(k);
            const std::string name = (k <= kNamedAlike ? "Zoe" : "Member") + std::to_string(k);
            sim::AddBuddy(member, name, false);
            sim::AddGroupMember(id, member);
        }
        sim::OpenConversation(id, true);
    }

    pfx::IDllObj* m_module = nullptr;
    HWND m_small = nullptr;
    HWND m_big = nullptr;
};

// The thread's processor time: the machine is shared, and wall time
// would measure the neighbours.
double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Types the last character of `text` after the rest, and waits for the popup.
double Keystroke(CRichEditUI* input, const std::u16string& text) {
    input->SetText(text.substr(0, text.size() - 1));
    input->SetSel(-1, -1);
    const double start = CpuMs();
    sim::TypeText(input, text.substr(text.size() - 1));
    sim::RunUntilIdle();
    return CpuMs() - start;
}

double Percentile(std::vector<double> samples, double p) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[std::min(samples.size() - 1, size_t(p * double(samples.size())))];
}

void Report(benchmark::State& state, const std::vector<double>& ms) {
    state.counters["p50_ms"] = Percentile(ms, 0.50);
    state.counters["p99_ms"] = Percentile(ms, 0.99);
    state.counters["p99_ns"] = Percentile(ms, 0.99) * 1e6;  // for the table of goals
}

// "@zo": 50 members match, in either group.
void BM_KeystrokeNarrowKeyword(benchmark::State& state) {
    CRichEditUI* input = World::Get().Input(state.range(0));
    Keystroke(input, u"@zo");  // the group's index is built once, before timing
    std::vector<double> ms;
    for (auto _ : state) ms.push_back(Keystroke(input, u"@zo"));
    if (World::Get().Panel(state.range(0))->GetSearchWindow()->GetRowCount() != kNamedAlike)
        state.SkipWithError("the popup does not show the 50 matches");
    Report(state, ms);
}
BENCHMARK(BM_KeystrokeNarrowKeyword)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// "@" alone: every member is listed.
void BM_KeystrokeBareAt(benchmark::State& state) {
    CRichEditUI* input = World::Get().Input(state.range(0));
    std::vector<double> ms;
    for (auto _ : state) ms.push_back(Keystroke(input, u"@"));
    if (World::Get().Panel(state.range(0))->GetSearchWindow()->GetRowCount() != state.range(0) - 1)
        state.SkipWithError("the popup does not list every member");
    Report(state, ms);
}
BENCHMARK(BM_KeystrokeBareAt)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Typing "@zoe1" into each group, a character at a time; the ratio of the
// big group's p99 to the small one's for the keystrokes that match at most
// 100 members (every one after "@").
void BM_TypingRatioBigToSmall(benchmark::State& state) {
    const std::u16string word = u"@zoe1";
    std::vector<double> small, big;
    for (auto _ : state) {
        for (int64_t members : {100, 10000}) {
            CRichEditUI* input = World::Get().Input(members);
            for (size_t n = 2; n <= word.size(); ++n)
                (members == 100 ? small : big).push_back(Keystroke(input, word.substr(0, n)));
        }
    }
    const double p99Small = Percentile(small, 0.99);
    const double p99Big = Percentile(big, 0.99);
    state.counters["small_p99_ms"] = p99Small;
    state.counters["big_p99_ms"] = p99Big;
    state.counters["ratio"] = p99Small > 0 ? p99Big / p99Small : 0;
}
BENCHMARK(BM_TypingRatioBigToSmall)->Unit(benchmark::kMillisecond);

}  // namespace
