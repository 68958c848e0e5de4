// Commands that build the world: the account, buddies, groups, stored
// messages, preferences, configuration and the login state.
#include <map>

#include "Runner.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

constexpr uint32_t kMsgPreLogout = 0x528B;

}  // namespace

bool IsGroupId(const std::string& id) {
    qel_handle buddies = qel_account_buddies(sim::CurrentAccount());
    qel_handle groups = buddies ? qel_buddies_find_cate(buddies, 2) : nullptr;
    return groups && qel_buddies_cate_find_buddy_group(groups, id.c_str());
}

namespace {

std::string NeedAccount() { return sim::CurrentAccount() ? "" : "no account yet: start with 'me <id> \"<name>\"'"; }

std::string Me(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: me <id> \"<name>\"";
    qel_handle account = sim::AddAccount(args[0].text);
    qel_attribs_set_str(qel_account_bound_buddy(account), "nickname", args[1].text.c_str(), 0);
    return "";
}

std::string Buddy(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: buddy <id> \"<name>\"";
    if (auto e = NeedAccount(); !e.empty()) return e;
    sim::AddBuddy(args[0].text, args[1].text);
    sim::OpenConversation(args[0].text);
    return "";
}

std::string Group(Runner&, const std::vector<Word>& args) {
    if (args.size() < 2) return "usage: group <id> \"<name>\" <member-id>...";
    if (auto e = NeedAccount(); !e.empty()) return e;
    qel_handle group = sim::AddGroup(args[0].text);
    qel_attribs_set_str(group, "name", args[1].text.c_str(), 0);
    for (size_t i = 2; i < args.size(); ++i) sim::AddGroupMember(args[0].text, args[i].text);
    sim::AddGroupMember(args[0].text, qel_account_get_buddy_id(sim::CurrentAccount()));
    sim::OpenConversation(args[0].text, true);
    return "";
}

std::string Role(Runner&, const std::vector<Word>& args) {
    if (args.size() != 3) return "usage: role <group-id> <member-id> <n>";
    long long role = 0;
    if (auto e = NumberArg(args[2], role); !e.empty()) return e;
    sim::AddGroupMember(args[0].text, args[1].text, int(role));
    // The user's own role is also what the group says of the user.
    qel_handle account = sim::CurrentAccount();
    if (account && args[1].text == qel_account_get_buddy_id(account))
        sim::ServerSetAttrib(sim::AddGroup(args[0].text), "my-authority-role", int64_t(role));
    return "";
}

std::string Stored(Runner&, const std::vector<Word>& args) {
    if (args.size() != 3 && args.size() != 5) return "usage: stored <peer-id> <n> read|unread [from <sender-id>]";
    if (auto e = NeedAccount(); !e.empty()) return e;
    long long count = 0;
    if (auto e = NumberArg(args[1], count); !e.empty()) return e;
    if (count < 0 || count > 1000000) return "stored takes 0 to 1000000 messages";
    if (args[2].text != "read" && args[2].text != "unread") return "stored needs 'read' or 'unread'";
    std::string sender;
    if (args.size() == 5) {
        if (args[3].text != "from") return "usage: stored <peer-id> <n> read|unread [from <sender-id>]";
        sender = args[4].text;
    }
    const bool isGroup = IsGroupId(args[0].text);
    qel_handle conversation = sim::OpenConversation(args[0].text, isGroup);
    const std::string own = qel_account_get_buddy_id(sim::CurrentAccount());
    // Numbering goes on from what the conversation holds already.
    static std::map<std::string, long long> numbered;
    long long& last = numbered[args[0].text];
    for (long long i = last + 1; i <= last + count; ++i) {
        sim::StoredMsg message;
        message.sender = sender;
        message.sent = !sender.empty() && sender == own;
        message.read = args[2].text == "read";
        message.content = "message " + std::to_string(i);
        message.summary = message.content;
        sim::AddStoredMsg(conversation, message);
    }
    last += count;
    return "";
}

std::string Pref(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: pref <key> <value>";
    if (auto e = NeedAccount(); !e.empty()) return e;
    auto number = ParseNumber(args[1].text);
    if (number && !args[1].quoted) sim::SetPrefInt(args[0].text, int(*number));
    else sim::SetPrefStr(args[0].text, sim::ToWide(args[1].text));
    return "";
}

std::string Login(Runner&, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: login";
    if (auto e = NeedAccount(); !e.empty()) return e;
    sim::SetLoggedIn(sim::CurrentAccount(), true);
    return "";
}

std::string Logout(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: logout";
    if (auto e = NeedAccount(); !e.empty()) return e;
    // The host tells the module before the account goes offline.
    runner.Module()->OnObjMsg(kMsgPreLogout, 0, 0, nullptr);
    sim::SetLoggedIn(sim::CurrentAccount(), false);
    return "";
}

}  // namespace

void AddWorldCommands(Runner& runner) {
    runner.Add("me", {"me <id> \"<name>\"", "the account's own user; the account is logged in", Me});
    runner.Add("buddy", {"buddy <id> \"<name>\"", "a buddy of the account", Buddy});
    runner.Add("group", {"group <id> \"<name>\" <member-id>...", "a group with these members and the user", Group});
    runner.Add("role", {"role <group-id> <member-id> <n>", "a member's role (3 owner, 2 administrator)", Role});
    runner.Add("stored", {"stored <peer-id> <n> read|unread [from <sender-id>]",
                          "n more messages already in the peer's conversation", Stored});
    runner.Add("pref", {"pref <key> <value>", "an account preference (number or \"text\")", Pref});
    runner.Add("login", {"login", "the account logs in", Login});
    runner.Add("logout", {"logout", "the account logs out (drafts are saved first)", Logout});
}

}  // namespace host
