// Commands of the user at the keyboard and of the peer and the server.
#include <algorithm>
#include <filesystem>
#include <string>

#include "Runner.h"
#include "sdk/chatwnd.h"
#include "sdk/platform_files.h"
#include "sdk/qel_account.h"
#include "sdk/qel_conversation.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

namespace {

constexpr uint32_t kWmSysChar = 0x0106;

tavi::ITavi* CurrentComponent(Runner& runner) {
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    return window ? window->GetTavi() : nullptr;
}

// The current window's component, or an error text.
std::string NeedComponent(Runner& runner, tavi::ITavi*& component) {
    component = CurrentComponent(runner);
    return component ? "" : "no chat window is open: use 'open'";
}

// Replaces the input's content with the text, caret at the end.
std::string ReplaceInput(Runner& runner, const std::string& text) {
    tavi::ITavi* component = nullptr;
    if (auto e = NeedComponent(runner, component); !e.empty()) return e;
    CRichEditUI* input = component->GetInputRichEdit();
    if (!input) return "the window has no input";
    input->SetText(sim::ToWide(text));
    input->SetSel(-1, -1);
    sim::Notify(input, UINOTIFY_TEXTCHANGED);
    return "";
}

std::string Type(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: type \"<text>\"";
    return ReplaceInput(runner, args[0].text);
}

std::string Say(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: say \"<text>\"";
    if (auto e = ReplaceInput(runner, args[0].text); !e.empty()) return e;
    CurrentComponent(runner)->SendMsg();
    return "";
}

std::string TypeRepeat(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: type-repeat <n> \"<text>\"";
    long long count = 0;
    if (auto e = NumberArg(args[0], count); !e.empty()) return e;
    if (count < 0 || count > 100000) return "type-repeat takes 0 to 100000 repetitions";
    std::string text;
    for (long long i = 0; i < count; ++i) text += args[1].text;
    return ReplaceInput(runner, text);
}

std::string Picture(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: picture <path>";
    tavi::ITavi* component = nullptr;
    if (auto e = NeedComponent(runner, component); !e.empty()) return e;
    const std::string path = runner.ResolvePath(args[0].text);
    // A device or a pipe would never end or never answer: only files go in.
    std::error_code error;
    const std::filesystem::path file = platform::FsPath(path);
    const auto status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status)) return "the picture " + path + " does not exist";
    if (!std::filesystem::is_regular_file(status)) return "the picture " + path + " is not a regular file";
    const auto size = std::filesystem::file_size(file, error);
    if (error || size >= sim::PictureSizeLimit())
        return "the picture " + path + " is over the size limit of " + std::to_string(sim::PictureSizeLimit()) +
               " bytes";
    // The way a person inserts a picture file: the picture button's file
    // chooser, answered with the path, so the component's own checks of
    // the file (its size question among them) run as they do for them.
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    CControlUI* button = window ? sim::FindControl(window, "pic") : nullptr;
    if (!button || !button->IsVisible()) return "this window has no picture button";
    CRichEditUI* input = component->GetInputRichEdit();
    const int before = input ? input->GetObjectCount() : 0;
    const size_t boxes = sim::ShownBoxes().size();
    sim::QueueFileDialogAnswer({sim::ToWide(path)});
    sim::Click(button);
    sim::RunUntilIdle();
    const bool asked = sim::ShownBoxes().size() > boxes;
    if (!asked && (!input || input->GetObjectCount() == before)) return "the picture " + path + " could not be loaded";
    return "";
}

std::string PictureLimits(Runner&, const std::vector<Word>& args) {
    if (args.size() != 2) return "usage: picture-limits <too-large-bytes> <send-as-file-bytes>";
    long long tooLarge = 0, sendAsFile = 0;
    if (auto e = NumberArg(args[0], tooLarge); !e.empty()) return e;
    if (auto e = NumberArg(args[1], sendAsFile); !e.empty()) return e;
    if (tooLarge <= 0 || sendAsFile <= 0) return "the limits must be positive";
    sim::SetPictureSizeLimits(uint64_t(tooLarge), uint64_t(sendAsFile));
    return "";
}

std::string Smiley(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: smiley <key>";
    const auto& keys = BuiltinSmileys();
    if (std::find(keys.begin(), keys.end(), args[0].text) == keys.end()) {
        std::string known;
        for (const std::string& key : keys) known += (known.empty() ? "" : ", ") + key;
        return "there is no smiley '" + args[0].text + "': one of " + known;
    }
    tavi::ITavi* component = nullptr;
    if (auto e = NeedComponent(runner, component); !e.empty()) return e;
    CRichEditUI* input = component->GetInputRichEdit();
    if (!input) return "the window has no input";
    auto* smiley = new COleImageObj();
    smiley->SetImageType(1);
    smiley->SetKey(sim::ToWide(args[0].text));
    if (!input->InsertObject(smiley)) {
        delete smiley;
        return "the smiley could not be inserted";
    }
    return "";
}

std::string Key(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: key enter|ctrl+enter|alt+s|alt+c|up|down|esc|backspace|shift+enter";
    tavi::ITavi* component = nullptr;
    if (auto e = NeedComponent(runner, component); !e.empty()) return e;
    const std::string& key = args[0].text;
    if (key == "enter" || key == "ctrl+enter") {
        sim::PressEnter(component->GetInputRichEdit(), key == "ctrl+enter");
    } else if (key == "alt+s" || key == "alt+c") {
        sim::SetKeyDown(VK_MENU, true);
        component->ProcHostWndMsg(kWmSysChar, uintptr_t(key.back()), 0);
        sim::SetKeyDown(VK_MENU, false);
        sim::RunUntilIdle();
    } else if (!PressMentionKey(component->GetInputRichEdit(), key)) {
        return "unknown key '" + key + "'";
    }
    return "";
}

std::string Click(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1) return "usage: click <control-id>";
    CChatWindowUI* window = sim::FindChatWindow(runner.CurrentWindow());
    if (!window) return "no chat window is open: use 'open'";
    CControlUI* control = sim::FindControl(window, args[0].text);
    if (!control) return "the window has no control '" + args[0].text + "'";
    sim::Click(control);
    return "";
}

std::string Send(Runner& runner, const std::vector<Word>& args) {
    if (!args.empty()) return "usage: send";
    tavi::ITavi* component = nullptr;
    if (auto e = NeedComponent(runner, component); !e.empty()) return e;
    component->SendMsg();
    return "";
}

std::string Receive(Runner& runner, const std::vector<Word>& args) {
    const char* usage = "usage: receive <sender-id> \"<text>\" [at <member-id>...]";
    if (args.size() < 2 || args.size() == 3 || (args.size() > 3 && args[2].text != "at")) return usage;
    tavi::ITavi* component = nullptr;
    if (auto e = NeedComponent(runner, component); !e.empty()) return e;
    if (auto e = SenderProblem(runner, args[0].text); !e.empty()) return e;
    const std::string peer = sim::ChatWindowPeer(runner.CurrentWindow());
    qel_handle conversation = sim::OpenConversation(peer, IsGroupId(peer));
    sim::StoredMsg msg;
    msg.sender = args[0].text;
    msg.read = false;
    msg.content = args[1].text;
    // The members it mentions travel as the message's "contentat".
    std::string mentioned;
    for (size_t i = 3; i < args.size(); ++i) mentioned += (mentioned.empty() ? "" : ",") + args[i].text;
    if (!mentioned.empty()) msg.extraInfo = "{\"contentat\":\"" + mentioned + "\"}";
    sim::AddStoredMsg(conversation, msg);
    component->GetAndShowMsg(0, 0);
    return "";
}

// A command of one number that the driver takes.
Command CodeCommand(const std::string& usage, const std::string& help, std::function<void(int)> apply) {
    return {usage, help, [usage, apply](Runner&, const std::vector<Word>& args) -> std::string {
                if (args.size() != 1) return "usage: " + usage;
                long long code = 0;
                if (auto e = NumberArg(args[0], code); !e.empty()) return e;
                apply(int(code));
                return "";
            }};
}

}  // namespace

const std::vector<std::string>& BuiltinSmileys() {
    static const std::vector<std::string> keys = {"smile", "laugh", "wink", "cry", "angry", "surprised",
                                                  "heart", "thumbsup", "rose", "coffee"};
    return keys;
}

void AddUserCommands(Runner& runner) {
    runner.Add("type", {"type \"<text>\"", "replaces the input's content", Type});
    runner.Add("say", {"say \"<text>\"  (or: > text)", "types the text and sends it", Say});
    runner.Add("type-repeat", {"type-repeat <n> \"<text>\"", "replaces the input with the text n times over", TypeRepeat});
    runner.Add("picture", {"picture <path>", "inserts a picture file at the caret", Picture});
    runner.Add("picture-limits", {"picture-limits <too-large-bytes> <send-as-file-bytes>",
                                  "pictures from this size on are refused, resp. offered to go as files", PictureLimits});
    runner.Add("smiley", {"smiley <key>", "inserts a built-in smiley at the caret", Smiley});
    runner.Add("key", {"key enter|ctrl+enter|alt+s|alt+c|up|down|esc|backspace|shift+enter", "a key on the input", Key});
    runner.Add("click", {"click <control-id>", "clicks a control of the current window", Click});
    runner.Add("send", {"send", "sends what the input holds", Send});
    runner.Add("receive", {"receive <sender-id> \"<text>\" [at <member-id>...]", "a message arrives in the current conversation", Receive});
    runner.Add("refuse", CodeCommand("refuse <code>", "the next send request is refused at once",
                                     [](int code) { sim::RefuseNext(sim::SdkCall::Send, code); }));
    runner.Add("fail", CodeCommand("fail <code>", "the next send completion reports the code",
                                   [](int code) { sim::FailNext(sim::SdkCall::Send, code); }));
    runner.Add("fail-upload", CodeCommand("fail-upload <code>", "the next upload completion reports the code",
                                          [](int code) { sim::FailNext(sim::SdkCall::Upload, code); }));
    runner.Add("answer", CodeCommand("answer <n>", "the next message box returns n",
                                     [](int answer) { sim::QueueBoxAnswer(answer); }));
    runner.Add("hold", {"hold", "completions wait until 'release'",
                        [](Runner&, const std::vector<Word>& args) -> std::string {
                            if (!args.empty()) return "usage: hold";
                            sim::HoldCompletions(true);
                            return "";
                        }});
    runner.Add("release", {"release", "held completions arrive",
                           [](Runner&, const std::vector<Word>& args) -> std::string {
                               if (!args.empty()) return "usage: release";
                               sim::HoldCompletions(false);
                               sim::ReleaseCompletions();
                               return "";
                           }});
}

}  // namespace host
