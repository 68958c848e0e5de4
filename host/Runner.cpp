#include "Runner.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "WindowPicture.h"
#include "sdk/chatwnd.h"
#include "sdk/platform_files.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"
#include "sim/host/DisplayInternal.h"

namespace host {

Runner::Runner(pfx::IDllObj* module, std::string scenarioFolder)
    : m_module(module), m_folder(std::move(scenarioFolder)) {}

namespace {
// The width of the terminal a transcript is read in.
constexpr size_t kReadableColumns = 100;
}  // namespace

void Runner::Print(const std::string& text) {
    const std::string line = m_shorten ? Shorten(text, kReadableColumns) : text;
    if (m_capture) {
        *m_capture += line + "\n";
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Runner::ResolvePath(const std::string& path) const {
    if (path.empty() || platform::IsRootedPath(path) || m_folder.empty()) return path;
    return m_folder + "/" + path;
}

std::string Runner::Line(const std::string& prefix, const std::string& body) const {
    if (!m_shorten) return prefix + body;
    const size_t used = Columns(prefix);
    return prefix + Shorten(body, used < kReadableColumns ? kReadableColumns - used : 0);
}

void Runner::Add(const std::string& name, Command command) { m_commands[name] = std::move(command); }

std::string Runner::UnknownCommand(const std::vector<Word>& words) const {
    const std::string& first = words[0].text;
    // "show histroy": the family is known, the subcommand is not.
    std::string choices;
    for (const auto& [name, command] : m_commands) {
        if (name.size() > first.size() + 1 && name.compare(0, first.size() + 1, first + " ") == 0)
            choices += (choices.empty() ? "" : ", ") + name.substr(first.size() + 1);
    }
    if (choices.empty() || words[0].quoted) return "unknown command '" + first + "': 'help' lists the commands";
    if (words.size() < 2) return "'" + first + "' needs one of: " + choices;
    return "unknown '" + first + "' subcommand '" + words[1].text + "': one of " + choices;
}

std::string Runner::RunLine(const std::string& line) {
    ParsedLine parsed = ParseLine(line);
    if (!parsed.error.empty()) return parsed.error;
    if (parsed.words.empty()) return "";
    std::vector<Word>& words = parsed.words;
    // Two-word commands ("show history") take precedence over one word.
    std::string name = words[0].text;
    size_t used = 1;
    if (words.size() > 1 && m_commands.count(name + " " + words[1].text)) {
        name += " " + words[1].text;
        used = 2;
    }
    auto it = m_commands.find(name);
    if (it == m_commands.end() || words[0].quoted) return UnknownCommand(words);
    std::vector<Word> args(words.begin() + long(used), words.end());
    for (const auto& hook : m_beforeCommand) hook(*this, name);
    std::string error = it->second.run(*this, args);
    if (error.empty()) sim::RunUntilIdle();
    ForgetClosedWindows();
    PrintNewEvents();
    return error;
}

namespace {
std::string SendLine(const Runner& runner, const sim::SdkRequest& r) {
    return runner.Line("sdk.send conv=" + r.convId + " type=" + r.contentType + " body=", EscapeForTranscript(r.content));
}
bool IsSend(const sim::SdkRequest& r) { return r.kind == "send" || r.kind == "send_ext"; }
}  // namespace

bool Runner::Snapshot(const std::string& folder) {
    bool ok = true;
    for (const char* what : {"history", "input", "sent", "tips"}) {
        std::string captured;
        m_capture = &captured;
        const std::string error = RunLine(std::string("show ") + what);
        m_capture = nullptr;
        // Bytes as they are: the same files on every system.
        std::ofstream out(platform::FsPath(folder + "/" + what + ".txt"), std::ios::binary);
        out << (error.empty() ? captured : "error: " + error + "\n");
        ok = ok && bool(out);
    }
    return WriteWindowPicture(m_current, folder + "/window.svg") && ok;
}

void Runner::PrintNewEvents() {
    const auto& requests = sim::SdkRequests();
    for (; m_printedRequests < requests.size(); ++m_printedRequests) {
        const sim::SdkRequest& r = requests[m_printedRequests];
        if (IsSend(r)) Print(SendLine(*this, r));
        else if (r.kind == "upload")
            Print("sdk.upload conv=" + r.convId + " key=" + r.cacheName + " file=" + EscapeForTranscript(r.localPath));
        else if (r.kind == "birthday_page")
            Print("app birthday-page " + r.value);
        else if (const std::string line = OtherWindowsRequestLine(r); !line.empty())
            Print(line);
    }
    // "name:arg:arg" as the stand-in records it becomes "app name arg arg";
    // from a "key=value" field on the text stays as it is.
    const auto appLine = [](std::string call) {
        const size_t keep = std::min(call.find('='), call.size());
        for (size_t i = 0; i < keep; ++i) {
            if (call[i] == ':') call[i] = ' ';
        }
        return "app " + EscapeForTranscript(call);
    };
    const auto& appCalls = sim::AppCalls();
    for (; m_printedAppCalls < appCalls.size(); ++m_printedAppCalls) Print(appLine(appCalls[m_printedAppCalls]));
    const auto& managerCalls = sim::ChatWndMgrCalls();
    for (; m_printedManagerCalls < managerCalls.size(); ++m_printedManagerCalls) {
        const std::string& call = managerCalls[m_printedManagerCalls];
        if (call.rfind("open:", 0) == 0) Print(appLine("open-chat:" + call.substr(5)));
    }
    const auto& grpTop = sim::GrpTopRequests();
    for (; m_printedGrpTopRequests < grpTop.size(); ++m_printedGrpTopRequests) {
        const std::string& request = grpTop[m_printedGrpTopRequests];
        const size_t colon = request.find(':');
        Print("sdk.grptop-" + request.substr(0, colon) + " msg=" + request.substr(colon + 1));
    }
    PrintOtherWindowsEvents(*this);
    // A tip is what tells the user of a failure after its window closed.
    const auto& tips = sim::AppTips();
    for (; m_printedTips < tips.size(); ++m_printedTips) Print("tip " + EscapeForTranscript(sim::ToUtf8(tips[m_printedTips].text)));
    const auto& boxes = sim::ShownBoxes();
    for (; m_printedBoxes < boxes.size(); ++m_printedBoxes) {
        Print("box text=" + EscapeForTranscript(sim::ToUtf8(boxes[m_printedBoxes].text)) +
              " caption=" + EscapeForTranscript(sim::ToUtf8(boxes[m_printedBoxes].caption)));
    }
    PrintPopupChanges(*this, m_printedPopups);
    for (const auto& printer : m_eventPrinters) printer(*this);
    PrintMsgOpsEvents(*this);
}

void Runner::PrintSentAgain() {
    for (const sim::SdkRequest& r : sim::SdkRequests()) {
        if (IsSend(r)) Print(SendLine(*this, r));
    }
}

std::string NumberArg(const Word& word, long long& value) {
    auto number = ParseNumber(word.text);
    if (!number) return "'" + word.text + "' is not a number";
    value = *number;
    return "";
}

namespace {
// The text as the inside of a quoted word.
std::string QuoteEscaped(const std::string& text) {
    size_t start = text.find_first_not_of(' ');
    std::string out;
    for (size_t i = start == std::string::npos ? text.size() : start; i < text.size(); ++i) {
        if (text[i] == '"' || text[i] == '\\') out += '\\';
        out += text[i];
    }
    return out;
}
}  // namespace

void Runner::PrintNewBubbles() {
    CChatWindowUI* window = sim::FindChatWindow(m_current);
    tavi::ITavi* component = window ? window->GetTavi() : nullptr;
    CRichEditExUI* view = component ? component->GetMsgHistoryRichEdit() : nullptr;
    if (!view) return;
    std::set<int64_t>& seen = m_seenItems[m_current];
    for (const sim::ViewItem& item : sim::ViewItems(view)) {
        if (!item.visible || item.kind == "header" || !seen.insert(item.id).second) continue;
        // A send that failed is printed once its outcome is known, with its mark.
        const bool failed = item.kind == "msg" && sim::IsMarkedFailed(view, item.id);
        const std::string text = sim::ToUtf8(item.text.substr(0, item.text.find_last_not_of(u'\r') + 1));
        Print(Line(failed ? "  ! failed: " : "  | ", EscapeForTranscript(text)));
    }
}

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

class StreamLines final : public LineSource {
public:
    explicit StreamLines(std::istream& in) : m_in(in) {}
    bool Next(const std::string& prompt, std::string& line) override {
        if (!prompt.empty()) {
            std::fputs(prompt.c_str(), stdout);
            std::fflush(stdout);
        }
        return bool(std::getline(m_in, line));
    }

private:
    std::istream& m_in;
};

// A line as a file may hold it: a byte order mark before the first line,
// and Windows line ends, are no part of the commands.
void Normalise(std::string& line, int number) {
    if (number == 1 && line.rfind(kByteOrderMark, 0) == 0) line.erase(0, sizeof(kByteOrderMark) - 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

void PrintError(int number, const std::string& reason) {
    // Written whole: a NUL byte in the reason must not end the line early.
    const std::string line = "error: " + std::to_string(number) + ": " + EscapeForError(reason) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

bool Runner::Run(std::istream& in, bool interactive) {
    StreamLines lines(in);
    return Run(lines, interactive);
}

bool Runner::Run(LineSource& lines, bool interactive) {
    std::string line;
    int number = 0;
    while (lines.Next(interactive ? Prompt() : std::string(), line)) {
        Normalise(line, ++number);
        // At the prompt, "> text" says the text in the current chat.
        if (interactive && !line.empty() && line[0] == '>') line = "say \"" + QuoteEscaped(line.substr(1)) + "\"";
        const std::string error = RunLine(line);
        if (interactive) PrintNewBubbles();
        if (error.empty()) continue;
        PrintError(number, error);
        // A person at the prompt may simply try again.
        if (!interactive) return false;
    }
    if (interactive) std::fputc('\n', stdout);
    return true;
}

std::string Runner::RunQuietly(const std::string& script) {
    std::istringstream in(script);
    std::string line, captured, error;
    m_capture = &captured;
    for (int number = 1; error.empty() && std::getline(in, line); ++number) {
        error = RunLine(line);
        if (!error.empty()) error = std::to_string(number) + ": " + error;
    }
    m_capture = nullptr;
    return error;
}

}  // namespace host
