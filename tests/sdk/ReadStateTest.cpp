// The stand-in server's side of reading: cursors, receipt counts and their
// summaries, the group-top service, last logins and birthdays.
#include "SdkFixture.h"
#include "sdk/common_sdk.h"
#include "sdk/qel_bus.h"

namespace {

// Records every attribute change that reaches it.
struct Listener : qel_cxx_helper::SignalsListener {
    std::vector<std::string> heard;
    void on_sig_attrib_changed(qel_handle, const char** names, int count) override {
        for (int i = 0; i < count; ++i) heard.push_back(names[i]);
    }
};

int g_grpTopResults = 0;
int g_lastGrpTopCode = 1;
void OnGrpTop(int code, void*) {
    ++g_grpTopResults;
    g_lastGrpTopCode = code;
}

}  // namespace

class ReadStateTest : public SdkTest {
protected:
    qel_handle Store(uint32_t flags = 0, const std::string& extra = "") {
        sim::StoredMsg msg;
        msg.flags = flags;
        msg.extraInfo = extra;
        msg.sent = true;
        return sim::AddStoredMsg(m_conv, msg);
    }
};

TEST_F(ReadStateTest, CursorAndReceiptCountsArriveAsAttributeChanges) {
    Listener listener;
    listener.subscribe_attrib_changed(m_conv);
    qel_handle msg = Store(QEL_MSG_FLAG_RECEIPT);
    sim::ServerSetPartnerReadCursor(m_conv, 4, 77);
    sim::ServerSetReceiptUnread(msg, 3);
    sim::RunUntilIdle();
    EXPECT_EQ(listener.heard,
              (std::vector<std::string>{"partner-read-cursor_time", "partner-read-cursor", "receipt-unread-msgid"}));
    EXPECT_EQ(qel_attribs_get_int64(m_conv, "partner-read-cursor", 0), 4);
    EXPECT_STREQ(qel_attribs_get_str(m_conv, "receipt-unread-msgid", ""), "1-3");
    EXPECT_STREQ(qel_msg_get_data(msg)->extra_info, R"({"unreadnum":3})");

    // A summary request is answered only for counts the client has wrong.
    listener.heard.clear();
    qel_conversation_request_receipt_summary(m_conv, &msg, 1, 0, 0);
    sim::RunUntilIdle();
    EXPECT_TRUE(listener.heard.empty());
    qel_msg_set_extra_info(msg, R"({"unreadnum":9})");
    qel_conversation_request_receipt_summary(m_conv, &msg, 1, 0, 0);
    sim::RunUntilIdle();
    EXPECT_STREQ(qel_msg_get_data(msg)->extra_info, R"({"unreadnum":3})");
}

TEST_F(ReadStateTest, GroupTopServiceKeepsWhatTheUserHasSeen) {
    g_grpTopResults = 0;
    qel_handle older = Store(QEL_MSG_FLAG_GRP_TOP);
    qel_handle newer = Store(QEL_MSG_FLAG_GRP_TOP);
    auto* service = static_cast<IQelGrpTopService*>(QelBusService(m_account));
    ASSERT_NE(service, nullptr);
    qel_handle* list = nullptr;
    int count = 0;
    ASSERT_EQ(service->CancelGrpTopRemind(newer, &OnGrpTop, nullptr), 0);
    EXPECT_EQ(g_grpTopResults, 0) << "answers on a later turn";
    sim::RunUntilIdle();
    EXPECT_EQ(g_lastGrpTopCode, 0);
    qel_conversation_get_grptop_page_record(m_conv, 1, 5, &list, &count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(list[0], older);
    qel_release_handle_array(list);

    sim::FailNextGrpTopRequest(-3);
    EXPECT_EQ(service->SetGrpTopMsgRead(&older, 1, &OnGrpTop, nullptr), 0);
    sim::RunUntilIdle();
    EXPECT_EQ(g_lastGrpTopCode, -3);
    EXPECT_EQ(service->SetGrpTopMsgRead(&older, 1, &OnGrpTop, nullptr), 0);
    sim::RunUntilIdle();
    qel_conversation_get_grptop_page_record(m_conv, 1, 5, &list, &count);
    EXPECT_EQ(count, 0);
    qel_release_handle_array(list);

    // Stuck again, a message is new to the user.
    sim::ServerStickGrpTop(newer, true);
    qel_conversation_get_grptop_page_record(m_conv, 1, 5, &list, &count);
    EXPECT_EQ(count, 1);
    qel_release_handle_array(list);
    EXPECT_EQ(sim::GrpTopRequests(), (std::vector<std::string>{"cancel:" + std::to_string(qel_msg_get_id(newer)),
                                                               "read:" + std::to_string(qel_msg_get_id(older)),
                                                               "read:" + std::to_string(qel_msg_get_id(older))}));
    EXPECT_EQ(service->CancelGrpTopRemind(nullptr, &OnGrpTop, nullptr), QEL_ERR_INVALID_ARG);
    sim::SetGrpTopServiceAvailable(false);
    EXPECT_EQ(QelBusService(m_account), nullptr);
}

