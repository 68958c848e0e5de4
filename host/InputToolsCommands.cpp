// Commands of the input tools: the pointer resting on a tool bar button,
// the font bar's boxes, the colour dialog, choosing in the popups, and the
// transcript lines of the popups, the input's font and the preferences.
#include <map>

#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/ui/RichEditUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

// The popups by transcript name and window name.
struct SPopup {
    const char* name;
    const char16_t* window;
    const char16_t* buttonPrefix;  // null: every button of "client"
};
constexpr SPopup kPopups[] = {
    {"emoticons", u"emoticon_wnd", nullptr},
    {"recent-fonts", u"recent_font_wnd", u"font"},
    {"recent-emoticons", u"recent_emoticon_wnd", u"emoticon"},
};

struct InputToolsState {
    HWND hoverWindow = nullptr;
    std::string hoverControl;
    std::map<std::string, std::string> printedPopups;
};

InputToolsState& State() {
    static InputToolsState state;
    return state;
}

CWindowUI* PopupWindow(const SPopup& popup) {
    for (CWindowUI* window : sim::Windows()) {
        if (window->GetWindowName() == popup.window) return window;
    }
    return nullptr;
}

const SPopup* FindPopup(const std::string& name) {
    for (const SPopup& popup : kPopups) {
        if (name == popup.name) return &popup;
    }
    return nullptr;
}

// The buttons a person can choose in the popup, left to right.
std::vector<CControlUI*> PopupButtons(const SPopup& popup, CWindowUI* window) {
    std::vector<CControlUI*> buttons;
    if (!popup.buttonPrefix) {
        if (auto* client = dynamic_cast<CContainerUI*>(window->FindControl(u"client"))) buttons = client->GetItems();
        return buttons;
    }
    for (char16_t i = u'1'; i <= u'4'; ++i) {
        if (CControlUI* button = window->FindControl(popup.buttonPrefix + std::u16string(1, i))) buttons.push_back(button);
    }
    return buttons;
}

std::string Quoted(const std::u16string& text) { return "\"" + EscapeForTranscript(sim::ToUtf8(text)) + "\""; }

// A recent font as its button draws it: face, pixel size, effects, colour.
std::u16string FontButtonText(CControlUI* button) {
    std::u16string out = button->GetText();
    const std::u16string font = button->GetAttribute(u"txt.font");
    std::vector<std::u16string> parts;
    for (size_t start = 0;;) {
        const size_t comma = font.find(u',', start);
        parts.push_back(font.substr(start, comma == std::u16string::npos ? std::u16string::npos : comma - start));
        if (comma == std::u16string::npos) break;
        start = comma + 1;
    }
    if (parts.size() == 5) {
        out += u" " + parts[1] + u"px";
        if (parts[4] == u"1") out += u" bold";
        if (parts[2] == u"1") out += u" italic";
        if (parts[3] == u"1") out += u" underline";
    }
    return out + u" " + button->GetAttribute(u"txt.textcolor");
}

std::string DescribePopup(const SPopup& popup) {
    CWindowUI* window = PopupWindow(popup);
    if (!window || !window->IsWindowVisible()) return "popup " + std::string(popup.name) + " hidden";
    std::string line = "popup " + std::string(popup.name);
    for (CControlUI* button : PopupButtons(popup, window)) {
        if (!button->IsEnabled()) continue;
        const bool font = popup.buttonPrefix && std::u16string(popup.buttonPrefix) == u"font";
        line += " " + Quoted(font ? FontButtonText(button) : button->GetText());
    }
    return line;
}

void PrintPopups(Runner& runner) {
    for (const SPopup& popup : kPopups) {
        const std::string line = DescribePopup(popup);
        auto it = State().printedPopups.find(popup.name);
        // A popup never shown is not news.
        if (it == State().printedPopups.end() ? line.ends_with(" hidden") : it->second == line) continue;
        State().printedPopups[popup.name] = line;
        runner.Print(line);
    }
}

CChatWindowUI* CurrentWindow(Runner& runner) { return sim::FindChatWindow(runner.CurrentWindow()); }

// The pointer leaves what it rested on.
void EndHover() {
    InputToolsState& s = State();
    if (s.hoverControl.empty()) return;
    if (CChatWindowUI* window = sim::FindChatWindow(s.hoverWindow))
        sim::SendEvent(sim::FindControl(window, s.hoverControl), UIEVENT_MOUSELEAVE);
    s.hoverControl.clear();
    s.hoverWindow = nullptr;
}

std::string Hover(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: hover <control-id>";
    CChatWindowUI* window = CurrentWindow(runner);
    if (!window) return "no chat window is open: use 'open'";
    CControlUI* control = sim::FindControl(window, args[0].text);
    if (!control || !sim::IsShown(control)) return "the window shows no control '" + args[0].text + "'";
    EndHover();
    sim::SendEvent(control, UIEVENT_MOUSEENTER);
    State().hoverWindow = runner.CurrentWindow();
    State().hoverControl = args[0].text;
    return "";
}

std::string Select(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: select <control-id> \"<entry>\"";
    CChatWindowUI* window = CurrentWindow(runner);
    if (!window) return "no chat window is open: use 'open'";
    CControlUI* combo = sim::FindControl(window, args[0].text);
    if (!combo) return "the window has no control '" + args[0].text + "'";
    if (!sim::ChooseComboItem(combo, sim::ToWide(args[1].text)))
        return "'" + args[0].text + "' offers no entry \"" + args[1].text + "\"";
    return "";
}

// "rrggbb" (or "#rrggbb", quoted, as '#' starts a comment) as the
// platform's colour value (0x00BBGGRR).
bool ParseColor(std::string text, uint32_t& out) {
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    if (text.size() != 6) return false;
    uint32_t rgb = 0;
    for (size_t i = 0; i < 6; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return false;
        rgb = rgb * 16 + uint32_t(digit);
    }
    out = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

std::string ColorText(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof(text), "#%02x%02x%02x", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
    return text;
}

std::string Color(Runner&, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: color rrggbb|cancel";
    if (args[0].text == "cancel") {
        sim::QueueColorCancel();
        return "";
    }
    uint32_t color = 0;
    if (!ParseColor(args[0].text, color)) return "'" + args[0].text + "' is not a colour rrggbb";
    sim::QueueColorAnswer({color, {}});
    return "";
}

std::string Pick(Runner&, const std::vector<Word>& args) {
    if (args.size() < 2 || args.size() > 3) return "usage: pick <popup> <n>|\"<emoticon>\" [ctrl|shift]";
    const SPopup* popup = FindPopup(args[0].text);
    if (!popup) return "unknown popup '" + args[0].text + "'";
    CWindowUI* window = PopupWindow(*popup);
    if (!window || !window->IsWindowVisible()) return "the popup " + args[0].text + " is not showing";
    // Entries are counted as the popup line lists them: filled buttons only.
    std::vector<CControlUI*> buttons;
    for (CControlUI* button : PopupButtons(*popup, window)) {
        if (button->IsEnabled()) buttons.push_back(button);
    }
    CControlUI* chosen = nullptr;
    if (args[1].quoted) {
        for (CControlUI* button : buttons) {
            if (button->GetText() == sim::ToWide(args[1].text)) chosen = button;
        }
    } else if (auto number = ParseNumber(args[1].text); number && *number >= 1 && size_t(*number) <= buttons.size()) {
        chosen = buttons[size_t(*number - 1)];
    }
    if (!chosen) return "the popup " + args[0].text + " has no entry " + args[1].text;
    int key = 0;
    if (args.size() == 3) {
        if (args[2].text == "ctrl") key = VK_LCONTROL;
        else if (args[2].text == "shift") key = VK_LSHIFT;
        else return "hold ctrl or shift, not '" + args[2].text + "'";
        sim::SetKeyDown(key, true);
    }
    sim::Click(chosen);
    if (key) sim::SetKeyDown(key, false);
    return "";
}

std::string ShowFont(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: show font";
    CChatWindowUI* window = CurrentWindow(runner);
    tavi::ITavi* component = window ? window->GetTavi() : nullptr;
    CRichEditUI* input = component ? component->GetInputRichEdit() : nullptr;
    if (!input) return "no chat window is open: use 'open'";
    tagTextFormat format;
    input->GetDefaultCharFormat(format);
    const auto bit = [&](uint32_t effect) { return (format.dwEffects & effect) ? "1" : "0"; };
    runner.Print("font face=" + sim::ToUtf8(format.szFaceName) + " size=" + std::to_string(format.nSize) +
                 " bold=" + bit(TF_BOLD) + " italic=" + bit(TF_ITALIC) + " underline=" + bit(TF_UNDERLINE) +
                 " color=" + ColorText(format.crColor));
    return "";
}

// The font bar above the input as the user sees it.
std::string ShowFontBar(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: show font-bar";
    CChatWindowUI* window = CurrentWindow(runner);
    if (!window) return "no chat window is open: use 'open'";
    CControlUI* face = sim::FindControl(window, "fontset.fontface");
    if (!face) {
        runner.Print("font-bar closed");
        return "";
    }
    const auto selected = [&](const char* name) {
        CControlUI* option = sim::FindControl(window, name);
        return option && option->IsSelected() ? "1" : "0";
    };
    CControlUI* size = sim::FindControl(window, "fontset.fontsize");
    auto* faces = dynamic_cast<CComboBoxUI*>(face);
    runner.Print("font-bar face=" + Quoted(face->GetText()) + " size=" + sim::ToUtf8(size ? size->GetText() : u"") +
                 " bold=" + selected("fontset.fontbold") + " italic=" + selected("fontset.fontitalic") +
                 " underline=" + selected("fontset.fontunderline") +
                 " faces=" + std::to_string(faces ? faces->GetCount() : 0));
    return "";
}

std::string ShowPref(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: show pref <key>";
    std::string value;
    if (!sim::PrefAsText(args[0].text, value)) value = "<unset>";
    runner.Print("pref " + args[0].text + "=" + EscapeForTranscript(value));
    return "";
}

}  // namespace

void AddInputToolsCommands(Runner& runner) {
    State() = InputToolsState{};
    runner.Add("hover", {"hover <control-id>", "the pointer rests on a control until the next command ('wait' lets time pass)",
                         Hover});
    runner.Add("select", {"select <control-id> \"<entry>\"", "picks an entry of a combo box (the font bar's face or size)",
                          Select});
    runner.Add("color", {"color rrggbb|cancel", "what the user does in the next colour dialog", Color});
    runner.Add("pick", {"pick emoticons|recent-fonts|recent-emoticons <n>|\"<emoticon>\" [ctrl|shift]",
                        "chooses an entry of a showing popup (n-th as listed), a key held", Pick});
    runner.Add("show font", {"show font", "the input's font", ShowFont});
    runner.Add("show font-bar", {"show font-bar", "the font bar's face, size and options, or that it is closed",
                                 ShowFontBar});
    runner.Add("show pref", {"show pref <key>", "one of the account's preferences", ShowPref});
    runner.AddBeforeCommand([](Runner&, const std::string& name) {
        if (name != "wait") EndHover();
    });
    runner.AddEventPrinter(PrintPopups);
}

}  // namespace host
