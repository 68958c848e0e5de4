// Line editing at a terminal with libedit: the arrow keys, a history of
// this session's commands and Tab completion of our own words.
#include <editline/readline.h>

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

// Ctrl+D must end the program at an empty prompt even when pressed while
// the program was busy. Between two prompts the terminal is in line mode,
// where the kernel keeps that key as an end-of-input mark: a NUL byte,
// which the line editor reads once it turns the terminal raw. The editor
// prints the prompt before it does so, so a key typed as soon as the
// prompt shows can fall there too. The editor's own binding of NUL
// ("insert the next key as it is") then took the next Ctrl+D into the
// line, and with a line no longer empty every later Ctrl+D only beeped.
// The editor sets up the terminal's keys again at every line, so NUL gets
// the Ctrl+D action anew just before each line is read.
int TreatNulAsCtrlD() {
    rl_parse_and_bind("bind ^@ em-delete-or-list");
    return 0;
}

}  // namespace

EditedLines::EditedLines(const Runner& runner) {
    g_runner = &runner;
    using_history();
    rl_attempted_completion_function = Complete;
    rl_pre_input_hook = TreatNulAsCtrlD;
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
