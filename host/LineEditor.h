// Lines typed by a person at a terminal: editing with the arrow keys, a
// history of the commands of this session, and Tab completion.
#pragma once

#include <string>
#include <vector>

#include "Runner.h"

namespace host {

// The words that may complete the word being typed, given the words
// before it on the line: command names first, then subcommands, peer
// ids, window kinds, key names or smiley keys as the command takes them.
std::vector<std::string> CompletionCandidates(const Runner& runner, const std::vector<std::string>& before);

// The candidates that begin with `typed`, the word being typed after the
// text `before` on the line.
std::vector<std::string> Completions(const Runner& runner, const std::string& before, const std::string& typed);

// Reads lines with line editing where the system offers it (plain console
// lines on Windows); one at a time per process.
class EditedLines final : public LineSource {
public:
    explicit EditedLines(const Runner& runner);
    ~EditedLines() override;
    EditedLines(const EditedLines&) = delete;
    EditedLines& operator=(const EditedLines&) = delete;

    bool Next(const std::string& prompt, std::string& line) override;
};

}  // namespace host
