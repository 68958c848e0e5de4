// The soak's acts of the newer features: messages other modules send
// through a window (with read receipts or without), recalls, some failed
// or refused, shakes, and the read cursors and receipt counts the server
// pushes. Each checks what the user would notice at once; the sends are
// checked with every other message at the end of the run.
#include <algorithm>

#include "SoakEngine.h"
#include "SoakWindows.h"
#include "msghandle/MsgIds.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_msg.h"
#include "sdk/ui/ContainerUI.h"
#include "sim/core/Loop.h"
#include "sim/host/DisplayInternal.h"
#include "tools/ShakeMsgWidgetPanel.h"

namespace soak {

namespace {

constexpr int32_t kRecallItem = 50014;

const SMenuItem* FindItem(const std::vector<SMenuItem>& items, int32_t id) {
    for (const SMenuItem& item : items) {
        if (item.id == id && !item.separator) return &item;
        if (const SMenuItem* found = FindItem(item.children, id)) return found;
    }
    return nullptr;
}

CControlUI* ShakeButton(const Engine::Chat& chat) {
    auto* head = dynamic_cast<CContainerUI*>(
        sim::FindControl(sim::FindChatWindow(Hwnd(chat)), "top_con.chat_tool_head_ctn"));
    for (int i = 0; head && i < head->GetCount(); ++i) {
        if (auto* panel = dynamic_cast<tavi::CShakeMsgWidgetPanel*>(head->GetItemAt(i)))
            return panel->FindSubControl(u"shake");
    }
    return nullptr;
}

size_t RequestCount(const std::string& kind) {
    size_t count = 0;
    for (const sim::SdkRequest& request : sim::SdkRequests()) count += request.kind == kind;
    return count;
}

// The conversation's newest stored message that the user sent.
qel_handle NewestOwn(const Engine::Chat& chat) {
    qel_cxx_helper::HandleArray records;
    if (qel_conversation_get_page_record(Conversation(chat), 0, UINT64_MAX, 0, 20, 1, records.out_list(),
                                         records.out_count(), 0) != 0) {
        return nullptr;
    }
    for (int i = 0; i < records.count(); ++i) {
        if (qel_msg_get_flag(records[i]) & QEL_MSG_FLAG_SENT) return records[i];
    }
    return nullptr;
}

}  // namespace

void Engine::SendForHost(Chat& chat, bool withReceipt) {
    OpenWindow(chat);
    if (!chat.window) return;
    const size_t index = NewMessage(chat);
    Message& message = m_messages[index];
    const std::u16string body = message.start + u"for the host" + message.end;
    message.firstShown = tavi::PeekProvisionalMsgId();
    message.sentAs = m_sends++;
    const int result = Component(chat)->QelSendMsg(body.c_str(), withReceipt ? u"{\"receiptto\":\"all\"}" : nullptr,
                                                   "text/plain", true);
    message.endShown = tavi::PeekProvisionalMsgId();
    sim::RunUntilIdle();
    // A refusal is the calling module's to handle: it was told, and nothing shows.
    message.refusedToHost = result != 0;
    if (!message.refusedToHost) ++m_result.counts.sentForHost;
}

void Engine::Recall(Chat& chat) {
    // The user recalls into an empty input, so that what comes back is all
    // of it, and sees the answer at once.
    if (Holding() || !chat.window || chat.open >= 0 || !Input(chat)->GetText().empty()) return;
    const size_t chatIndex = size_t(&chat - m_chats.data());
    int64_t bubble = 0;
    for (const sim::ViewItem& item : sim::ViewItems(View(chat))) {
        if (item.kind != "msg" || !tavi::FindSdkMsgId(item.id) || sim::IsMarkedFailed(View(chat), item.id)) continue;
        const bool own = std::any_of(m_messages.begin(), m_messages.end(), [&](const Message& m) {
            return m.chat == chatIndex && item.id >= m.firstShown && item.id < m.endShown;
        });
        if (own) bubble = item.id;
    }
    TPointUI point;
    if (bubble == 0 || !sim::PointAtMsg(View(chat), bubble, false, point)) return;
    const size_t menus = sim::ShownMenus().size();
    sim::NotifyAt(View(chat), UINOTIFY_RCLICK, point);
    if (sim::ShownMenus().size() == menus) return;
    const SMenuItem* item = FindItem(sim::ShownMenus().back().items, kRecallItem);
    if (!item || !item->enabled) return;
    const size_t boxes = sim::ShownBoxes().size();
    const size_t requests = RequestCount("recall");
    // One recall in three meets a fault of the server.
    switch (Below(6)) {
        case 0:
            sim::FailNext(sim::SdkCall::Recall, -31);
            Fault("failed recall");
            break;
        case 1:
            sim::RefuseNext(sim::SdkCall::Recall, -5);
            Fault("refused recall");
            break;
        default: break;
    }
    sim::ClickMenuItem(kRecallItem);
    sim::RunUntilIdle();
    if (!chat.window) return;
    if (RequestCount("recall") == requests) Problem("a recall offered in " + chat.peer + " was not asked for");
    // A failure shows its box; a refusal at once changes nothing at all.
    const auto recalls = sim::SdkRequestsOf("recall");
    const bool refused = !recalls.empty() && recalls.back().result != 0;
    const bool failed = refused || sim::ShownBoxes().size() != boxes;
    const std::u16string back = Input(chat)->GetText();
    if (failed && !back.empty()) Problem("a failed recall in " + chat.peer + " changed the input");
    if (!failed && back.empty()) Problem("a recalled message of " + chat.peer + " did not come back into the input");
    if (!failed) ++m_result.counts.recalled;
    // The user lets it go.
    Input(chat)->Clear();
}

void Engine::Shake(Chat& chat) {
    if (chat.group || !chat.window) return;
    CControlUI* button = ShakeButton(chat);
    if (!button) return;
    // Shakes go at most once in ten seconds.
    sim::Advance(10000);
    const size_t sends = RequestCount("send") + RequestCount("send_ext");
    const size_t reminders = RequestCount("reminder");
    sim::Click(button);
    sim::RunUntilIdle();
    if (RequestCount("send") + RequestCount("send_ext") != sends) Problem("a shake of " + chat.peer + " sent a message");
    m_result.counts.shakes += int(RequestCount("reminder") - reminders);
}

void Engine::PushReadState(Chat& chat) {
    qel_handle own = NewestOwn(chat);
    if (!own) return;
    if (chat.group) {
        sim::ServerSetReceiptUnread(own, Below(4));
    } else {
        sim::ServerSetPartnerReadCursor(Conversation(chat), int64_t(qel_msg_get_conv_msg_id(own)),
                                        int64_t(Below(1000)));
    }
    ++m_result.counts.readStates;
}

void Engine::HoldCompletions(bool hold) {
    m_holding = hold;
    sim::HoldCompletions(hold);
}

std::vector<Action> FeatureActions() {
    const auto chat = [](void (*act)(Engine&, Engine::Chat&)) {
        return [act](Engine& e) { act(e, e.AnyChat()); };
    };
    return {
        {"send for another module", 3, chat([](Engine& e, Engine::Chat& c) { e.SendForHost(c, false); })},
        {"send with a receipt", 2, chat([](Engine& e, Engine::Chat& c) { e.SendForHost(c, true); })},
        {"recall", 3, chat([](Engine& e, Engine::Chat& c) { e.Recall(c); })},
        {"shake", 2, chat([](Engine& e, Engine::Chat& c) { e.Shake(c); })},
        {"push read state", 3, chat([](Engine& e, Engine::Chat& c) { e.PushReadState(c); })},
    };
}

}  // namespace soak
