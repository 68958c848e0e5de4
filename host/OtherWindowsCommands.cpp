// Commands of e-mail and ad-hoc windows, view modes, friend dynamics and
// the shake button, and the transcript lines of what they ask of the
// e-mail service, the ad-hoc sender and the application.
#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/ui/ContainerUI.h"
#include "sdk/ui/MenuUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

constexpr uint32_t kWmShakeWindow = 0x5225;

CChatWindowUI* CurrentWindow(Runner& runner) { return sim::FindChatWindow(runner.CurrentWindow()); }

std::string NeedWindow(Runner& runner, CChatWindowUI*& window, tavi::ITavi*& component) {
    window = CurrentWindow(runner);
    component = window ? window->GetTavi() : nullptr;
    return component ? "" : "no chat window is open: use 'open'";
}

std::string Quoted(const std::string& text) { return "\"" + EscapeForTranscript(text) + "\""; }

// ---- e-mail ----

std::string Email(Runner&, const std::vector<Word>& args) {
    if (args.size() != 4) return "usage: email <peer-id> <folder> \"<subject>\" \"<body>\"";
    sim::StoredEmail email;
    email.folder = args[1].text;
    email.raw = sim::MakeRawEmail(args[2].text, args[3].text);
    email.sender = email.folder == "sent" ? "" : args[0].text;
    sim::AddEmail(args[0].text, email);
    return "";
}

std::string EmailRaw(Runner&, const std::vector<Word>& args) {
    if (args.size() != 3) return "usage: email-raw <peer-id> <folder>|null \"<raw>\"";
    sim::StoredEmail email;
    email.folder = args[1].text == "null" ? "" : args[1].text;
    email.raw = args[2].text;
    sim::AddEmail(args[0].text, email);
    return "";
}

std::string EmailFetch(Runner& runner, const std::vector<Word>& args) {
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2].text != "page"))
        return "usage: email-fetch <offset> <count> [page]";
    long long offset = 0, count = 0;
    if (auto e = NumberArg(args[0], offset); !e.empty()) return e;
    if (auto e = NumberArg(args[1], count); !e.empty()) return e;
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    component->EmailRequest(int32_t(offset), int32_t(count), args.size() == 3);
    return "";
}

std::string EmailLayout(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: email-layout <type>";
    long long type = 0;
    if (auto e = NumberArg(args[0], type); !e.empty()) return e;
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    component->SetEmailDlgType(int(type));
    return "";
}

// The compose layout's fields live in the host's window, beside the panel.
std::string EmailCompose(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: email-compose \"<receiver>\" \"<subject>\"";
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    const char16_t* names[] = {u"reciever_edit", u"subject_edit"};
    for (int i = 0; i < 2; ++i) {
        CControlUI* field = window->FindControl(names[i]);
        if (!field) {
            field = new CControlUI;
            field->SetName(names[i]);
            window->GetRoot()->Add(field);
        }
        field->SetText(sim::ToWide(args[size_t(i)].text));
    }
    return "";
}

sim::SdkCall ServiceCall(const std::string& name, bool& known) {
    known = true;
    if (name == "email") return sim::SdkCall::EmailSend;
    if (name == "email-fetch") return sim::SdkCall::EmailGet;
    if (name == "email-seen") return sim::SdkCall::EmailSeen;
    if (name == "adhoc") return sim::SdkCall::Adhoc;
    known = false;
    return sim::SdkCall::Send;
}

Command ServiceCodeCommand(const std::string& verb, bool refuse) {
    const std::string usage = verb + " email|email-fetch|email-seen|adhoc <code>";
    return {usage,
            refuse ? "the next request of that service is refused at once"
                   : "the next completion of that service reports the code",
            [usage, refuse](Runner&, const std::vector<Word>& args) -> std::string {
                if (args.size() != 2) return "usage: " + usage;
                bool known = false;
                const sim::SdkCall call = ServiceCall(args[0].text, known);
                if (!known || (!refuse && call == sim::SdkCall::Adhoc)) return "usage: " + usage;
                long long code = 0;
                if (auto e = NumberArg(args[1], code); !e.empty()) return e;
                if (refuse) sim::RefuseNext(call, int(code));
                else sim::FailNext(call, int(code));
                return "";
            }};
}

// "service <name> on|off": every service registers "service <name>"; this
// one-word form only answers a name that none registered.
std::string UnknownService(Runner&, const std::vector<Word>&) {
    return "usage: service email|adhoc|photo|face-browser|recent-photos on|off";
}

std::string Service(Runner&, const std::vector<Word>& args, bool email) {
    if (args.size() != 1 || (args[0].text != "on" && args[0].text != "off"))
        return std::string("usage: service ") + (email ? "email" : "adhoc") + " on|off";
    const bool on = args[0].text == "on";
    if (email) sim::SetEmailServiceAvailable(on);
    else sim::SetAdhocSenderAvailable(on);
    return "";
}

// ---- view modes and friend dynamics ----

std::string PanelMode(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: panel-mode <n>";
    long long mode = 0;
    if (auto e = NumberArg(args[0], mode); !e.empty()) return e;
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    component->SetPanelMode(int(mode));
    return "";
}

std::string View(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: view <mode>";
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    component->SetView(sim::ToWide(args[0].text).c_str());
    return "";
}

std::string ShowCoords(Runner& runner, const std::vector<Word>& args) {
    if (args.empty()) return "usage: show coords <control>…";
    CChatWindowUI* window = CurrentWindow(runner);
    if (!window) return "no chat window is open: use 'open'";
    for (const Word& name : args) {
        CControlUI* control = sim::FindControl(window, name.text);
        if (!control) return "the window has no control '" + name.text + "'";
        int32_t l, t, r, b, anchor;
        control->GetCoordinate(l, t, r, b, anchor);
        runner.Print("coords " + name.text + " " + std::to_string(l) + "," + std::to_string(t) + "," +
                     std::to_string(r) + "," + std::to_string(b) + " anchor=" + std::to_string(anchor) +
                     " visible=" + (control->IsVisible() ? "1" : "0"));
    }
    return "";
}

std::string FrdNews(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: frd-news \"<time>\" \"<event>\"";
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    component->AddMarqueeMsg(sim::ToWide(args[0].text).c_str(), sim::ToWide(args[1].text).c_str());
    return "";
}

std::string FrdShow(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: frd-show <show> <rounds>";
    long long show = 0, rounds = 0;
    if (auto e = NumberArg(args[0], show); !e.empty()) return e;
    if (auto e = NumberArg(args[1], rounds); !e.empty()) return e;
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    component->ShowFrdEvent(int32_t(show), int32_t(rounds));
    return "";
}

std::string ShowMarquee(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: show marquee";
    CChatWindowUI* window = nullptr;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedWindow(runner, window, component); !e.empty()) return e;
    CControlUI* marquee = sim::FindControl(window, "history.view.frddynamic");
    CControlUI* time = sim::FindControl(window, "layout.time");
    CControlUI* event = sim::FindControl(window, "layout.eventinfo");
    if (!marquee || !time || !event) return "the window has no marquee";
    runner.Print(std::string("marquee ") + (marquee->IsVisible() ? "shown" : "hidden") +
                 " time=" + Quoted(sim::ToUtf8(time->GetText())) + " event=" + Quoted(sim::ToUtf8(event->GetText())) +
                 " finished=" + (component->IsFrdEventDisplayed() ? "1" : "0"));
    return "";
}

// ---- the shake button ----

// The shake plug-in's panel in the window's tool head holds the button.
CControlUI* ShakeButton(CChatWindowUI* window) {
    auto* head = dynamic_cast<CContainerUI*>(window ? sim::FindControl(window, "top_con.chat_tool_head_ctn") : nullptr);
    for (int i = 0; head && i < head->GetCount(); ++i) {
        auto* panel = dynamic_cast<CContainerUI*>(head->GetItemAt(i));
        CControlUI* button = panel ? panel->FindSubControl(u"shake") : nullptr;
        if (button && button->GetParent() == panel) return button;
    }
    return nullptr;
}

std::string Shake(Runner& runner, const std::vector<Word>& args) {
    if (args.size() > 1 || (args.size() == 1 && args[0].text != "menu")) return "usage: shake [menu]";
    CControlUI* button = ShakeButton(CurrentWindow(runner));
    if (!button) return "the window has no shake button";
    sim::Click(button, 0, args.empty() ? 0 : 1);
    if (args.empty()) return "";
    CMenuUI* menu = sim::OpenMenu();
    if (!menu) return "";
    std::string line = "menu " + std::to_string(menu->GetMenuId());
    for (const SMenuItem& item : menu->GetItems()) {
        if (item.separator) {
            line += " |";
            continue;
        }
        line += " " + std::to_string(item.id) + ":" + Quoted(sim::ToUtf8(item.text)) + (item.checked ? "*" : "") +
                (item.enabled ? "" : "-");
    }
    runner.Print(line);
    return "";
}

std::string ShakeAccept(Runner&, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: shake-accept";
    if (!sim::OpenMenu()) return "no menu is open: use 'shake menu'";
    if (!sim::ClickMenuItem(0xA277)) return "the open menu has no accept switch";
    return "";
}

std::string Presence(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: presence <buddy-id> <status>|none";
    if (args[1].text == "none") {
        sim::ClearPresence(args[0].text);
        return "";
    }
    long long status = 0;
    if (auto e = NumberArg(args[1], status); !e.empty()) return e;
    sim::SetPresence(args[0].text, int(status));
    return "";
}

std::string Limit(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: limit <key> <n>";
    long long value = 0;
    if (auto e = NumberArg(args[1], value); !e.empty()) return e;
    sim::SetRBACLimit(args[0].text, int(value));
    return "";
}

struct PrintedCounts {
    size_t usage = 0;
    size_t events = 0;
};

PrintedCounts& Printed() {
    static PrintedCounts printed;
    return printed;
}

std::string Field(const std::string& key, const std::string& value) {
    return " " + key + "=" + EscapeForTranscript(value);
}

}  // namespace

std::string OtherWindowsRequestLine(const sim::SdkRequest& r) {
    const std::string refused = r.result != 0 ? " refused=" + std::to_string(r.result) : "";
    if (r.kind == "email_send")
        return "sdk.email send to=" + EscapeForTranscript(r.convId) + Field("subject", r.value) +
               Field("body", r.content) + refused;
    if (r.kind == "email_get")
        return "sdk.email fetch peer=" + r.convId + " offset=" + std::to_string(r.msgId) +
               " count=" + std::to_string(r.flags) + " flag=" + r.value + refused;
    if (r.kind == "email_seen") return "sdk.email seen peer=" + r.convId + refused;
    if (r.kind == "adhoc")
        return "sdk.adhoc conv=" + r.convId + " type=" + r.contentType + Field("body", r.content) + refused;
    // The same request carries a shake (type 2) and the typing notice the
    // partner sees while the user types (type 1).
    if (r.kind == "reminder" && r.flags == 1) return "sdk.typing conv=" + r.convId;
    if (r.kind == "reminder") return "sdk.shake conv=" + r.convId + " type=" + std::to_string(r.flags) + " value=" + r.value;
    return "";
}

void PrintOtherWindowsEvents(Runner& runner) {
    PrintedCounts& printed = Printed();
    const auto& usage = sim::UsageReports();
    if (printed.usage > usage.size()) printed.usage = 0;
    for (; printed.usage < usage.size(); ++printed.usage) {
        std::string line = usage[printed.usage];
        line[line.find(':')] = ' ';
        runner.Print("app usage " + line);
    }
    const auto& events = sim::HostEvents();
    if (printed.events > events.size()) printed.events = 0;
    for (; printed.events < events.size(); ++printed.events) {
        const sim::HostEvent& e = events[printed.events];
        if (e.kind == "wndmsg" && uint32_t(e.code) == kWmShakeWindow)
            runner.Print("app shake-window " + sim::ChatWindowPeer(e.window));
    }
}

void AddOtherWindowsCommands(Runner& runner) {
    runner.Add("email", {"email <peer-id> <folder> \"<subject>\" \"<body>\"",
                         "the e-mail service holds an e-mail exchanged with the peer", Email});
    runner.Add("email-raw", {"email-raw <peer-id> <folder>|null \"<raw>\"",
                             "an e-mail as the service hands it out (null: an item it cannot describe)", EmailRaw});
    runner.Add("email-fetch", {"email-fetch <offset> <count> [page]",
                               "the host asks the e-mail window for e-mails (page: older ones)", EmailFetch});
    runner.Add("email-layout", {"email-layout <type>", "the e-mail window's layout: 1 compose, 2 conversation",
                                EmailLayout});
    runner.Add("email-compose", {"email-compose \"<receiver>\" \"<subject>\"",
                                 "fills the compose layout's receiver and subject", EmailCompose});
    runner.Add("refuse-service", ServiceCodeCommand("refuse-service", true));
    runner.Add("fail-service", ServiceCodeCommand("fail-service", false));
    runner.Add("service", {"service <name> on|off", "a service of the client comes or goes", UnknownService});
    runner.Add("service email", {"service email on|off", "the e-mail service comes or goes",
                                 [](Runner& r, const std::vector<Word>& a) { return Service(r, a, true); }});
    runner.Add("service adhoc", {"service adhoc on|off", "the ad-hoc sender comes or goes",
                                 [](Runner& r, const std::vector<Word>& a) { return Service(r, a, false); }});
    runner.Add("panel-mode", {"panel-mode <n>", "the host sets the panel's mode (0 normal, 1 mini, 2 thin)",
                              PanelMode});
    runner.Add("view", {"view <mode>", "the host sets the view (only_edit, only_view, ...)", View});
    runner.Add("show coords", {"show coords <control>…", "prints the controls' coordinates", ShowCoords});
    runner.Add("frd-news", {"frd-news \"<time>\" \"<event>\"", "the host hands over a friend dynamic", FrdNews});
    runner.Add("frd-show", {"frd-show <show> <rounds>", "the host starts (1) or hides (0) the marquee", FrdShow});
    runner.Add("show marquee", {"show marquee", "prints the marquee's line", ShowMarquee});
    runner.Add("shake", {"shake [menu]", "clicks the shake button (or its drop-down part)", Shake});
    runner.Add("shake-accept", {"shake-accept", "switches accepting shakes in the open shake menu", ShakeAccept});
    runner.Add("presence", {"presence <buddy-id> <status>|none", "the buddy's status type (0 and 2: offline)",
                            Presence});
    runner.Add("limit", {"limit <key> <n>", "a role-based limit of the user", Limit});
}

}  // namespace host
