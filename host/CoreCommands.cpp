// Commands that need nothing but the loop and the configuration.
#include <sstream>

#include "Runner.h"
#include "sim/driver.h"

namespace host {

namespace {

std::string ExpectArgs(const std::vector<Word>& args, size_t count, const char* usage) {
    return args.size() == count ? std::string() : std::string("usage: ") + usage;
}

// Help reads in a terminal of 100 columns: descriptions start at one
// column and wrap at word ends, under the usage when it leaves no room,
// so that none is cut short.
constexpr size_t kHelpColumns = 100;
constexpr size_t kHelpIndent = 42;

std::vector<std::string> HelpLines(const std::string& usage, const std::string& help) {
    std::vector<std::string> lines;
    std::string line = "  " + usage;
    if (Columns(line) + 1 > kHelpIndent) {
        lines.push_back(line);
        line.clear();
    }
    line.resize(kHelpIndent - Columns(line) + line.size(), ' ');
    bool first = true;
    std::istringstream words(help);
    for (std::string word; words >> word; first = false) {
        if (!first && Columns(line) + 1 + Columns(word) > kHelpColumns) {
            lines.push_back(line);
            line = std::string(kHelpIndent, ' ');
            first = true;
        }
        line += (first ? "" : " ") + word;
    }
    lines.push_back(line);
    return lines;
}

}  // namespace

void AddCoreCommands(Runner& runner) {
    runner.Add("wait", {"wait <ms>", "advances the virtual clock and runs what falls due",
                        [](Runner&, const std::vector<Word>& args) -> std::string {
                            if (auto e = ExpectArgs(args, 1, "wait <ms>"); !e.empty()) return e;
                            auto ms = ParseNumber(args[0].text);
                            if (!ms || *ms < 0 || *ms > 0xFFFFFFFFLL) return "wait needs a number of milliseconds";
                            sim::Advance(uint32_t(*ms));
                            return "";
                        }});
    runner.Add("config", {"config <section> <key> <value>", "sets a client configuration value",
                          [](Runner&, const std::vector<Word>& args) -> std::string {
                              if (auto e = ExpectArgs(args, 3, "config <section> <key> <value>"); !e.empty()) return e;
                              sim::SetExeConfig(args[0].text, args[1].text, args[2].text);
                              sim::SetModuleConfig(args[0].text, args[1].text, args[2].text);
                              return "";
                          }});
    runner.Add("echo", {"echo \"<text>\"", "prints the text (to tell the story of a scenario)",
                        [](Runner& r, const std::vector<Word>& args) -> std::string {
                            std::string line;
                            for (const Word& word : args) line += (line.empty() ? "" : " ") + word.text;
                            r.Print(EscapeForTranscript(line));
                            return "";
                        }});
    runner.Add("help", {"help", "lists the commands",
                        [](Runner& r, const std::vector<Word>&) -> std::string {
                            for (const auto& [name, command] : r.Commands()) {
                                for (const std::string& line : HelpLines(command.usage, command.help)) r.Print(line);
                            }
                            return "";
                        }});
}

}  // namespace host
