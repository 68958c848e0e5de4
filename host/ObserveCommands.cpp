// Commands that print what the user would see.
#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/DisplayInternal.h"

namespace host {

namespace {

// The tips over the history, in the order of the layout.
constexpr const char* kTips[] = {"loginout", "birth_tip", "at_info", "grp_top_info",
                                 "def_tip_ctn", "frddynamic", "collect_info"};

// An edit's text as printed: objects as [img], no trailing line break.
std::string Printable(std::u16string text) {
    std::u16string out;
    for (char16_t c : text) {
        if (c == u'\xFFFC') out += u"[img]";
        else if (c == u'\r') out += u'\n';
        else out += c;
    }
    while (!out.empty() && out.back() == u'\n') out.pop_back();
    return EscapeForTranscript(sim::ToUtf8(out));
}

tavi::ITavi* Current(Runner& runner) {
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    return window ? window->GetTavi() : nullptr;
}

std::string ShowHistory(Runner& runner, const std::vector<Word>& args) {
    if (args.size() > 1) return "usage: show history [<last-n>]";
    long long last = -1;
    if (args.size() == 1) {
        if (auto e = NumberArg(args[0], last); !e.empty()) return e;
        if (last < 0) return "show history takes a count of 0 or more";
    }
    tavi::ITavi* component = Current(runner);
    if (!component) return "no chat window is open: use 'open'";
    CRichEditExUI* view = component->GetMsgHistoryRichEdit();
    if (!view) return "the window shows no history";
    std::vector<sim::ViewItem> items;
    // Pictures print as "[img]", whatever file or key they show.
    for (const sim::ViewItem& item : sim::ViewItems(view, true)) {
        if (item.visible) items.push_back(item);
    }
    const size_t first = last >= 0 && size_t(last) < items.size() ? items.size() - size_t(last) : 0;
    for (size_t i = first; i < items.size(); ++i) {
        const sim::ViewItem& item = items[i];
        // The view's header line holds the pane for older messages.
        std::string kind = item.kind == "header" ? "pane" : item.kind;
        if (kind == "msg" && sim::IsMarkedFailed(view, item.id)) kind = "msg-failed";
        // A pane made of controls shows what its controls say.
        const std::u16string shown = kind == "pane" ? sim::ShownControlText(view, item.id) : std::u16string();
        const std::string id = runner.ShowsIds() ? "[" + std::to_string(item.id) + "] " : "";
        runner.Print(runner.Line(id + kind + " ", Printable(shown.empty() ? item.text : shown)));
    }
    return "";
}

std::string ShowInput(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: show input";
    tavi::ITavi* component = Current(runner);
    if (!component || !component->GetInputRichEdit()) return "no chat window is open: use 'open'";
    runner.Print("input: " + Printable(component->GetInputRichEdit()->GetText()));
    return "";
}

std::string ShowTips(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: show tips";
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    if (!window) return "no chat window is open: use 'open'";
    std::string line = "tips:";
    for (const char* tip : kTips) {
        CControlUI* control = sim::FindControl(window, std::string("history.view.") + tip);
        if (control && sim::IsShown(control)) line += std::string(" ") + tip;
    }
    runner.Print(line);
    return "";
}

}  // namespace

void AddObserveCommands(Runner& runner) {
    runner.Add("show history", {"show history [<last-n>]", "the history view, one line per item (or its last n)", ShowHistory});
    runner.Add("show input", {"show input", "the input's content", ShowInput});
    runner.Add("show sent", {"show sent", "every send request the SDK received",
                             [](Runner& r, const std::vector<Word>& args) -> std::string {
                                 if (!args.empty()) return "usage: show sent";
                                 r.PrintSentAgain();
                                 return "";
                             }});
    runner.Add("show tips", {"show tips", "the tips showing over the history", ShowTips});
}

}  // namespace host
