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

namespace {

// The length of the UTF-8 sequence starting at `at`, 0 when the bytes there
// are not one (a stray continuation byte, a cut or overlong sequence, a
// surrogate, a code point past U+10FFFF).
size_t Utf8SequenceAt(const std::string& text, size_t at) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = 0;
    unsigned long cp = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (next & 0x3F);
    }
    const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

std::string Hex(const char* form, unsigned value) {
    char buffer[16];
    std::snprintf(buffer, sizeof(buffer), form, value);
    return buffer;
}

std::string Escape(const std::string& text, bool escapeBackslash) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const unsigned char u = static_cast<unsigned char>(c);
        const size_t length = Utf8SequenceAt(text, i);
        if (length == 0) {
            out += Hex("\\x{%02X}", u);
            ++i;
            continue;
        }
        if (c == '\n') out += "\\n";
        else if (c == '\\' && escapeBackslash) out += "\\\\";
        else if (u < 0x20 || u == 0x7F) out += Hex("\\u{%X}", u);
        else out.append(text, i, length);
        i += length;
    }
    return out;
}

}  // namespace

std::string EscapeForTranscript(const std::string& text) { return Escape(text, true); }

std::string EscapeForError(const std::string& text) { return Escape(text, false); }

size_t Columns(const std::string& text) {
    size_t columns = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++columns;
    }
    return columns;
}

std::string Shorten(const std::string& text, size_t columns) {
    const size_t total = Columns(text);
    if (total <= columns) return text;
    const std::string tail = "\xE2\x80\xA6 (" + std::to_string(total) + " characters)";
    const size_t keep = columns > Columns(tail) ? columns - Columns(tail) : 0;
    size_t end = 0;
    for (size_t kept = 0; end < text.size(); ++end) {
        if ((static_cast<unsigned char>(text[end]) & 0xC0) != 0x80 && kept++ == keep) break;
    }
    return text.substr(0, end) + tail;
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
