#include <memory>
#include <string>
#include <vector>

#include "tests/sdk/SdkFixture.h"

namespace {

class Recorder : public qel_cxx_helper::SignalsListener, public qel_cxx_helper::TimerSignalsListener {
public:
    void on_sig_attrib_changed(qel_handle attribs, const char** names, int count) override {
        for (int i = 0; i < count; ++i) {
            events.push_back(std::string(names[i]) + "=" + qel_attribs_get_str(attribs, names[i], "?"));
        }
    }
    void on_sig_buddy_group_attrib_changed(qel_handle group) override {
        events.push_back(std::string("group:") + qel_buddy_group_get_id(group));
    }
    void on_sig_timeout(void* userdata) override {
        events.push_back("timeout:" + std::to_string(reinterpret_cast<intptr_t>(userdata)) + "@" +
                         std::to_string(sim::NowMs() / 1000));
    }
    std::vector<std::string> events;
};

}  // namespace

TEST_F(SdkTest, AttributeSignalsArriveOnALaterTurnInOrder) {
    Recorder listener;
    listener.subscribe_attrib_changed(m_conv);
    qel_attribs_set_int(m_conv, "partner-read-cursor", 5, 3);
    qel_attribs_set_str(qel_object_get_attribs(m_conv, "ext"), "receipt-unread-msgid", "5-2", 3);
    qel_attribs_set_int(m_conv, "partner-read-cursor", 5, 3);  // unchanged: no signal
    qel_attribs_set_int(m_bob, "unwatched", 1, 3);
    EXPECT_TRUE(listener.events.empty());

    sim::RunUntilIdle();
    EXPECT_EQ(listener.events, (std::vector<std::string>{"partner-read-cursor=5", "receipt-unread-msgid=5-2"}));

    listener.unsubscribe_all();
    qel_attribs_set_int(m_conv, "partner-read-cursor", 6, 3);
    sim::RunUntilIdle();
    EXPECT_EQ(listener.events.size(), 2u);
}

TEST_F(SdkTest, ListenerThatDiesBeforeDeliveryHearsNothing) {
    auto listener = std::make_unique<Recorder>();
    listener->subscribe_attrib_changed(m_conv);
    qel_attribs_set_int(m_conv, "partner-read-cursor", 9, 3);
    listener.reset();
    sim::RunUntilIdle();  // would crash or report under the sanitizers if delivered

    auto second = std::make_unique<Recorder>();
    second->subscribe_attrib_changed(m_conv);
    qel_attribs_set_int(m_conv, "partner-read-cursor", 10, 3);
    sim::DropObject(m_conv);  // the attribute set is gone before delivery
    sim::RunUntilIdle();
    EXPECT_TRUE(second->events.empty());
}

TEST_F(SdkTest, TimerSignalsFollowTheVirtualClockInSdkSeconds) {
    Recorder listener;
    listener.subscribe_timer_signal(600, 86400, 3, reinterpret_cast<void*>(7));
    sim::Advance(599 * 1000);
    EXPECT_TRUE(listener.events.empty());
    sim::Advance(1000);
    EXPECT_EQ(listener.events, (std::vector<std::string>{"timeout:7@600"}));
    sim::Advance(3 * 86400 * 1000u);
    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"timeout:7@600", "timeout:7@87000", "timeout:7@173400"}));

    const uint64_t id = listener.subscribe_timer_signal(1, 1, 100, nullptr);
    sim::Advance(2000);
    listener.unsubscribe_timer_signal(id);
    sim::Advance(5000);
    EXPECT_EQ(listener.events.size(), 5u);
}

TEST_F(SdkTest, DestroyedTimerListenerStopsItsTimers) {
    auto listener = std::make_unique<Recorder>();
    listener->subscribe_timer_signal(1, 1, 2147483647, nullptr);
    sim::Advance(1000);
    EXPECT_EQ(listener->events.size(), 1u);
    listener.reset();
    EXPECT_EQ(sim::PendingTasks(), 0u);
}

TEST_F(SdkTest, ServerChangesAreHeardButNotCountedAsTheComponentsWrites) {
    qel_handle group = sim::AddGroup("g1");
    sim::AddGroupMember("g1", "carol");
    qel_handle conv = sim::OpenConversation("g1", true);
    Recorder listener;
    listener.subscribe_attrib_changed(conv);
    sim::ServerSetAttrib(conv, "receipt-unread-msgid", "3-9");
    sim::ServerSetAttrib(group, "conv-type", 6, "ext");
    sim::RunUntilIdle();
    EXPECT_EQ(listener.events, (std::vector<std::string>{"receipt-unread-msgid=3-9", "group:g1"}));
    EXPECT_EQ(qel_attribs_get_int(qel_object_get_attribs(group, "ext"), "conv-type", -1), 6);
    EXPECT_TRUE(sim::AttribWrites().empty());

    qel_handle msg = sim::DeliverIncomingMsg(conv, "hello", "text/plain", "carol");
    EXPECT_STREQ(qel_msg_get_data(msg)->sender_id, "carol");
    const qel_handle list[] = {msg};
    EXPECT_EQ(qel_conversation_request_receipt_summary(conv, list, 1, 0, 0), 0);
    EXPECT_EQ(sim::SdkRequestsOf("receipt_summary").at(0).value, std::to_string(qel_msg_get_id(msg)));
}
