#include <string>
#include <vector>

#include "sdk/host.h"
#include "tests/sdk/SdkFixture.h"

TEST_F(SdkTest, WeakHandlesTurnNullOnceTheObjectIsDropped) {
    qel_handle msg = sim::DeliverIncomingMsg(m_conv, "hi");
    const uint64_t msgId = qel_msg_get_id(msg);
    qel_cxx_helper::WeakHandle weakMsg(msg), weakConv(m_conv), weakBuddy(m_bob);
    qel_cxx_helper::WeakHandle weakExt(qel_object_get_attribs(m_conv, "ext"));
    EXPECT_EQ(weakMsg.get(), msg);

    EXPECT_TRUE(sim::DropObject(msg));
    EXPECT_EQ(weakMsg.get(), nullptr);
    EXPECT_EQ(qel_conversation_find_msg(m_conv, msgId), nullptr);
    EXPECT_EQ(weakConv.get(), m_conv);

    // A conversation takes its messages and attribute sets with it.
    qel_cxx_helper::WeakHandle second(sim::DeliverIncomingMsg(m_conv, "again"));
    EXPECT_TRUE(sim::DropObject(m_conv));
    EXPECT_EQ(weakConv.get(), nullptr);
    EXPECT_EQ(second.get(), nullptr);
    EXPECT_EQ(weakExt.get(), nullptr);
    EXPECT_EQ(weakBuddy.get(), m_bob);

    EXPECT_TRUE(sim::DropObject(m_bob));
    EXPECT_EQ(weakBuddy.get(), nullptr);
    EXPECT_EQ(qel_buddies_find_buddy_base(qel_account_buddies(m_account), "bob"), nullptr);
    EXPECT_FALSE(sim::DropObject(nullptr));
}

TEST_F(SdkTest, DroppingTheAccountEmptiesTheCurrentInstance) {
    qel_cxx_helper::WeakHandle conv(m_conv);
    EXPECT_EQ(qel_ext::QelGetCurAccount(), m_account);
    EXPECT_TRUE(sim::DropObject(m_account));
    EXPECT_EQ(conv.get(), nullptr);
    EXPECT_EQ(qel_ext::QelGetCurAccount(), nullptr);
    EXPECT_EQ(qel_ext::QelGetCurConversations(), nullptr);
    EXPECT_EQ(GetAppMain()->GetCurQelInst()->GetAccount(), nullptr);
}

TEST_F(SdkTest, AttributesReadWithDefaultsAndConvertBetweenTextAndNumbers) {
    EXPECT_EQ(qel_attribs_get_int(m_conv, "missing", -1), -1);
    EXPECT_STREQ(qel_attribs_get_str(m_conv, "missing", "dflt"), "dflt");
    qel_attribs_set_int64(m_conv, "partner-read-cursor", int64_t(1) << 40, 3);
    EXPECT_EQ(qel_attribs_get_int64(m_conv, "partner-read-cursor", 0), int64_t(1) << 40);
    EXPECT_STREQ(qel_attribs_get_str(m_conv, "partner-read-cursor", ""), "1099511627776");
    qel_attribs_set_str(m_conv, "receipt-unread-msgid", "17-4", 3);
    EXPECT_EQ(qel_attribs_get_int(m_conv, "receipt-unread-msgid", 0), 17);
    qel_attribs_set_str(m_conv, "word", "abc", 3);
    EXPECT_EQ(qel_attribs_get_int(m_conv, "word", 5), 5);

    // The main set and a named set are distinct; attribs calls take either form.
    qel_handle ext = qel_object_get_attribs(m_conv, "ext");
    EXPECT_NE(ext, qel_object_get_attribs(m_conv, nullptr));
    EXPECT_EQ(qel_object_get_attribs(m_conv, ""), qel_object_get_attribs(m_conv, nullptr));
    qel_attribs_set_int(ext, "conv-type", 6, 3);
    EXPECT_EQ(qel_attribs_get_int(m_conv, "conv-type", -1), -1);
    EXPECT_EQ(qel_ext::GetQELAttribs_msg_id(m_conv, "partner-read-cursor"), uint64_t(1) << 40);

    ASSERT_GE(sim::AttribWrites().size(), 3u);
    const sim::AttribWrite& last = sim::AttribWrites().back();
    EXPECT_EQ(last.owner, "conversation:im:bob");
    EXPECT_EQ(last.path, "ext");
    EXPECT_EQ(last.key, "conv-type");
    EXPECT_EQ(last.value, "6");
    EXPECT_EQ(last.mode, 3);
}
