// The command that writes a picture of the current chat window.
#include "Runner.h"
#include "WindowPicture.h"
#include "sim/driver.h"

namespace host {

namespace {

std::string ShowWindow(Runner& runner, const std::vector<Word>& args) {
    if (args.size() != 1 || args[0].text.empty()) return "usage: show window <file.svg>";
    if (!sim::FindChatWindow(runner.CurrentWindow())) return "no chat window is open: use 'open'";
    const std::string path = runner.ResolvePath(args[0].text);
    if (!WriteWindowPicture(runner.CurrentWindow(), path)) return "cannot write the picture into " + path;
    runner.Print("svg " + EscapeForTranscript(path));
    return "";
}

}  // namespace

void AddWindowPictureCommands(Runner& runner) {
    runner.Add("show window", {"show window <file.svg>",
                               "writes an SVG picture of the current chat window (a relative path is from the "
                               "scenario's folder); --snapshot DIR draws DIR/window.svg when the scenario ends",
                               ShowWindow});
}

}  // namespace host
