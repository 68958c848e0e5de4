// Moving between chats the way a person does: one window per chat, a list
// of what is open, switching, and paging back through older messages.
#include <algorithm>

#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/qel_account.h"
#include "sim/driver.h"

namespace host {

namespace {

struct WindowKind {
    const char* name;
    sim::ChatKind kind;
};
constexpr WindowKind kKinds[] = {{"person", sim::ChatKind::Person},
                                 {"group", sim::ChatKind::Group},
                                 {"adhoc", sim::ChatKind::Adhoc},
                                 {"email", sim::ChatKind::Email}};

const WindowKind* FindKind(const std::string& name) {
    for (const WindowKind& kind : kKinds) {
        if (name == kind.name) return &kind;
    }
    return nullptr;
}

bool IsBuddyId(const std::string& id) {
    qel_handle buddies = qel_account_buddies(sim::CurrentAccount());
    return buddies && qel_buddies_find_buddy_base(buddies, id.c_str());
}

std::string OwnId() {
    qel_handle account = sim::CurrentAccount();
    const char* id = account ? qel_account_get_buddy_id(account) : nullptr;
    return id ? id : "";
}

// Why a window of that kind cannot be opened for the peer; empty when it can.
std::string PeerProblem(const std::string& kind, const std::string& peer) {
    const bool group = IsGroupId(peer);
    if (kind == "group") {
        if (group) return "";
        return "there is no group '" + peer + "': make one with 'group " + peer + " \"<name>\" <member-id>...'";
    }
    if (kind == "person" && group) return "'" + peer + "' is a group: use 'open group " + peer + "'";
    if (group || IsBuddyId(peer)) return "";
    return "there is no one with the id '" + peer + "': add them with 'buddy " + peer + " \"<name>\"'";
}

std::string Open(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: open person|group|adhoc|email <peer-id>";
    if (!sim::CurrentAccount()) return "no account yet: start with 'me <id> \"<name>\"'";
    const WindowKind* kind = FindKind(args[0].text);
    if (!kind) return "unknown window kind '" + args[0].text + "': person, group, adhoc or email";
    const std::string& peer = args[1].text;
    if (auto problem = PeerProblem(kind->name, peer); !problem.empty()) return problem;
    // As the client's window manager does: a chat has one window.
    if (HWND open = runner.FindWindow(kind->name, peer)) {
        runner.SetCurrentWindow(open);
        return "";
    }
    HWND window = sim::OpenChatWindow(kind->kind, peer);
    if (!window) return "the chat window could not be opened";
    runner.AddWindow({window, kind->name, peer});
    return "";
}

std::string Close(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: close";
    if (!sim::FindChatWindow(runner.CurrentWindow())) return "no chat window is open: use 'open'";
    sim::CloseChatWindow(runner.CurrentWindow());
    return "";
}

std::string Windows(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: windows";
    for (const OpenWindow& window : runner.Windows()) {
        runner.Print("window " + window.kind + " " + window.peer + (window.handle == runner.CurrentWindow() ? " *" : ""));
    }
    return "";
}

std::string Switch(Runner& runner, const std::vector<Word>& args) {
    if (args.empty() || args.size() > 2) return "usage: switch <peer-id> [person|group|adhoc|email]";
    const std::string& peer = args[0].text;
    if (args.size() == 2 && !FindKind(args[1].text))
        return "unknown window kind '" + args[1].text + "': person, group, adhoc or email";
    std::vector<HWND> matches;
    for (const OpenWindow& window : runner.Windows()) {
        if (window.peer == peer && (args.size() == 1 || window.kind == args[1].text)) matches.push_back(window.handle);
    }
    if (matches.empty()) return "no window of '" + peer + "' is open: 'windows' lists them, 'open' opens one";
    if (matches.size() > 1) return "'" + peer + "' has several windows: say which with 'switch " + peer + " <kind>'";
    runner.SetCurrentWindow(matches.front());
    return "";
}

std::string More(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: more";
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    if (!window) return "no chat window is open: use 'open'";
    CControlUI* pane = sim::FindControl(window, "showmoremsg");
    if (!pane || !sim::IsShown(pane)) return "there are no older messages to show";
    sim::Click(pane);
    return "";
}

}  // namespace

void Runner::SetCurrentWindow(HWND window) {
    m_current = window;
    sim::SetCurrentChatWindow(window);
}

HWND Runner::FindWindow(const std::string& kind, const std::string& peer) const {
    for (const OpenWindow& window : m_windows) {
        if (window.kind == kind && window.peer == peer) return window.handle;
    }
    return nullptr;
}

void Runner::AddWindow(const OpenWindow& window) {
    m_windows.push_back(window);
    SetCurrentWindow(window.handle);
}

void Runner::ForgetClosedWindows() {
    std::erase_if(m_windows, [](const OpenWindow& window) { return !sim::FindChatWindow(window.handle); });
    if (m_current && !sim::FindChatWindow(m_current))
        SetCurrentWindow(m_windows.empty() ? nullptr : m_windows.back().handle);
}

std::string Runner::Prompt() const {
    for (const OpenWindow& window : m_windows) {
        if (window.handle != m_current) continue;
        const bool chat = window.kind == "person" || window.kind == "group";
        return window.peer + (chat ? "" : " (" + window.kind + ")") + "> ";
    }
    return "tavi> ";
}

std::string SenderProblem(Runner& runner, const std::string& sender) {
    const OpenWindow* current = nullptr;
    for (const OpenWindow& window : runner.Windows()) {
        if (window.handle == runner.CurrentWindow()) current = &window;
    }
    if (!current || sender == OwnId() || sender == current->peer) return "";
    if (IsGroupId(current->peer)) {
        qel_handle buddies = qel_account_buddies(sim::CurrentAccount());
        qel_handle groups = buddies ? qel_buddies_find_cate(buddies, 2) : nullptr;
        qel_handle group = groups ? qel_buddies_cate_find_buddy_group(groups, current->peer.c_str()) : nullptr;
        if (group && qel_buddy_group_get_member_attribs(group, sender.c_str())) return "";
        return "'" + sender + "' is not a member of the group '" + current->peer + "'";
    }
    return "'" + sender + "' is not in the chat with '" + current->peer + "': only '" + current->peer + "' or '" +
           OwnId() + "' can write here";
}

void AddWindowCommands(Runner& runner) {
    runner.Add("open", {"open person|group|adhoc|email <peer-id>",
                        "opens a chat window, or brings back the one already open; it becomes current", Open});
    runner.Add("close", {"close", "closes the current window", Close});
    runner.Add("windows", {"windows", "lists the open windows, * after the current one", Windows});
    runner.Add("switch", {"switch <peer-id> [<kind>]", "makes the open window of that peer current", Switch});
    runner.Add("more", {"more", "shows older messages above the history", More});
}

}  // namespace host
