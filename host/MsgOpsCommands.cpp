// Commands that point at shown messages and operate on them: right clicks
// and menu choices, link clicks, recalls and burns reported by the server;
// and the transcript lines of menus, application calls and the requests
// that change the server's state.
#include <cstdint>

#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/display.h"
#include "sdk/msg_services.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_msg.h"
#include "sdk/ui/MenuUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

struct SPrinted {
    size_t menus = 0;
    size_t calls = 0;
    size_t requests = 0;
};

SPrinted& Printed() {
    static SPrinted printed;
    return printed;
}

tavi::ITavi* Current(Runner& runner) {
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    return window ? window->GetTavi() : nullptr;
}

std::string Quoted(const std::u16string& text) { return "\"" + EscapeForTranscript(sim::ToUtf8(text)) + "\""; }

std::string MenuItems(const std::vector<SMenuItem>& items) {
    std::string line;
    for (const SMenuItem& item : items) {
        if (item.separator) {
            line += " |";
            continue;
        }
        line += " " + std::to_string(item.id) + ":" + Quoted(item.text);
        if (item.checked) line += "*";
        if (!item.enabled) line += "-";
        if (!item.children.empty()) line += " [" + MenuItems(item.children).substr(1) + "]";
    }
    return line;
}

// The n-th message of the conversation, oldest first (from 1).
qel_handle NthMessage(qel_handle conversation, long long n) {
    qel_cxx_helper::HandleArray list;
    qel_conversation_get_page_record(conversation, 0, UINT64_MAX, 0, 0x7fffffff, 1, list.out_list(),
                                     list.out_count(), 0);
    return n >= 1 && n <= list.count() ? list[int(list.count() - n)] : nullptr;
}

std::string NeedMessage(Runner& runner, const Word& number, qel_handle& message, qel_handle& conversation) {
    long long n = 0;
    if (auto e = NumberArg(number, n); !e.empty()) return e;
    if (!Current(runner)) return "no chat window is open: use 'open'";
    const std::string peer = sim::ChatWindowPeer(runner.CurrentWindow());
    conversation = sim::OpenConversation(peer, IsGroupId(peer));
    message = NthMessage(conversation, n);
    return message ? "" : "the conversation has no message " + number.text;
}

// The host tells the component of a recall (or a burn) made elsewhere.
std::string Announce(Runner& runner, qel_handle message, qel_handle conversation, bool recall) {
    SQelBoxMsg record;
    const std::u16string peer = sim::ToWide(sim::ChatWindowPeer(runner.CurrentWindow()));
    if (!CreateQelBoxMsg(record, qel_msg_get_data(message), message, conversation, false, peer.c_str()))
        return "the message has no data";
    if (recall) Current(runner)->OnRecallMessage(&record);
    else Current(runner)->OnBurnReadMessage(&record);
    return "";
}

std::string RightClick(Runner& runner, const std::vector<Word>& args) {
    const std::string usage = "usage: rclick history [<id>] [picture] | rclick input [picture]";
    tavi::ITavi* component = Current(runner);
    if (args.empty()) return usage;
    if (!component) return "no chat window is open: use 'open'";
    const bool picture = args.size() > 1 && args.back().text == "picture";
    TPointUI point{2, 2};
    CRichEditUI* edit = nullptr;
    if (args[0].text == "input") {
        if (args.size() > 2 || (args.size() == 2 && !picture)) return usage;
        edit = component->GetInputRichEdit();
        if (picture && !sim::PointAtPicture(edit, point)) return "the input holds no picture";
    } else if (args[0].text == "history") {
        const size_t words = args.size() - (picture ? 1 : 0);
        if (words > 2) return usage;
        long long id = 0;
        if (words == 2) {
            if (auto e = NumberArg(args[1], id); !e.empty()) return e;
        }
        if (picture && id == 0) return "rclick history picture needs the id of a shown item";
        CRichEditExUI* view = component->GetMsgHistoryRichEdit();
        edit = view;
        if (!view || !sim::PointAtMsg(view, id, picture, point))
            return picture ? "the shown item has no picture" : "no shown item " + std::to_string(id);
    } else {
        return usage;
    }
    if (!edit) return "the window has no such edit";
    sim::DismissMenu();
    sim::NotifyAt(edit, UINOTIFY_RCLICK, point);
    return "";
}

std::string Choose(Runner&, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: choose <item-id>";
    long long id = 0;
    if (auto e = NumberArg(args[0], id); !e.empty()) return e;
    if (!sim::OpenMenu()) return "no menu is open";
    if (!sim::ClickMenuItem(int32_t(id))) return "the open menu has no enabled item " + args[0].text;
    return "";
}

std::string Link(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2 && args.size() != 3) return "usage: link <id> <type> [\"<text>\"]";
    long long id = 0, type = 0;
    if (auto e = NumberArg(args[0], id); !e.empty()) return e;
    if (auto e = NumberArg(args[1], type); !e.empty()) return e;
    tavi::ITavi* component = Current(runner);
    CRichEditExUI* view = component ? component->GetMsgHistoryRichEdit() : nullptr;
    CHARRANGE range;
    if (!view || !view->GetMsgRange(id, range)) return "no shown item " + args[0].text;
    SLinkInfo link;
    link.type = int(type);
    link.text = args.size() == 3 ? sim::ToWide(args[2].text) : sim::ToWide(args[0].text);
    // A link names its target by its text (a user id), else the item itself.
    link.targetId = link.text;
    link.start = range.cpMin;
    link.end = range.cpMax;
    sim::DismissMenu();
    sim::NotifyAt(view, UINOTIFY_LINK, TPointUI{}, 0, reinterpret_cast<intptr_t>(&link));
    return "";
}

std::string Recall(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1 && !(args.size() == 3 && args[1].text == "by")) return "usage: recall <n> [by <member-id>]";
    qel_handle message = nullptr, conversation = nullptr;
    if (auto e = NeedMessage(runner, args[0], message, conversation); !e.empty()) return e;
    sim::RecallStoredMsg(message, args.size() == 3 ? args[2].text : "");
    return Announce(runner, message, conversation, true);
}

std::string Burn(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: burn <n>";
    qel_handle message = nullptr, conversation = nullptr;
    if (auto e = NeedMessage(runner, args[0], message, conversation); !e.empty()) return e;
    sim::SetMsgFlags(message, QEL_MSG_FLAG_BURN_READ, 0);
    return Announce(runner, message, conversation, false);
}

// "refuse"/"fail" of the operations: `<code> <operation>`.
Command OperationFailure(const std::string& name, bool refuse) {
    const std::string usage = name + " <code> recall|collect|stick|unstick";
    return {usage, refuse ? "the next request of that operation is refused at once"
                          : "the next request of that operation completes with the code",
            [usage, refuse](Runner&, const std::vector<Word>& args) -> std::string {
                if (args.size() != 2) return "usage: " + usage;
                long long code = 0;
                if (auto e = NumberArg(args[0], code); !e.empty()) return e;
                sim::SdkCall call;
                const std::string& op = args[1].text;
                if (op == "recall") call = sim::SdkCall::Recall;
                else if (op == "collect") call = sim::SdkCall::Collect;
                else if (op == "stick") call = sim::SdkCall::Stick;
                else if (op == "unstick") call = sim::SdkCall::Unstick;
                else return "usage: " + usage;
                if (refuse) sim::RefuseNext(call, int(code));
                else sim::FailNext(call, int(code));
                return "";
            }};
}

std::string RequestLine(const sim::SdkRequest& r) {
    // A join names a group, no message.
    if (r.kind == "join") return "sdk.join conv=" + r.convId + (r.result ? " refused=" + std::to_string(r.result) : "");
    std::string line = "sdk." + r.kind + " conv=" + r.convId + " msg=" + std::to_string(r.msgId);
    if (r.kind == "collect") line += " key=" + r.value;
    if (r.result != 0) line += " refused=" + std::to_string(r.result);
    return line;
}

}  // namespace

void AddMsgOpsCommands(Runner& runner) {
    Printed() = SPrinted{};
    runner.Add("rclick", {"rclick history [<id>] [picture] | rclick input [picture]",
                          "a right click in the history (on a shown item) or in the input", RightClick});
    runner.Add("choose", {"choose <item-id>", "clicks that item of the open menu", Choose});
    runner.Add("link", {"link <id> <type> [\"<text>\"]", "a click on a link of that type inside the shown item", Link});
    runner.Add("recall", {"recall <n> [by <member-id>]", "the n-th message was recalled elsewhere", Recall});
    runner.Add("burn", {"burn <n>", "the n-th message was burnt after reading", Burn});
    runner.Add("refuse-op", OperationFailure("refuse-op", true));
    runner.Add("fail-op", OperationFailure("fail-op", false));
}

void PrintMsgOpsEvents(Runner& runner) {
    SPrinted& printed = Printed();
    const auto& menus = sim::ShownMenus();
    for (; printed.menus < menus.size(); ++printed.menus) {
        const sim::ShownMenu& menu = menus[printed.menus];
        runner.Print("menu " + std::to_string(menu.menuId) + MenuItems(menu.items));
    }
    // Application calls print with every other app line (Runner).
    const auto& requests = sim::SdkRequests();
    for (; printed.requests < requests.size(); ++printed.requests) {
        const sim::SdkRequest& r = requests[printed.requests];
        if (r.kind == "recall" || r.kind == "collect" || r.kind == "stick" || r.kind == "unstick" || r.kind == "join")
            runner.Print(RequestLine(r));
    }
}

}  // namespace host
