// Reading scenario lines: words separated by spaces, "quoted words" with
// escapes, and # comments.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct Word {
    std::string text;
    bool quoted = false;
};

// The words of one line, or an error text when the line cannot be read.
struct ParsedLine {
    std::vector<Word> words;
    std::string error;
};

ParsedLine ParseLine(const std::string& line);

// How a text is printed in the transcript: line breaks as \n, a backslash
// as \\, other control characters as \u{HEX}; UTF-8 as it is.
std::string EscapeForTranscript(const std::string& text);

// A decimal number, or nothing when the word is not one.
std::optional<long long> ParseNumber(const std::string& word);

}  // namespace host
