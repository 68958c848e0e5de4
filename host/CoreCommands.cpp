// Commands that need nothing but the loop and the configuration.
#include "Runner.h"
#include "sim/driver.h"

namespace host {

namespace {

std::string ExpectArgs(const std::vector<Word>& args, size_t count, const char* usage) {
    return args.size() == count ? std::string() : std::string("usage: ") + usage;
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
                            for (const auto& [name, command] : r.Commands())
                                r.Print("  " + command.usage + std::string(Columns(command.usage) < 40 ? 40 - Columns(command.usage) : 1, ' ') + command.help);
                            return "";
                        }});
}

}  // namespace host
