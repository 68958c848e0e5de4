// The stand-in's file side: drops as the platform hands them out, and
// whether the component let go of them.
#include <gtest/gtest.h>

#include "sim/core/Text.h"
#include "support/FreshWorld.h"

namespace {

using FilesTest = support::FreshWorldTest;

TEST_F(FilesTest, ADropTellsItsCountAndCutsPathsToTheBuffer) {
    HDROP drop = sim::MakeDrop({u"/a/one.png", u"/b/two.txt"});
    EXPECT_EQ(DragQueryFileW(drop, 0xFFFFFFFFu, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileW(drop, 1, nullptr, 0), 10u);
    char16_t small[5] = {u'x', u'x', u'x', u'x', u'x'};
    EXPECT_EQ(DragQueryFileW(drop, 0, small, 5), 10u);
    EXPECT_EQ(std::u16string(small), u"/a/o");
    EXPECT_EQ(DragQueryFileW(drop, 2, small, 5), 0u);
    EXPECT_EQ(DragQueryFileW(nullptr, 0xFFFFFFFFu, nullptr, 0), 0u);
    EXPECT_FALSE(sim::IsDropFinished(drop));
    DragFinish(drop);
    EXPECT_TRUE(sim::IsDropFinished(drop));
}

}  // namespace
