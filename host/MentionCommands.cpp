// Commands of @-mentions: big groups, typing as a person does, the keys
// of the member popup, and the `popup at` line that shows the popup.
#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/ui/ListUI.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

constexpr int kRowsInView = 5;

CRichEditUI* CurrentInput(Runner& runner) {
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    tavi::ITavi* component = window ? window->GetTavi() : nullptr;
    return component ? component->GetInputRichEdit() : nullptr;
}

std::string Members(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: members <group-id> <n>";
    if (!sim::CurrentAccount()) return "no account yet: start with 'me <id> \"<name>\"'";
    if (!IsGroupId(args[0].text)) return "no group '" + args[0].text + "': make it with 'group'";
    long long count = 0;
    if (auto e = NumberArg(args[1], count); !e.empty()) return e;
    if (count < 0 || count > 100000) return "members takes 0 to 100000 members";
    for (long long k = 1; k <= count; ++k) {
        const std::string id = args[0].text + "." + std::to_string(k);
        sim::AddBuddy(id, "Member " + std::to_string(k), false);
        sim::AddGroupMember(args[0].text, id);
    }
    return "";
}

std::string Append(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: append \"<text>\"";
    CRichEditUI* input = CurrentInput(runner);
    if (!input) return "no chat window is open: use 'open'";
    // One character at a time, each answered before the next, as a person types.
    for (char16_t c : sim::ToWide(args[0].text)) {
        sim::TypeText(input, std::u16string(1, c));
        sim::RunUntilIdle();
        runner.PrintNewEvents();
        input = CurrentInput(runner);
        if (!input) break;
    }
    return "";
}

// The @-member popup of the chat window, null when it has none.
CWindowUI* AtPopup(HWND chatWindow) {
    for (CWindowUI* window : sim::Windows()) {
        if (window->GetWindowName() == u"listbox" && window->GetParentHWND() == chatWindow) return window;
    }
    return nullptr;
}

// The rows in view, quoted, the selected one marked.
std::string PopupLine(CWindowUI* popup) {
    if (!popup->IsWindowVisible()) return "popup at hidden";
    auto* list = dynamic_cast<CListUI*>(popup->FindControl(u"list"));
    std::string line = "popup at";
    if (!list) return line;
    const int end = std::min(list->GetCount(), list->GetTopIndex() + kRowsInView);
    for (int i = list->GetTopIndex(); i < end; ++i) {
        CControlUI* text = list->GetItemAt(i)->FindSubControl(u"at_and_name");
        line += " \"" + EscapeForTranscript(sim::ToUtf8(text ? text->GetText() : u"")) + "\"";
        if (i == list->GetCurSel()) line += "*";
    }
    return line;
}

}  // namespace

bool PressMentionKey(CRichEditUI* input, const std::string& key) {
    if (key == "up") sim::SendKeyDown(input, VK_UP);
    else if (key == "down") sim::SendKeyDown(input, VK_DOWN);
    else if (key == "esc") sim::SendKeyDown(input, VK_ESCAPE);
    else if (key == "backspace") sim::SendKey(input, u'\b');
    else if (key == "shift+enter") {
        sim::SetKeyDown(VK_SHIFT, true);
        sim::PressEnter(input);
        sim::SetKeyDown(VK_SHIFT, false);
    } else {
        return false;
    }
    return true;
}

void PrintPopupChanges(Runner& runner, std::map<HWND, std::string>& printed) {
    for (HWND chat : sim::OpenChatWindows()) {
        CWindowUI* popup = AtPopup(chat);
        if (!popup) continue;
        const std::string line = PopupLine(popup);
        std::string& last = printed[chat];
        // A popup that never showed has nothing to hide.
        if (line == last || (last.empty() && line == "popup at hidden")) continue;
        last = line;
        runner.Print(line);
    }
}

void AddMentionCommands(Runner& runner) {
    runner.Add("members", {"members <group-id> <n>", "adds n members \"Member <k>\" (<group-id>.<k>) to the group", Members});
    runner.Add("append", {"append \"<text>\"", "types the text at the caret, one character at a time", Append});
}

}  // namespace host
