// The module's message map as the host walks it: the host reads the entry
// words itself, so their layout is part of what the module promises.
#include <gtest/gtest.h>

#include <vector>

#include "module/DllObject.h"
#include "module/ModuleDll.h"
#include "sdk/pfx.h"
#include "sim/driver.h"

namespace {

int g_preLogouts = 0;
void CountPreLogout() { ++g_preLogouts; }

TEST(ModuleMsgMap, OwnMapHandsPreLogoutToItsHandlerAndChainsToAnEmptyBase) {
    sim::ResetAll();
    pfx::IDllObj* module = CreateDllObj(u"tavi");
    ASSERT_NE(module, nullptr);
    module->Init(sim::GetHost());
    tavi::SetPreLogoutCallback(&CountPreLogout);
    g_preLogouts = 0;

    // Each map's entries up to the all-zero one that ends it.
    std::vector<std::vector<pfx::MsgMapEntry>> chain;
    for (const pfx::MsgMap* map = module->GetMsgMap(); map; map = map->base) {
        ASSERT_NE(map->entries, nullptr);
        std::vector<pfx::MsgMapEntry> entries;
        const pfx::MsgMapEntry* e = map->entries;
        for (; e->valid != 0; ++e) entries.push_back(*e);
        EXPECT_TRUE(e->msgId == 0 && e->reserved == 0 && e->handler == nullptr);
        chain.push_back(entries);
    }
    ASSERT_EQ(chain.size(), 2u);
    ASSERT_EQ(chain[0].size(), 1u);
    const pfx::MsgMapEntry& own = chain[0][0];
    EXPECT_EQ(own.msgId, 0x528Bu);
    EXPECT_EQ(own.reserved, 0u);
    EXPECT_EQ(own.valid, 1u);
    ASSERT_NE(own.handler, nullptr);
    own.handler(0, 0);
    EXPECT_EQ(g_preLogouts, 1);
    EXPECT_TRUE(chain[1].empty());

    module->Uninit();
    EXPECT_EQ(module->Release(), 0);
    sim::ResetAll();
}

}  // namespace
