// Which groups carry a conversation type: those without a tag and those
// tagged 4; other tags make no kind of group the send rules know.
#include <gtest/gtest.h>

#include "msghandle/GroupKind.h"
#include "sim/driver.h"

namespace {

class GroupKind : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
        sim::AddAccount("me");
    }
    void TearDown() override { sim::ResetAll(); }
};

TEST_F(GroupKind, OnlyUntaggedGroupsAndTagFourHaveAConversationType) {
    EXPECT_EQ(tavi::GroupConvType(nullptr), std::nullopt);
    // tag -2: none set.
    const std::pair<int64_t, bool> cases[] = {{-2, true}, {-1, true}, {4, true}, {0, false}, {3, false}, {5, false}};
    for (const auto& [tag, typed] : cases) {
        qel_handle group = sim::AddGroup("g" + std::to_string(tag + 2));
        if (tag != -2) sim::ServerSetAttrib(group, "tag", tag);
        EXPECT_EQ(tavi::GroupConvType(group), typed ? std::optional<int>(tavi::kConvTypeUnknown) : std::nullopt)
            << tag;
        sim::ServerSetAttrib(group, "conv-type", int64_t(6), "ext");
        EXPECT_EQ(tavi::GroupConvType(group), typed ? std::optional<int>(6) : std::nullopt) << tag;
    }
}

}  // namespace
