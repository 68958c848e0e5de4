#include "Runner.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "WindowPicture.h"
#include "sdk/chatwnd.h"
#include "sdk/platform_files.h"
#include "sdk/ui/RichEditExUI.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace host {

Runner::Runner(pfx::IDllObj* module, std::string scenarioFolder)
    : m_module(module), m_folder(std::move(scenarioFolder)) {}

void Runner::Print(const std::string& line) {
    if (m_capture) {
        *m_capture += line + "\n";
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Runner::ResolvePath(const std::string& path) const {
    if (path.empty() || path[0] == '/' || m_folder.empty()) return path;
    return m_folder + "/" + path;
}

void Runner::Add(const std::string& name, Command command) { m_commands[name] = std::move(command); }

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
    if (it == m_commands.end() || words[0].quoted) return "unknown command '" + words[0].text + "'";
    std::vector<Word> args(words.begin() + long(used), words.end());
    for (const auto& hook : m_beforeCommand) hook(*this, name);
    std::string error = it->second.run(*this, args);
    if (error.empty()) sim::RunUntilIdle();
    PrintNewEvents();
    return error;
}

namespace {
std::string SendLine(const sim::SdkRequest& r) {
    return "sdk.send conv=" + r.convId + " type=" + r.contentType + " body=" + EscapeForTranscript(r.content);
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
        std::ofstream out(platform::FsPath(folder + "/" + what + ".txt"));
        out << (error.empty() ? captured : "error: " + error + "\n");
        ok = ok && bool(out);
    }
    return WriteWindowPicture(m_current, folder + "/window.svg") && ok;
}

void Runner::PrintNewEvents() {
    const auto& requests = sim::SdkRequests();
    for (; m_printedRequests < requests.size(); ++m_printedRequests) {
        const sim::SdkRequest& r = requests[m_printedRequests];
        if (IsSend(r)) Print(SendLine(r));
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
        if (IsSend(r)) Print(SendLine(r));
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
        Print("  | " + EscapeForTranscript(sim::ToUtf8(item.text.substr(0, item.text.find_last_not_of(u'\r') + 1))));
    }
}

bool Runner::Run(std::istream& in, bool interactive) {
    std::string line;
    int number = 0;
    for (;;) {
        if (interactive) {
            std::fputs("tavi> ", stdout);
            std::fflush(stdout);
        }
        if (!std::getline(in, line)) break;
        ++number;
        // At the prompt, "> text" says the text in the current chat.
        if (interactive && !line.empty() && line[0] == '>') line = "say \"" + QuoteEscaped(line.substr(1)) + "\"";
        const std::string error = RunLine(line);
        if (interactive) PrintNewBubbles();
        if (error.empty()) continue;
        std::fprintf(stderr, "error: %d: %s\n", number, error.c_str());
        // A person at the prompt may simply try again.
        if (!interactive) return false;
    }
    if (interactive) std::fputc('\n', stdout);
    return true;
}

}  // namespace host
