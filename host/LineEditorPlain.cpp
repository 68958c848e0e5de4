// Lines typed at a console where no line-editing library is at hand (the
// Windows build): the console's own editing, without completion or a
// history of our own.
#include <cstdio>
#include <iostream>

#include "LineEditor.h"

namespace host {

EditedLines::EditedLines(const Runner&) {}

EditedLines::~EditedLines() = default;

bool EditedLines::Next(const std::string& prompt, std::string& line) {
    std::fputs(prompt.c_str(), stdout);
    std::fflush(stdout);
    if (!std::getline(std::cin, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace host
