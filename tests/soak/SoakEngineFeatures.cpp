// The soak's acts of the newer features: messages other modules send
// through a window (with read receipts or without), recalls, some failed
// or refused, shakes, and the read cursors and receipt counts the server
// pushes, resends of failed messages (failing again or going) and the
// e-mail window's sends. Each checks what the user would notice at once;
// the sends are checked with every other message at the end of the run.
#include <algorithm>

#include "SoakEngine.h"
#include "SoakWindows.h"
#include "msghandle/MsgIds.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_msg.h"
#include "sdk/ui/RichEditExUI.h"
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
            return m.chat == chatIndex && m.ShownUnder(item.id);
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

void Engine::Resend(Chat& chat) {
    // The user resends when the answers come; a held one would leave the
    // bubble in between.
    if (Holding() || !chat.window) return;
    const sim::FailMark* mark = nullptr;
    for (const sim::FailMark& candidate : sim::FailMarks()) {
        if (sim::IsMarkedFailed(View(chat), candidate.shownId)) mark = &candidate;
    }
    if (!mark) return;
    const int64_t shown = mark->shownId;
    CControlUI* holder = View(chat)->FindSubControl(mark->msgIdText);
    CControlUI* button = holder ? holder->FindSubControl(u"resendmsg") : nullptr;
    if (!button) return;
    // One resend in three meets a fault of the server.
    switch (Below(6)) {
        case 0:
            sim::FailNext(sim::SdkCall::Send, -7, true);
            Fault("failed resend");
            break;
        case 1:
            sim::RefuseNext(sim::SdkCall::Send, -9);
            Fault("refused resend");
            break;
        default: break;
    }
    const size_t before = sim::SdkRequests().size();
    sim::Click(button);
    sim::RunUntilIdle();
    if (!chat.window) return;
    // A resend of a message with pictures goes as a new send once they are
    // uploaded again; either way, what went is the resend's.
    bool asked = false, stored = false;
    const auto& requests = sim::SdkRequests();
    for (size_t i = before; i < requests.size(); ++i) {
        if (requests[i].kind != "send" && requests[i].kind != "send_ext") continue;
        m_resendRequests.insert(i);
        asked = true;
        stored |= requests[i].stored;
    }
    if (!asked) return;  // its pictures did not upload: it stays failed
    const bool stillMarked = sim::IsMarkedFailed(View(chat), shown);
    if (stored) {
        if (View(chat)->HasMsg(shown)) Problem("a resent message of " + chat.peer + " still shows its failed bubble");
        ++m_result.counts.resent;
    } else if (!stillMarked) {
        Problem("a resend that failed in " + chat.peer + " left its message unmarked");
    }
}

void Engine::OpenEmailWindow() {
    if (m_email.window) return;
    m_email.window = sim::OpenChatWindow(sim::ChatKind::Email, m_email.peer);
    sim::RunUntilIdle();
    if (!Component(m_email)) {
        Problem("the e-mail window did not open");
        m_email.window = nullptr;
        return;
    }
    // The conversation layout: sent e-mails show in the history.
    Component(m_email)->SetEmailDlgType(2);
    Component(m_email)->EmailRequest(0, 5, false);
    sim::RunUntilIdle();
}

void Engine::SendEmail() {
    if (Holding()) return;
    OpenEmailWindow();
    if (!m_email.window) return;
    CRichEditUI* input = Input(m_email);
    if (!input->GetText().empty()) {
        Problem("the e-mail window's input holds \"" + Narrow(input->GetText().substr(0, 60)) + "\" nobody typed");
        input->Clear();
    }
    const std::u16string number = sim::ToWide(std::to_string(m_emails.size()));
    const Email email{u"[e" + number + u"[", u"]e" + number + u"]"};
    m_emails.push_back(email);
    std::u16string text = email.start;
    // Now and then an e-mail long enough to go in parts of 1024.
    const bool isLong = Below(5) == 0;
    for (int i = isLong ? 1100 + Below(1500) : 1 + Below(300); i > 0; --i) text += char16_t(u'a' + Below(26));
    // The end marker is looked for within one e-mail, so it must not
    // straddle a cut between parts: it starts the next part instead.
    const size_t nextCut = (text.size() / 1024 + 1) * 1024;
    if (text.size() + email.end.size() > nextCut) text.append(nextCut - text.size(), u'z');
    text += email.end;
    const size_t windows = (text.size() + 1023) / 1024;
    const size_t deliveredBefore = sim::EmailsWith(m_email.peer).size();
    // What a failure leaves in the input: one part of a long e-mail
    // (never the first, so that the e-mail's start still arrives first).
    std::u16string left = text;
    if (windows > 1) {
        const size_t failing = 1 + size_t(Below(int(windows - 1)));
        std::vector<int> codes(windows, 0);
        codes[failing] = 7;
        sim::PlanOutcomes(sim::SdkCall::EmailSend, codes);
        Fault("failed e-mail part");
        left = text.substr(failing * 1024, 1024);
    } else switch (Below(6)) {
        case 0:
            sim::FailNext(sim::SdkCall::EmailSend, 7);
            Fault("failed e-mail");
            break;
        case 1:
            sim::RefuseNext(sim::SdkCall::EmailSend, 7);
            Fault("refused e-mail");
            break;
        default: break;
    }
    input->InsertText(text);
    CControlUI* send = sim::FindControl(Component(m_email)->GetPanel(), "input.msg_button.sendmsg");
    // A failed e-mail stays in the input, and the user sends it again.
    for (int attempt = 0; attempt < 2 && !input->GetText().empty(); ++attempt) {
        if (attempt > 0 && input->GetText() != left) {
            Problem("a failed e-mail changed the input to \"" + Narrow(input->GetText().substr(0, 60)) + "\"");
            input->Clear();
            input->InsertText(text);
        }
        sim::Click(send);
        sim::RunUntilIdle();
    }
    if (!input->GetText().empty()) {
        Problem("e-mail " + Narrow(email.start) + " did not go when sent again");
        input->Clear();
    }
    sim::PlanOutcomes(sim::SdkCall::EmailSend, {});
    // Every character typed reached the service once, whatever part failed.
    std::u16string delivered;
    const std::vector<sim::StoredEmail>& emails = sim::EmailsWith(m_email.peer);
    for (size_t n = deliveredBefore; n < emails.size(); ++n) {
        const size_t body = emails[n].raw.find("\r\n\r\n");
        if (body != std::string::npos) delivered += sim::ToWide(emails[n].raw.substr(body + 4));
    }
    std::sort(delivered.begin(), delivered.end());
    std::u16string typed = text;
    std::sort(typed.begin(), typed.end());
    if (delivered != typed) Problem("e-mail " + Narrow(email.start) + " did not reach the service whole and once");
    ++m_result.counts.emailsSent;
}

// Every e-mail the user sent went to the service once, in the order sent.
void Engine::CheckEmails() {
    std::u16string sent;
    for (const sim::StoredEmail& email : sim::EmailsWith(m_email.peer)) {
        if (email.folder == "sent") sent += sim::ToWide(email.raw);
    }
    size_t last = 0;
    for (const Email& email : m_emails) {
        const std::string name = Narrow(email.start);
        const size_t starts = Occurrences(sent, email.start), ends = Occurrences(sent, email.end);
        if (starts != 1 || ends != 1) {
            Problem("e-mail " + name + " reached the service " + std::to_string(starts) + " times");
            continue;
        }
        const size_t at = sent.find(email.start);
        if (sent.find(email.end) < at) Problem("e-mail " + name + " arrived cut apart");
        if (at < last) Problem("e-mail " + name + " arrived before one sent earlier");
        last = at;
    }
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
        {"resend", 4, chat([](Engine& e, Engine::Chat& c) { e.Resend(c); })},
        {"send e-mail", 3, [](Engine& e) { e.SendEmail(); }},
    };
}

}  // namespace soak
