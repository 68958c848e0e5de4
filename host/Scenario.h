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

// How a reason is printed in an error line: control characters as
// \u{HEX} and bytes that are not UTF-8 as \x{HEX}, so that whatever a
// file held, the line stays one readable line.
std::string EscapeForError(const std::string& text);

// The number of characters (code points) of a UTF-8 text, as a terminal
// gives them columns.
size_t Columns(const std::string& text);
// The text cut to at most `columns` characters, ending in
// "… (<n> characters)" when it was longer.
std::string Shorten(const std::string& text, size_t columns);

// A decimal number, or nothing when the word is not one.
std::optional<long long> ParseNumber(const std::string& word);

}  // namespace host
