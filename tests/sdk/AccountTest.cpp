#include <string>
#include <vector>

#include "sdk/common_sdk.h"
#include "tests/sdk/SdkFixture.h"

TEST_F(SdkTest, BuddiesAndGroupsAreFoundThroughTheirCategories) {
    sim::AddBuddy("carol", "", false);
    sim::AddGroup("g1");
    sim::AddGroupMember("g1", "carol", 3);
    sim::AddGroupMember("g1", "me", 2);
    qel_handle buddies = qel_account_buddies(m_account);
    qel_handle friends = qel_buddies_find_cate(buddies, QEL_CATE_BUDDY);
    qel_handle groups = qel_buddies_find_cate(buddies, QEL_CATE_GROUP);

    EXPECT_EQ(qel_buddies_cate_find_buddy(friends, "bob"), m_bob);
    EXPECT_EQ(qel_buddies_cate_find_buddy(friends, "carol"), nullptr);
    EXPECT_NE(qel_buddies_cate_find_buddy(groups, "carol"), nullptr);
    EXPECT_NE(qel_buddies_find_buddy_base(buddies, "carol"), nullptr);
    EXPECT_EQ(qel_buddies_find_cate(buddies, 9), nullptr);

    qel_handle group = qel_buddies_cate_find_buddy_group(groups, "g1");
    ASSERT_NE(group, nullptr);
    EXPECT_STREQ(qel_buddy_group_get_id(group), "g1");
    EXPECT_EQ(qel_buddies_cate_find_buddy_group(friends, "g1"), nullptr);
    qel_cxx_helper::HandleArray members;
    EXPECT_EQ(qel_buddy_group_get_all_buddies(group, 1, members.out_list(), members.out_count()), 0);
    ASSERT_EQ(members.count(), 2);
    EXPECT_STREQ(qel_buddy_get_id(members[0]), "carol");
    EXPECT_EQ(qel_attribs_get_int(qel_buddy_group_get_member_attribs(group, "carol"), "authority-role", -1), 3);
    EXPECT_EQ(qel_buddy_group_get_member_attribs(group, "bob"), nullptr);

    sim::SetGroupMembersError("g1", -7);
    EXPECT_EQ(qel_buddy_group_get_all_buddies(group, 1, members.out_list(), members.out_count()), -7);
    EXPECT_EQ(members.count(), 0);

    // A group's conversation names it as the peer.
    qel_handle conv = qel_buddy_group_get_conversation(group, "group", 1);
    EXPECT_STREQ(qel_conversation_get_channel_id(conv), "group");
    EXPECT_EQ(qel_conversation_get_buddy_group(conv), group);
    EXPECT_EQ(qel_conversation_get_buddy(conv), nullptr);
    EXPECT_EQ(qel_buddy_get_conversation(m_bob, "im", 0), m_conv);
    EXPECT_EQ(qel_conversations_find_conversation(qel_ext::QelGetCurConversations(), "im:bob"), m_conv);
    EXPECT_EQ(qel_ext::QelConvGetSvrConvId(m_conv), "svr-im:bob");
}

