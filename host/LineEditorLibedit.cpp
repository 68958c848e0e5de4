// Line editing at a terminal with libedit: the arrow keys, a history of
// this session's commands and Tab completion of our own words.
#include <editline/readline.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "LineEditor.h"

namespace host {

namespace {

const Runner* g_runner = nullptr;
std::vector<std::string> g_matches;

char* NextMatch(const char*, int state) {
    static size_t next = 0;
    if (state == 0) next = 0;
    return next < g_matches.size() ? strdup(g_matches[next++].c_str()) : nullptr;
}

char** Complete(const char* text, int start, int) {
    // Only our words complete, never file names.
    rl_attempted_completion_over = 1;
    if (!g_runner) return nullptr;
    g_matches = Completions(*g_runner, std::string(rl_line_buffer, size_t(start)), text);
    return g_matches.empty() ? nullptr : rl_completion_matches(text, NextMatch);
}

// Keys typed from the moment the prompt shows belong to the editor. It
// prints the prompt while the terminal is still in line mode and turns it
// raw only when it first reads, so keys typed at once were echoed by the
// terminal as well, and Ctrl+U, Ctrl+D and Tab meant what line mode makes
// of them. The terminal is turned raw here, just before the prompt; the
// editor sets its own raw mode over it and gives the terminal back as it
// found it when the line is read. A terminal without echo is left alone:
// the editor does not edit there.
void KeysToTheEditor() {
    termios mode{};
    if (tcgetattr(STDIN_FILENO, &mode) != 0 || (mode.c_lflag & ICANON) == 0 || (mode.c_lflag & ECHO) == 0) return;
    mode.c_lflag &= ~tcflag_t(ICANON | ECHO);
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSADRAIN, &mode);
}

// Ctrl+D must end the program at an empty prompt even when pressed while
// a command was running. The terminal is in line mode then, where the
// kernel keeps that key as an end-of-input mark: a NUL byte, which the
// editor reads at the next prompt. The editor's own binding of NUL
// ("insert the next key as it is") took the next Ctrl+D into the line,
// and with a line no longer empty every later Ctrl+D only beeped. The
// editor sets up the terminal's keys again at every line, so NUL gets the
// Ctrl+D action anew just before each line is read.
void TreatNulAsCtrlD() { rl_parse_and_bind("bind ^@ em-delete-or-list"); }

int BeforeEachLine() {
    TreatNulAsCtrlD();
    KeysToTheEditor();
    return 0;
}

}  // namespace

EditedLines::EditedLines(const Runner& runner) {
    g_runner = &runner;
    using_history();
    rl_attempted_completion_function = Complete;
    rl_pre_input_hook = BeforeEachLine;
}

EditedLines::~EditedLines() {
    rl_attempted_completion_function = nullptr;
    rl_pre_input_hook = nullptr;
    clear_history();
    g_runner = nullptr;
}

bool EditedLines::Next(const std::string& prompt, std::string& line) {
    char* read = readline(prompt.c_str());
    if (!read) return false;
    line = read;
    std::free(read);
    // Up and down walk back through what was typed; blank lines are not worth it.
    if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
    return true;
}

}  // namespace host
