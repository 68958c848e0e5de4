#include <string>
#include <vector>

#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "tests/sdk/SdkFixture.h"

namespace {
const pfx::GUID kPersonKey = pfx::MakeGuid("{7CADFB98-F2B4-4BD7-9C4F-A06B1D69C556}");
const pfx::GUID kGroupKey = pfx::MakeGuid("{842CE4E4-969A-48FD-B924-9A5DE68253BC}");
}  // namespace

TEST_F(SdkTest, PreferencesReadWithDefaultsAndSaveSnapshots) {
    qel_handle prefs = qel_account_preference(m_account);
    EXPECT_EQ(qel_preference_get_int(prefs, "SystemInfo.HotKey.Enter", 0), 0);
    EXPECT_EQ(std::u16string(qel_preference_get_wstr(prefs, "SystemInfo.Richedit.ShowScale", u"100%")), u"100%");

    sim::SetPrefArray("SystemInfo.AutoReply.FastReply", {u"one", u"two"});
    int count = 0;
    const char16_t* const* items = qel_preference_get_wstr_array(prefs, "SystemInfo.AutoReply.FastReply", &count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(std::u16string(items[1]), u"two");
    EXPECT_EQ(qel_preference_get_wstr_array(prefs, "SystemInfo.HotKey.Enter", &count), nullptr);
    EXPECT_EQ(count, 0);

    qel_preference_set_int(prefs, "SystemInfo.HotKey.Enter", 1);
    qel_preference_set_wstr(prefs, "SystemInfo.Richedit.ShowScale", u"125%");
    qel_preference_remove(prefs, "SystemInfo.AutoReply.FastReply");
    EXPECT_EQ(sim::PrefSaveCount(), 0);
    EXPECT_EQ(qel_preference_save(prefs, 0), 0);
    EXPECT_EQ(sim::PrefSaveCount(), 1);
    EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.HotKey.Enter"), "1");
    EXPECT_EQ(sim::LastSavedPrefs().at("SystemInfo.Richedit.ShowScale"), "125%");
    EXPECT_EQ(sim::LastSavedPrefs().count("SystemInfo.AutoReply.FastReply"), 0u);
    ASSERT_EQ(sim::PrefWrites().size(), 3u);
    EXPECT_EQ(sim::PrefWrites()[0].key, "SystemInfo.HotKey.Enter");
    EXPECT_EQ(qel_preference_get_int(prefs, "SystemInfo.Richedit.ShowScale", 0), 125);  // leading digits
    EXPECT_EQ(qel_preference_get_int(nullptr, "x", 7), 7);
}

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

TEST_F(SdkTest, OwnUserAndCustomSmileys) {
    EXPECT_STREQ(qel_account_get_buddy_id(m_account), "me");
    EXPECT_STREQ(qel_buddy_get_id(qel_account_bound_buddy(m_account)), "me");
    EXPECT_EQ(qel_account_custom_smileys(m_account), nullptr);
    sim::AddCustomSmiley("k1", "key\nmd5");
    qel_handle smiley = qel_ext::QelSmileysFindSmiley(qel_account_custom_smileys(m_account), "k1");
    ASSERT_NE(smiley, nullptr);
    EXPECT_STREQ(qel_smiley_get_info(smiley)->text, "key\nmd5");
    EXPECT_EQ(qel_smiley_modify(smiley, "new\nmd5", "1767225600"), 0);
    EXPECT_STREQ(qel_smiley_get_info(smiley)->time, "1767225600");
    EXPECT_EQ(qel_ext::QelSmileysFindSmiley(qel_account_custom_smileys(m_account), "k2"), nullptr);
    EXPECT_NE(qel_get_bus_interface(m_account, "8305C1B6-6F7C-43A6-B341-2CDCA27ED9B4"), nullptr);
    EXPECT_EQ(qel_get_bus_interface(m_account, "00000000-0000-0000-0000-000000000000"), nullptr);
    EXPECT_EQ(qel_get_bus_interface(nullptr, "8305C1B6-6F7C-43A6-B341-2CDCA27ED9B4"), nullptr);
    sim::SetEmailServiceAvailable(false);
    EXPECT_EQ(qel_get_bus_interface(m_account, "8305C1B6-6F7C-43A6-B341-2CDCA27ED9B4"), nullptr);
}

TEST_F(SdkTest, ChatWindowObjectsResolveSessionsAndServerIds) {
    IChatWndObj* person = GetAppMain()->GetChatWndObj(kPersonKey);
    ASSERT_NE(person, nullptr);
    EXPECT_EQ(person->FindConversation(u"bob"), m_conv);
    EXPECT_EQ(person->FindConversation(u"nobody"), nullptr);
    EXPECT_EQ(person->FindConversation(nullptr), nullptr);
    EXPECT_EQ(GetAppMain()->GetChatWndType(kPersonKey)->GetFlags(), 0x41u);
    EXPECT_EQ(GetAppMain()->GetChatWndType(kGroupKey)->GetCateType(), QEL_CATE_GROUP);

    sim::SetSvrConvId(m_conv, "");
    person->RequestSvrConvId(m_conv);
    EXPECT_EQ(qel_ext::QelConvGetSvrConvId(m_conv), "");
    sim::RunUntilIdle();
    EXPECT_EQ(qel_ext::QelConvGetSvrConvId(m_conv), "svr-im:bob");

    sim::SetChatWndKind(kPersonKey, 0, QEL_CATE_BUDDY, true, "im");
    EXPECT_TRUE(GetAppMain()->GetChatWndObj(kPersonKey)->GetHostFlag());
    sim::RemoveChatWndKind(kGroupKey);
    EXPECT_EQ(GetAppMain()->GetChatWndObj(kGroupKey), nullptr);
}

TEST_F(SdkTest, CommonLibraryAnswersFromTheWorld) {
    EXPECT_TRUE(common::HaveDraft());
    sim::SetHaveDraft(false);
    EXPECT_FALSE(common::HaveDraft());

    EXPECT_EQ(common::GetSDKErrorInfo(-5), u"error -5");
    sim::SetSdkErrorText(-5, u"Too fast");
    EXPECT_EQ(common::GetSDKErrorInfo(-5), u"Too fast");

    sim::SetSpecialProxyUser("proxy");
    EXPECT_TRUE(common::SpecialProxyUserId(u"proxy"));
    EXPECT_FALSE(common::SpecialProxyUserId(u"bob"));
    EXPECT_FALSE(common::SpecialProxyUserId(nullptr));

    EXPECT_EQ(common::GetQelBuddy(u"bob"), m_bob);
    EXPECT_TRUE(common::IsOwner(u"me"));
    EXPECT_EQ(common::GetUserNameOnShow(u"bob"), u"Bob");
    EXPECT_EQ(common::GetUserNameOnShow(u"stranger"), u"stranger");
    sim::SetAbnormalUser("system");
    EXPECT_FALSE(common::IsNormalUser(u"system"));
    EXPECT_TRUE(common::IsNormalUser(u"bob"));

    EXPECT_EQ(common::GetHisShowNum(m_account), 10);
    EXPECT_EQ(common::GetRBACLimit("im.pc.not.send.message.function"), 0);
    sim::SetRBACLimit("im.pc.not.send.message.function", 1);
    EXPECT_EQ(common::GetRBACLimit("im.pc.not.send.message.function"), 1);

    qel_handle group = sim::AddGroup("g1");
    sim::AddGroupMember("g1", "bob");
    sim::SetMyGroupPermissions("g1", {"MESSAGE_TOP"});
    sim::SetMemberPermissions("g1", "bob", {"GROUP_MESSAGE_RECALL", "MESSAGE_TOP"});
    EXPECT_TRUE(common::GetGroupPerm(group, "MESSAGE_TOP"));
    EXPECT_FALSE(common::GetGroupPerm(group, "GROUP_MESSAGE_RECALL"));
    EXPECT_EQ(common::GetGroupPermList(group, "bob"),
              (std::vector<std::string>{"GROUP_MESSAGE_RECALL", "MESSAGE_TOP"}));
    EXPECT_TRUE(common::GetGroupPermList(group, "carol").empty());
}
