// The stand-in's message store, not the component: a page of history
// costs the same whether the conversation holds a hundred messages or a
// million, since page reads walk an ordered store from one lookup. The
// component's own figures stand on this.
#include <benchmark/benchmark.h>

#include "sdk/qel_conversation.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_ext_api.h"
#include "BenchSupport.h"
#include "sim/driver.h"

namespace {

struct World {
    qel_handle conv = nullptr;
    std::vector<uint64_t> ids;
};

// One world per size, built once: a million messages take a while, so the
// benchmarks of one size run together (see the registration below).
const World& WorldOf(int64_t size) {
    size = bench::Size(size, std::min<int64_t>(size, 1000));
    static int64_t builtSize = -1;
    static int builtGeneration = -1;
    static World world;
    if (builtSize != size || builtGeneration != bench::WorldGeneration()) {
        bench::ResetWorld();
        builtGeneration = bench::WorldGeneration();
        sim::AddAccount("me");
        world.conv = sim::OpenConversation("bob");
        world.ids = sim::AddStoredMsgs(world.conv, int(size) - 10, true);
        for (int i = 0; i < 10; ++i) sim::DeliverIncomingMsg(world.conv, "unread");
        builtSize = size;
    }
    return world;
}

void BM_NewestPage(benchmark::State& state) {
    const World& world = WorldOf(state.range(0));
    for (auto _ : state) {
        qel_cxx_helper::HandleArray list;
        qel_conversation_get_page_record(world.conv, 0, UINT64_MAX, 0, 26, 1, list.out_list(), list.out_count(), 0);
        benchmark::DoNotOptimize(list.count());
    }
}

void BM_OlderPageInTheMiddle(benchmark::State& state) {
    const World& world = WorldOf(state.range(0));
    const uint64_t oldestShown = world.ids[world.ids.size() / 2];
    for (auto _ : state) {
        qel_cxx_helper::HandleArray list;
        qel_conversation_get_page_record(world.conv, 0, oldestShown, 0, 11, 1, list.out_list(), list.out_count(), 0);
        benchmark::DoNotOptimize(list.count());
    }
}

void BM_ReadAndUnreadPages(benchmark::State& state) {
    const World& world = WorldOf(state.range(0));
    for (auto _ : state) {
        qel_cxx_helper::HandleArray unread, read;
        qel_ext::QelConvGetUnreadPageRecord(world.conv, 0, 0x7fffffff, unread.out_list(), unread.out_count(), false);
        qel_ext::QelConvGetReadPageRecord(world.conv, 0, 10, read.out_list(), read.out_count());
        benchmark::DoNotOptimize(unread.count() + read.count());
    }
}

void BM_FindBySequence(benchmark::State& state) {
    const World& world = WorldOf(state.range(0));
    uint64_t seq = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(qel_conversation_find_msg_from_conv_msg_id(world.conv, seq));
        seq = seq % uint64_t(world.ids.size() + 10) + 1;
    }
}

void RegisterStoreBenchmarks() {
    for (int64_t size : {100, 1000000}) {
        benchmark::RegisterBenchmark("BM_NewestPage", BM_NewestPage)->Arg(size);
        benchmark::RegisterBenchmark("BM_OlderPageInTheMiddle", BM_OlderPageInTheMiddle)->Arg(size);
        benchmark::RegisterBenchmark("BM_ReadAndUnreadPages", BM_ReadAndUnreadPages)->Arg(size);
        benchmark::RegisterBenchmark("BM_FindBySequence", BM_FindBySequence)->Arg(size);
    }
}
const bool registered = (RegisterStoreBenchmarks(), true);

}  // namespace
