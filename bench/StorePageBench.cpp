// A page of history costs the same whether the conversation holds a
// hundred messages or a million: page reads walk an ordered store from
// one lookup.
#include <benchmark/benchmark.h>

#include "sdk/qel_conversation.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_ext_api.h"
#include "sim/driver.h"

namespace {

struct World {
    qel_handle conv = nullptr;
    std::vector<uint64_t> ids;
};

// One world per size, built once: a million messages take a while.
const World& WorldOf(int64_t size) {
    static int64_t builtSize = -1;
    static World world;
    if (builtSize != size) {
        sim::ResetAll();
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
        seq = seq % uint64_t(state.range(0)) + 1;
    }
}

}  // namespace

BENCHMARK(BM_NewestPage)->Arg(100)->Arg(1000000);
BENCHMARK(BM_OlderPageInTheMiddle)->Arg(100)->Arg(1000000);
BENCHMARK(BM_ReadAndUnreadPages)->Arg(100)->Arg(1000000);
BENCHMARK(BM_FindBySequence)->Arg(100)->Arg(1000000);
