#include "Scenario.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

void AppendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Reads a quoted word starting after its opening quote; `i` ends after the
// closing quote. Answers an error text, empty on success.
std::string ReadQuoted(const std::string& line, size_t& i, std::string& out) {
    while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') return "";
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i >= line.size()) break;
        const char e = line[i++];
        switch (e) {
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '\\': out += '\\'; break;
            case '"': out += '"'; break;
            case 'u': {
                const size_t close = line.find('}', i);
                if (i >= line.size() || line[i] != '{' || close == std::string::npos)
                    return "\\u needs {HEX}";
                const std::string hex = line.substr(i + 1, close - i - 1);
                char* end = nullptr;
                const unsigned long cp = std::strtoul(hex.c_str(), &end, 16);
                if (hex.empty() || hex.size() > 6 || *end != '\0' || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                    return "\\u{" + hex + "} is not a Unicode code point";
                AppendUtf8(out, cp);
                i = close + 1;
                break;
            }
            default:
                return std::string("unknown escape \\") + e;
        }
    }
    return "unterminated quoted word";
}

}  // namespace

ParsedLine ParseLine(const std::string& line) {
    ParsedLine result;
    size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '#') break;
        Word word;
        if (c == '"') {
            ++i;
            word.quoted = true;
            result.error = ReadQuoted(line, i, word.text);
            if (!result.error.empty()) return result;
            if (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                result.error = "a quoted word must be followed by a space";
                return result;
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word.text += line[i++];
        }
        result.words.push_back(std::move(word));
    }
    return result;
}

std::string EscapeForTranscript(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (u < 0x20 || u == 0x7F) {
            char buffer[16];
            std::snprintf(buffer, sizeof(buffer), "\\u{%X}", unsigned(u));
            out += buffer;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<long long> ParseNumber(const std::string& word) {
    if (word.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(word.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return value;
}

}  // namespace host
