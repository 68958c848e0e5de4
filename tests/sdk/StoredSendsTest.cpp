// What the request log says of a send once its completion came: whether
// the SDK keeps the message as sent (the soak counts only those as
// delivered).
#include "tests/sdk/SdkFixture.h"

namespace {

void Ignore(int, void*, uint64_t, uint64_t) {}

int Send(qel_handle conv, const char* body) {
    return qel_conversation_request_send_chat_message(conv, 0, "text/plain", "", body, body, Ignore, nullptr);
}

TEST_F(SdkTest, OnlySendsThatCompletedWellAreNotedAsStored) {
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

}  // namespace
