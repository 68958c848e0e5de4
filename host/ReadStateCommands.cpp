// Commands of reading and reminding: the partner's read cursor, receipt
// counts, group-top messages, last logins, birthdays and the caption bar,
// played the way the server and the client's host would.
#include <climits>

#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

tavi::ITavi* CurrentComponent(Runner& runner) {
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    return window ? window->GetTavi() : nullptr;
}

// The conversation of the current window, or an error text.
std::string NeedConversation(Runner& runner, qel_handle& conversation) {
    if (!CurrentComponent(runner)) return "no chat window is open: use 'open'";
    const std::string peer = sim::ChatWindowPeer(runner.CurrentWindow());
    conversation = sim::OpenConversation(peer, IsGroupId(peer));
    return conversation ? "" : "the window has no conversation";
}

// The n-th message of the conversation, counting from its oldest (1).
std::string NthMessage(qel_handle conversation, const Word& word, qel_handle& message) {
    long long n = 0;
    if (auto e = NumberArg(word, n); !e.empty()) return e;
    qel_handle* list = nullptr;
    int count = 0;
    qel_conversation_get_page_record(conversation, 0, UINT64_MAX, 0, INT_MAX, 1, &list, &count, 0);
    message = n >= 1 && n <= count ? list[count - n] : nullptr;
    qel_release_handle_array(list);
    return message ? "" : "the conversation has no message " + word.text;
}

std::string NumberIn(const Word& word, long long low, long long high, long long& value) {
    if (auto e = NumberArg(word, value); !e.empty()) return e;
    if (value < low || value > high)
        return "'" + word.text + "' is not between " + std::to_string(low) + " and " + std::to_string(high);
    return "";
}

std::string PartnerRead(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: partner-read <n>";
    qel_handle conversation = nullptr;
    if (auto e = NeedConversation(runner, conversation); !e.empty()) return e;
    if (std::string(qel_conversation_get_channel_id(conversation)) != "im") return "partner-read needs a person chat";
    int64_t seq = 0;
    if (args[0].text != "0") {
        qel_handle message = nullptr;
        if (auto e = NthMessage(conversation, args[0], message); !e.empty()) return e;
        seq = int64_t(qel_msg_get_conv_msg_id(message));
    }
    sim::ServerSetPartnerReadCursor(conversation, seq, qel_get_adjusted_time());
    return "";
}

std::string Receipt(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: receipt <n> <count>";
    qel_handle conversation = nullptr;
    qel_handle message = nullptr;
    long long count = 0;
    if (auto e = NeedConversation(runner, conversation); !e.empty()) return e;
    if (auto e = NthMessage(conversation, args[0], message); !e.empty()) return e;
    if (auto e = NumberIn(args[1], 0, INT_MAX, count); !e.empty()) return e;
    sim::ServerSetReceiptUnread(message, int(count));
    return "";
}

std::string SendReceipt(Runner& runner, const std::vector<Word>& args) {
    if (args.empty() || (args.size() > 1 && args[1].text != "to") || args.size() == 2)
        return "usage: send-receipt \"<text>\" [to all|<member-id>...]";
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return "no chat window is open: use 'open'";
    std::string targets;
    for (size_t i = 2; i < args.size(); ++i) targets += (targets.empty() ? "" : ",") + args[i].text;
    if (targets.empty()) targets = "all";
    const std::u16string extra = u"{\"receiptto\":\"" + sim::ToWide(targets) + u"\"}";
    if (component->QelSendMsg(sim::ToWide(args[0].text).c_str(), extra.c_str(), "text/plain", true) != 0)
        return "the message could not be sent";
    return "";
}

std::string MembersCount(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: members-count <group-id> <n>";
    long long count = 0;
    if (!IsGroupId(args[0].text)) return "no group '" + args[0].text + "'";
    if (auto e = NumberIn(args[1], 0, INT_MAX, count); !e.empty()) return e;
    sim::ServerSetAttrib(sim::AddGroup(args[0].text), "total-members-count", count);
    return "";
}

std::string GrpTop(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: grp-top <n>";
    qel_handle conversation = nullptr;
    qel_handle message = nullptr;
    if (auto e = NeedConversation(runner, conversation); !e.empty()) return e;
    if (auto e = NthMessage(conversation, args[0], message); !e.empty()) return e;
    sim::ServerStickGrpTop(message, true);
    // The client's host hears of the change and has the window look again.
    CurrentComponent(runner)->UpdateGrpTopUnreadMsg();
    return "";
}

std::string Birthday(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: birthday <buddy-id> <days-ahead|none>";
    long long days = -1;
    if (args[1].text != "none") {
        if (auto e = NumberIn(args[1], 0, 366, days); !e.empty()) return e;
    }
    sim::SetBirthdayInDays(args[0].text, int(days));
    if (tavi::ITavi* component = CurrentComponent(runner)) component->ReflashBirthRemind();
    return "";
}

std::string LastLogin(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: last-login <buddy-id> <seconds-ago>";
    long long seconds = 0;
    if (auto e = NumberIn(args[1], 0, LLONG_MAX, seconds); !e.empty()) return e;
    sim::SetLastLoginInterval(args[0].text, seconds);
    return "";
}

std::string Caption(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: caption on|off|\"<text>\"";
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return "no chat window is open: use 'open'";
    if (!args[0].quoted && args[0].text == "on") component->ShowCaptionBar(true);
    else if (!args[0].quoted && args[0].text == "off") component->ShowCaptionBar(false);
    else if (args[0].quoted) component->SetCaptionBarText(sim::ToWide(args[0].text).c_str());
    else return "usage: caption on|off|\"<text>\"";
    return "";
}

std::string ShowAttr(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: show attr <key>";
    qel_handle conversation = nullptr;
    if (auto e = NeedConversation(runner, conversation); !e.empty()) return e;
    const char* value = qel_attribs_get_str(conversation, args[0].text.c_str(), nullptr);
    runner.Print("attr " + args[0].text + "=" + EscapeForTranscript(value ? value : ""));
    return "";
}

}  // namespace

void AddReadStateCommands(Runner& runner) {
    runner.Add("partner-read", {"partner-read <n>", "the partner has read the first n messages of the person chat",
                                PartnerRead});
    runner.Add("receipt", {"receipt <n> <count>", "the n-th message now has count recipients who have not read it",
                           Receipt});
    runner.Add("send-receipt", {"send-receipt \"<text>\" [to all|<member-id>...]",
                                "sends the text asking for a read receipt (from everyone by default)", SendReceipt});
    runner.Add("members-count", {"members-count <group-id> <n>", "the server's count of the group's members",
                                 MembersCount});
    runner.Add("grp-top", {"grp-top <n>", "the n-th message is stuck to the group top; the window is told",
                           GrpTop});
    runner.Add("birthday", {"birthday <buddy-id> <days-ahead|none>",
                            "the buddy's birthday is that many days ahead; the window checks again", Birthday});
    runner.Add("last-login", {"last-login <buddy-id> <seconds-ago>", "when the buddy was last online", LastLogin});
    runner.Add("caption", {"caption on|off|\"<text>\"", "the host shows or hides the caption bar, or sets its text",
                           Caption});
    runner.Add("show attr", {"show attr <key>", "an attribute of the current conversation", ShowAttr});
}

}  // namespace host
