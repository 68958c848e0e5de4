#include <string>
#include <vector>

#include "tests/sdk/SdkFixture.h"

namespace {

std::vector<std::string> Bodies(const qel_cxx_helper::HandleArray& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.count(); ++i) out.push_back(qel_msg_get_data(list[i])->content);
    return out;
}

class PagesTest : public SdkTest {
protected:
    void SetUp() override {
        SdkTest::SetUp();
        m_ids = sim::AddStoredMsgs(m_conv, 5, true);  // m1..m5 read
        for (const char* body : {"u1", "u2", "u3"}) sim::DeliverIncomingMsg(m_conv, body);
    }
    std::vector<std::string> Page(uint64_t begin, uint64_t end, int limit) {
        qel_cxx_helper::HandleArray list;
        EXPECT_EQ(qel_conversation_get_page_record(m_conv, begin, end, 0, limit, 1, list.out_list(), list.out_count(), 0),
                  0);
        return Bodies(list);
    }
    std::vector<std::string> Unread() {
        qel_cxx_helper::HandleArray list;
        qel_ext::QelConvGetUnreadPageRecord(m_conv, 0, 0x7fffffff, list.out_list(), list.out_count(), false);
        return Bodies(list);
    }
    std::vector<std::string> Read(int limit) {
        qel_cxx_helper::HandleArray list;
        qel_ext::QelConvGetReadPageRecord(m_conv, 0, limit, list.out_list(), list.out_count());
        return Bodies(list);
    }
    std::vector<uint64_t> m_ids;
};

using Strings = std::vector<std::string>;

}  // namespace

TEST_F(PagesTest, PagesAreNewestFirstWithInclusiveBoundsAndALimit) {
    EXPECT_EQ(Page(0, UINT64_MAX, 0x7fffffff), (Strings{"u3", "u2", "u1", "m5", "m4", "m3", "m2", "m1"}));
    EXPECT_EQ(Page(0, m_ids[2], 11), (Strings{"m3", "m2", "m1"}));
    EXPECT_EQ(Page(m_ids[1], m_ids[3], 100), (Strings{"m4", "m3", "m2"}));
    EXPECT_EQ(Page(0, UINT64_MAX, 2), (Strings{"u3", "u2"}));
    EXPECT_EQ(Page(m_ids[4] + 1, UINT64_MAX, 100), (Strings{"u3", "u2", "u1"}));
    EXPECT_TRUE(Page(m_ids[3], m_ids[1], 100).empty());
    EXPECT_TRUE(Page(0, UINT64_MAX, 0).empty());

    qel_cxx_helper::HandleArray list;
    EXPECT_EQ(qel_conversation_get_page_record(nullptr, 0, 1, 0, 1, 1, list.out_list(), list.out_count(), 0),
              QEL_ERR_INVALID_ARG);
    EXPECT_EQ(list.count(), 0);
}

TEST_F(PagesTest, MessagesCarryFlagsDataAndExtraInformation) {
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
