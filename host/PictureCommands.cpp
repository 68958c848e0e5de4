// Commands around pictures: dropping files, double clicks, the pointer
// resting on a picture and the image tool bar, the host's picture
// services, and the transcript lines of what the host was asked.
#include <set>

#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

// Where the pointer is sent when it moves away from what it rested on.
constexpr int32_t kAway = -10000;

struct PictureWatch {
    size_t printedCalls = 0;
    size_t printedDialogs = 0;
    size_t printedCopies = 0;
    size_t printedEvents = 0;
    bool toolsShown = false;
    // The picture the pointer rests on: its view and its point in the view's window.
    CRichEditUI* hoverEdit = nullptr;
    HWND hoverWindow = nullptr;
    TPointUI hoverPoint;
};

PictureWatch& Watch() {
    static PictureWatch watch;
    return watch;
}

tavi::ITavi* CurrentComponent(Runner& runner) {
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    return window ? window->GetTavi() : nullptr;
}

std::string NoWindow() { return "no chat window is open: use 'open'"; }

// The first picture of a shown item of the history view.
COleImageObj* PictureOfItem(CRichEditExUI* view, const Word& idWord, std::string& error) {
    auto id = ParseNumber(idWord.text);
    CHARRANGE range;
    if (!id || !view || !view->GetMsgRange(*id, range)) {
        error = "the history shows no item " + idWord.text;
        return nullptr;
    }
    for (long pos = range.cpMin; pos < range.cpMax; ++pos) {
        if (auto* picture = dynamic_cast<COleImageObj*>(view->GetObjectAtPos(pos))) return picture;
    }
    error = "the item " + idWord.text + " shows no picture";
    return nullptr;
}

TPointUI CentreOf(const COleObject* object) {
    RECT r;
    object->GetBound(r);
    return TPointUI{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void MoveCursorTo(CRichEditUI* edit, TPointUI client) {
    CWindowUI* window = edit ? edit->GetWindow() : nullptr;
    const TPointUI screen = window ? window->ClientToScreen(client) : client;
    sim::SetCursorPos(screen.x, screen.y);
}

// The image tool bar that shows now; one shows at a time.
CWindowUI* ShownToolBar() {
    for (CWindowUI* window : sim::Windows()) {
        if (window->GetWindowName() == u"richedit_image_tool" && window->IsWindowVisible()) return window;
    }
    return nullptr;
}

// The pointer that rested on a picture moves away.
void EndHover() {
    PictureWatch& w = Watch();
    if (!w.hoverEdit) return;
    CRichEditUI* edit = w.hoverEdit;
    w.hoverEdit = nullptr;
    if (!CWindowUI::FromHandle(w.hoverWindow)) return;
    sim::SetCursorPos(kAway, kAway);
    sim::SendOleEvent(edit, 3, w.hoverPoint);
}

std::string Drop(Runner& runner, const std::vector<Word>& args) {
    if (args.empty()) return "usage: drop <path>...";
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return NoWindow();
    std::vector<std::u16string> paths;
    for (const Word& word : args) paths.push_back(sim::ToWide(runner.ResolvePath(word.text)));
    TEventUI event;
    event.Type = UIEVENT_DROPFILES;
    event.wParam = reinterpret_cast<uintptr_t>(sim::MakeDrop(paths));
    component->ProcHostDuiMsg(&event);
    return "";
}

std::string DoubleClick(Runner& runner, const std::vector<Word>& args) {
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return NoWindow();
    COleImageObj* picture = nullptr;
    CRichEditUI* edit = nullptr;
    std::string error;
    if (args.size() == 2 && args[0].text == "history") {
        CRichEditExUI* view = component->GetMsgHistoryRichEdit();
        picture = PictureOfItem(view, args[1], error);
        edit = view;
    } else if (args.size() == 1 && args[0].text == "input") {
        edit = component->GetInputRichEdit();
        for (int i = 0; edit && !picture && i < edit->GetObjectCount(); ++i)
            picture = dynamic_cast<COleImageObj*>(edit->GetObjectAt(i));
        if (!picture) error = "the input holds no picture";
    } else {
        return "usage: dblclick history <id> | dblclick input";
    }
    if (!picture) return error;
    sim::Notify(edit, UINOTIFY_DBLCLICK, 0, reinterpret_cast<intptr_t>(picture));
    return "";
}

// "hover history <id>": the words after "hover history".
std::string Hover(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: hover history <id>";
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return NoWindow();
    CRichEditExUI* view = component->GetMsgHistoryRichEdit();
    std::string error;
    COleImageObj* picture = PictureOfItem(view, args[0], error);
    if (!picture) return error;
    const TPointUI point = CentreOf(picture);
    MoveCursorTo(view, point);
    sim::SendOleEvent(view, 4, point);
    PictureWatch& w = Watch();
    w.hoverEdit = view;
    w.hoverWindow = view->GetWindow() ? view->GetWindow()->GetHWND() : nullptr;
    w.hoverPoint = point;
    return "";
}

// The pointer leaves the picture onto the bar and clicks one of its buttons.
std::string Tool(Runner& runner, const std::vector<Word>& args) {
    static const std::set<std::string> kButtons{"save", "edit", "addface", "decode"};
    if (args.size() != 1 || !kButtons.count(args[0].text)) return "usage: tool save|edit|addface|decode";
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return NoWindow();
    PictureWatch& w = Watch();
    CWindowUI* bar = ShownToolBar();
    if (!bar) return "the image tool bar is not showing: use 'hover history <id>'";
    const RECT r = bar->GetWindowRect();
    sim::SetCursorPos(r.left + 1, r.top + 1);
    if (w.hoverEdit) sim::SendOleEvent(w.hoverEdit, 3, w.hoverPoint);
    w.hoverEdit = nullptr;
    sim::Click(bar->FindControl(sim::ToWide(args[0].text)));
    return "";
}

std::string ReceiveBody(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 3) return "usage: receive-body <sender-id> <content-type> \"<body>\"";
    tavi::ITavi* component = CurrentComponent(runner);
    if (!component) return NoWindow();
    if (auto e = SenderProblem(runner, args[0].text); !e.empty()) return e;
    const std::string peer = sim::ChatWindowPeer(runner.CurrentWindow());
    qel_handle conversation = sim::OpenConversation(peer, IsGroupId(peer));
    sim::DeliverIncomingMsg(conversation, args[2].text, args[1].text, args[0].text);
    component->GetAndShowMsg(0, 0);
    return "";
}

std::string Serve(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: serve <picture-key> <path>";
    sim::ServePicture(args[0].text, sim::ToWide(runner.ResolvePath(args[1].text)));
    return "";
}

// "service photo|face-browser|recent-photos on|off [...]": the words after the service's name.
std::string PhotoService(Runner& runner, const std::vector<Word>& args) {
    if (args.empty() || args.size() > 2 || (args[0].text != "on" && args[0].text != "off"))
        return "usage: service photo on|off [<saved-photo-path>]";
    sim::SetPhotoService(args[0].text == "on", true, args.size() == 2 ? sim::ToWide(runner.ResolvePath(args[1].text)) : u"");
    return "";
}
Command OnOffService(const std::string& name, void (*set)(bool)) {
    return {"service " + name + " on|off", "offers or withdraws a host service",
            [name, set](Runner&, const std::vector<Word>& args) -> std::string {
                if (args.size() != 1 || (args[0].text != "on" && args[0].text != "off"))
                    return "usage: service " + name + " on|off";
                set(args[0].text == "on");
                return "";
            }};
}

std::string DialogAnswer(Runner& runner, const std::vector<Word>& args) {
    std::vector<std::u16string> paths;
    for (const Word& word : args) paths.push_back(sim::ToWide(runner.ResolvePath(word.text)));
    sim::QueueFileDialogAnswer(paths);
    return "";
}

// A quoted word as a scenario would write it.
std::string Quoted(const std::u16string& text) {
    std::string out;
    for (char c : EscapeForTranscript(sim::ToUtf8(text))) {
        if (c == '"') out += '\\';
        out += c;
    }
    return "\"" + out + "\"";
}

void PrintPictureEvents(Runner& runner) {
    PictureWatch& w = Watch();
    const auto& calls = sim::PictureCalls();
    for (; w.printedCalls < calls.size(); ++w.printedCalls) runner.Print("app " + EscapeForTranscript(calls[w.printedCalls]));
    const auto& dialogs = sim::FileDialogs();
    for (; w.printedDialogs < dialogs.size(); ++w.printedDialogs) {
        const sim::FileDialog& d = dialogs[w.printedDialogs];
        std::string filter;
        for (const auto& part : d.filter) filter += " " + Quoted(part);
        runner.Print("dialog " + d.kind + " title=" + Quoted(d.title) + " file=" + Quoted(d.fileName) + " filter" +
                     filter);
    }
    const auto& copies = sim::FileCopies();
    for (; w.printedCopies < copies.size(); ++w.printedCopies) {
        const sim::FileCopy& c = copies[w.printedCopies];
        runner.Print("file copy " + Quoted(c.from) + " " + Quoted(c.to) + (c.ok ? " ok" : " failed"));
    }
    const auto& events = sim::HostEvents();
    for (; w.printedEvents < events.size(); ++w.printedEvents) {
        const sim::HostEvent& e = events[w.printedEvents];
        if (e.kind == "event" && e.code == 4) {  // a picture too large for a message goes as a file
            runner.Print("host send-file " + Quoted(e.path));
            continue;
        }
        if (e.kind != "event" || e.code != 3) continue;
        std::string files;
        for (const auto& path : sim::DropPaths(reinterpret_cast<HDROP>(e.b))) files += " " + Quoted(path);
        runner.Print("host files" + files);
    }
    const bool shown = ShownToolBar() != nullptr;
    if (shown != w.toolsShown)
        runner.Print(shown ? "popup image-tools \"save\" \"edit\" \"addface\" \"decode\"" : "popup image-tools hidden");
    w.toolsShown = shown;
}

}  // namespace

void AddPictureCommands(Runner& runner) {
    Watch() = PictureWatch{};
    runner.Add("drop", {"drop <path>...", "files dropped on the window", Drop});
    runner.Add("dblclick", {"dblclick history <id> | dblclick input", "double click on a shown picture", DoubleClick});
    runner.Add("hover history", {"hover history <id>", "the pointer rests on the item's picture until the next command", Hover});
    runner.Add("tool", {"tool save|edit|addface|decode", "clicks a button of the image tool bar", Tool});
    runner.Add("receive-body", {"receive-body <sender-id> <content-type> \"<body>\"",
                                "a message with exactly this content arrives", ReceiveBody});
    runner.Add("serve", {"serve <picture-key> <path>", "downloads of the picture key give that file", Serve});
    runner.Add("service photo", {"service photo on|off [<saved-photo-path>]", "offers or withdraws the photo service",
                                 PhotoService});
    runner.Add("service face-browser", OnOffService("face-browser", &sim::SetFaceBrowser));
    runner.Add("service recent-photos", OnOffService("recent-photos", &sim::SetRecentPhotoServices));
    runner.Add("dialog-answer", {"dialog-answer [<path>...]", "the next file dialog answers these files (none: cancel)",
                                 DialogAnswer});
    runner.AddBeforeCommand([](Runner&, const std::string& name) {
        if (name != "tool") EndHover();
    });
    runner.AddEventPrinter(&PrintPictureEvents);
}

}  // namespace host
