// Plays a scenario against the loaded module: one command per line, the
// event loop run until idle after each, transcript on standard output.
#pragma once

#include <functional>
#include <istream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "Scenario.h"
#include "sdk/pfx.h"
#include "sdk/win32.h"
#include "sim/sdk/SdkDriver.h"

class CRichEditUI;

namespace host {

class Runner;

// A command answers an error text, empty when it ran.
using CommandFn = std::function<std::string(Runner& runner, const std::vector<Word>& args)>;

struct Command {
    std::string usage;
    std::string help;
    CommandFn run;
};

class Runner {
public:
    Runner(pfx::IDllObj* module, std::string scenarioFolder);

    // Runs every line; answers false after printing the first error.
    bool Run(std::istream& in, bool interactive);

    void Print(const std::string& line);
    pfx::IDllObj* Module() const { return m_module; }
    // A path of the scenario, relative to the scenario file's folder.
    std::string ResolvePath(const std::string& path) const;

    void Add(const std::string& name, Command command);

    // The chat window commands act on; null when none is open.
    HWND CurrentWindow() const { return m_current; }
    void SetCurrentWindow(HWND window) { m_current = window; }
    // Writes what `show history`, `show input`, `show sent` and `show tips`
    // print into files of that name in `folder`, and the picture of the
    // current window as window.svg; false when it cannot.
    bool Snapshot(const std::string& folder);
    // Prints what the SDK received and the boxes shown since the last call.
    void PrintNewEvents();
    // The sdk.send lines of every send so far.
    void PrintSentAgain();
    // At the prompt: the items of the current window's history not printed yet.
    void PrintNewBubbles();
    // Commands of two words ("show history") are registered under both.
    const std::map<std::string, Command>& Commands() const { return m_commands; }

    // Hooks of the command areas: before every command (with its name), and
    // after every command where the new transcript lines are printed.
    void AddBeforeCommand(std::function<void(Runner&, const std::string&)> hook) {
        m_beforeCommand.push_back(std::move(hook));
    }
    void AddEventPrinter(std::function<void(Runner&)> printer) { m_eventPrinters.push_back(std::move(printer)); }

private:
    std::string RunLine(const std::string& line);

    pfx::IDllObj* m_module;
    std::string m_folder;
    HWND m_current = nullptr;
    std::string* m_capture = nullptr;
    std::map<HWND, std::set<int64_t>> m_seenItems;
    size_t m_printedRequests = 0;
    size_t m_printedBoxes = 0;
    std::map<HWND, std::string> m_printedPopups;
    // Requests of the application object, the chat window manager and the
    // group-top service already printed.
    size_t m_printedAppCalls = 0;
    size_t m_printedManagerCalls = 0;
    size_t m_printedGrpTopRequests = 0;
    std::map<std::string, Command> m_commands;
    std::vector<std::function<void(Runner&, const std::string&)>> m_beforeCommand;
    std::vector<std::function<void(Runner&)>> m_eventPrinters;
};

// Adds the commands of each area; defined beside the area's code.
void AddCoreCommands(Runner& runner);
void AddWorldCommands(Runner& runner);
void AddUserCommands(Runner& runner);
void AddObserveCommands(Runner& runner);
void AddReadStateCommands(Runner& runner);

// @-mentions: the popup's key names on the input (false for another
// name), and the `popup at` lines of popups that changed since printed.
void AddMentionCommands(Runner& runner);
bool PressMentionKey(CRichEditUI* input, const std::string& key);
void PrintPopupChanges(Runner& runner, std::map<HWND, std::string>& printed);
void AddInputToolsCommands(Runner& runner);
void AddOtherWindowsCommands(Runner& runner);
// Transcript lines of the e-mail, ad-hoc and shake requests ("" for other
// kinds), and the application's lines of those features.
std::string OtherWindowsRequestLine(const sim::SdkRequest& request);
void PrintOtherWindowsEvents(Runner& runner);
void AddPictureCommands(Runner& runner);
// Operations on shown messages: their commands, and the transcript lines
// of menus, application calls and their requests since the last call.
void AddMsgOpsCommands(Runner& runner);
void PrintMsgOpsEvents(Runner& runner);

// A picture of the current chat window: `show window <file.svg>`.
void AddWindowPictureCommands(Runner& runner);

// Whether the id names a group of the current account.
bool IsGroupId(const std::string& id);

// A word that must be a number; answers an error text when it is not.
std::string NumberArg(const Word& word, long long& value);

// The built-in demo scenario.
extern const char* const kDemoScenario;

}  // namespace host
