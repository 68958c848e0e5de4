#include <string>
#include <vector>

#include "tests/sdk/SdkFixture.h"

TEST_F(SdkTest, MessagesCarryFlagsDataAndExtraInformation) {
    sim::StoredMsg stored;
    stored.content = "top";
    stored.flags = QEL_MSG_FLAG_GRP_TOP | QEL_MSG_FLAG_RECEIPT | QEL_MSG_FLAG_IMPORTANT;
    stored.id = 999999;
    qel_handle msg = sim::AddStoredMsg(m_conv, stored);
    EXPECT_EQ(qel_msg_get_id(msg), 999999u);
    EXPECT_TRUE(qel_msg_is_grp_top(msg));
    EXPECT_TRUE(qel_ext::QelMsgIsReciept(msg));
    EXPECT_TRUE(qel_msg_is_important(msg));
    EXPECT_FALSE(qel_msg_is_important_confirm(msg));
    EXPECT_FALSE(qel_ext::QelMsgIsBurnRead(msg));

    qel_cxx_helper::HandleArray tops;
    EXPECT_EQ(qel_conversation_get_grptop_page_record(m_conv, 1, 1, tops.out_list(), tops.out_count()), 0);
    ASSERT_EQ(tops.count(), 1);
    EXPECT_EQ(tops[0], msg);

    qel_msg_set_extra_info(msg, "{\"n\":1}");
    EXPECT_STREQ(qel_msg_get_data(msg)->extra_info, "{\"n\":1}");
    EXPECT_EQ(sim::ExtraInfoWrites().back().first, 999999u);

    sim::StoredMsg bare;
    bare.hasData = false;
    qel_handle noData = sim::AddStoredMsg(m_conv, bare);
    EXPECT_EQ(qel_msg_get_data(noData), nullptr);
    EXPECT_EQ(qel_msg_get_data(nullptr), nullptr);
    EXPECT_EQ(qel_conversation_find_msg(m_conv, 123), nullptr);

    EXPECT_EQ(qel_ext::Str2MsgId("18446744073709551615"), UINT64_MAX);
    EXPECT_EQ(qel_ext::Str2MsgId("99999999999999999999"), 0u);
    EXPECT_EQ(qel_ext::Str2MsgId("-5"), 0u);
    EXPECT_EQ(qel_ext::Str2MsgId(""), 0u);
}
