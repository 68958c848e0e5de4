#include <string>
#include <vector>

#include "tests/sdk/SdkFixture.h"

namespace {

struct Outcome {
    int code;
    std::string tag;
    uint64_t msgId;
    uint64_t replaced;
};
std::vector<Outcome> g_outcomes;

void OnSent(int code, void* user, uint64_t msgId, uint64_t replaced) {
    auto* tag = static_cast<std::string*>(user);
    g_outcomes.push_back({code, *tag, msgId, replaced});
    delete tag;
}

// Like the component, takes the user data back when the request is refused.
int Send(qel_handle conv, const std::string& body) {
    auto* tag = new std::string(body);
    const int result =
        qel_conversation_request_send_chat_message(conv, 0, "text/plain", "", body.c_str(), body.c_str(), OnSent, tag);
    if (result != 0) delete tag;
    return result;
}

std::vector<std::string> Uploads;

void OnUploaded(int code, void* user, const char* cacheName, const char* key) {
    Uploads.push_back(std::to_string(code) + ":" + cacheName + ":" + key + ":" +
                      std::to_string(reinterpret_cast<intptr_t>(user)));
}

class RequestsTest : public SdkTest {
protected:
    void SetUp() override {
        SdkTest::SetUp();
        g_outcomes.clear();
        Uploads.clear();
    }
};

}  // namespace

TEST_F(RequestsTest, SendCompletesOnALaterTurnAndStoresTheMessage) {
    EXPECT_EQ(Send(m_conv, "one"), 0);
    EXPECT_EQ(Send(m_conv, "two"), 0);
    EXPECT_TRUE(g_outcomes.empty());
    sim::RunUntilIdle();

    ASSERT_EQ(g_outcomes.size(), 2u);
    EXPECT_EQ(g_outcomes[0].tag, "one");
    EXPECT_EQ(g_outcomes[1].tag, "two");
    EXPECT_EQ(g_outcomes[0].code, 0);
    EXPECT_LT(g_outcomes[0].msgId, g_outcomes[1].msgId);

    qel_handle msg = qel_conversation_find_msg(m_conv, g_outcomes[1].msgId);
    ASSERT_NE(msg, nullptr);
    const _QelMsgData* data = qel_msg_get_data(msg);
    EXPECT_STREQ(data->content, "two");
    EXPECT_STREQ(data->sender_id, "me");
    EXPECT_EQ(data->conv_msg_id, qel_msg_get_conv_msg_id(msg));
    EXPECT_EQ(qel_msg_get_flag(msg) & (QEL_MSG_FLAG_SENT | QEL_MSG_FLAG_SEND_FAIL), uint32_t(QEL_MSG_FLAG_SENT));

    const auto sends = sim::SdkRequestsOf("send");
    ASSERT_EQ(sends.size(), 2u);
    EXPECT_EQ(sends[0].convId, "im:bob");
    EXPECT_EQ(sends[1].content, "two");
}

TEST_F(RequestsTest, RefusalsAnswerAtOnceWithoutCompletion) {
    sim::RefuseNext(sim::SdkCall::Send, -998);
    EXPECT_EQ(Send(m_conv, "fast"), -998);
    EXPECT_EQ(Send(m_conv, "next"), 0);

    sim::SetLoggedIn(m_account, false);
    EXPECT_EQ(Send(m_conv, "offline"), QEL_ERR_NOT_LOGGED_IN);
    EXPECT_EQ(qel_account_get_login_state(m_account), 0);
    EXPECT_EQ(qel_conversation_request_send_chat_message(nullptr, 0, "text/plain", "", "x", "x", OnSent, nullptr),
              QEL_ERR_INVALID_ARG);
    sim::RunUntilIdle();

    ASSERT_EQ(g_outcomes.size(), 1u);
    EXPECT_EQ(g_outcomes[0].tag, "next");
    const auto sends = sim::SdkRequestsOf("send");
    ASSERT_EQ(sends.size(), 4u);
    EXPECT_EQ(sends[0].result, -998);
    EXPECT_EQ(sends[2].result, QEL_ERR_NOT_LOGGED_IN);
}

TEST_F(RequestsTest, FailedCompletionsStoreAFailedMessageOnlyWithAnId) {
    sim::FailNext(sim::SdkCall::Send, -9979, true);
    Send(m_conv, "kept");
    sim::RunUntilIdle();
    sim::FailNext(sim::SdkCall::Send, -5, false);
    Send(m_conv, "lost");
    sim::RunUntilIdle();

    ASSERT_EQ(g_outcomes.size(), 2u);
    EXPECT_EQ(g_outcomes[0].code, -9979);
    qel_handle failed = qel_conversation_find_msg(m_conv, g_outcomes[0].msgId);
    ASSERT_NE(failed, nullptr);
    EXPECT_TRUE(qel_ext::QelMsgIsSendFail(failed));
    EXPECT_EQ(g_outcomes[1].code, -5);
    EXPECT_EQ(g_outcomes[1].msgId, 0u);

    // Sending the failed message again replaces it.
    ASSERT_EQ(qel_ext::QelConversationRequestSendChatMessage(m_conv, failed, nullptr, "", OnSent,
                                                             new std::string("again")),
              0);
    sim::RunUntilIdle();
    ASSERT_EQ(g_outcomes.size(), 3u);
    EXPECT_EQ(g_outcomes[2].code, 0);
    EXPECT_EQ(g_outcomes[2].replaced, g_outcomes[0].msgId);
    EXPECT_EQ(qel_conversation_find_msg(m_conv, g_outcomes[0].msgId), nullptr);
    EXPECT_STREQ(qel_msg_get_data(qel_conversation_find_msg(m_conv, g_outcomes[2].msgId))->content, "kept");
    EXPECT_EQ(sim::SdkRequestsOf("send_ext").at(0).msgId, g_outcomes[0].msgId);
}

TEST_F(RequestsTest, HeldCompletionsWaitUntilReleasedAndKeepTheirOrder) {
    sim::HoldCompletions(true);
    Send(m_conv, "a");
    qel_ext::QelConversationRequestUploadAttachment(m_conv, "image", "p.png", "/tmp/p.png", OnUploaded,
                                                    reinterpret_cast<void*>(1));
    Send(m_conv, "b");
    sim::RunUntilIdle();
    EXPECT_TRUE(g_outcomes.empty());
    EXPECT_TRUE(Uploads.empty());
    EXPECT_EQ(sim::HeldCompletions(), 3u);

    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    EXPECT_TRUE(g_outcomes.empty());  // released onto the loop, not run inside the call
    sim::RunUntilIdle();
    ASSERT_EQ(g_outcomes.size(), 2u);
    EXPECT_EQ(g_outcomes[0].tag, "a");
    EXPECT_EQ(g_outcomes[1].tag, "b");
    EXPECT_EQ(Uploads, (std::vector<std::string>{"0:p.png:key-p.png:1"}));
}

TEST_F(RequestsTest, ConversationDroppedInFlightCompletesWithoutStoring) {
    sim::HoldCompletions(true);
    Send(m_conv, "orphan");
    qel_ext::QelConversationRequestUploadAttachment(m_conv, "image", "p.png", "/p", OnUploaded, nullptr);
    qel_cxx_helper::WeakHandle conv(m_conv);
    sim::DropObject(m_conv);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    EXPECT_EQ(Uploads, (std::vector<std::string>{std::to_string(QEL_ERR_CONV_GONE) + ":p.png::0"}));
    ASSERT_EQ(g_outcomes.size(), 1u);
    EXPECT_EQ(g_outcomes[0].code, QEL_ERR_CONV_GONE);
    EXPECT_EQ(g_outcomes[0].msgId, 0u);
    EXPECT_EQ(conv.get(), nullptr);
}

TEST_F(RequestsTest, UploadsAnswerAKeyPerCacheNameOrFail) {
    sim::SetUploadKey("a.jpg", "srv/1");
    auto upload = [this](const char* name) {
        return qel_ext::QelConversationRequestUploadAttachment(m_conv, "image", name, "/p", OnUploaded, nullptr);
    };
    EXPECT_EQ(upload("a.jpg"), 0);
    sim::FailNext(sim::SdkCall::Upload, -9968);
    EXPECT_EQ(upload("b.jpg"), 0);
    sim::RefuseNext(sim::SdkCall::Upload, -1);
    EXPECT_EQ(upload("c.jpg"), -1);
    EXPECT_EQ(upload(""), -1);
    sim::RunUntilIdle();
    EXPECT_EQ(Uploads, (std::vector<std::string>{"0:a.jpg:srv/1:0", "-9968:b.jpg::0"}));
    const auto uploads = sim::SdkRequestsOf("upload");
    ASSERT_EQ(uploads.size(), 4u);
    EXPECT_EQ(uploads[0].fileType, "image");
    EXPECT_EQ(uploads[0].localPath, "/p");
    EXPECT_EQ(uploads[2].result, -1);
}


TEST_F(RequestsTest, OnlySendsThatCompletedWellAreNotedAsStored) {
    // The soak counts only these as delivered.
    sim::HoldCompletions(true);
    ASSERT_EQ(Send(m_conv, "delivered"), 0);
    sim::FailNext(sim::SdkCall::Send, -5, true);
    ASSERT_EQ(Send(m_conv, "failed"), 0);
    sim::RefuseNext(sim::SdkCall::Send, -9);
    ASSERT_NE(Send(m_conv, "refused"), 0);
    // Nothing is stored before its completion comes.
    EXPECT_FALSE(sim::SdkRequestsOf("send").at(0).stored);
    sim::HoldCompletions(false);
    sim::ReleaseCompletions();
    sim::RunUntilIdle();
    const auto sends = sim::SdkRequestsOf("send");
    ASSERT_EQ(sends.size(), 3u);
    EXPECT_TRUE(sends[0].stored);
    EXPECT_FALSE(sends[1].stored);
    EXPECT_FALSE(sends[2].stored);
}
