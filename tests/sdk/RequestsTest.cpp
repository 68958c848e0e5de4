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
