#include "util/SafeXml.h"

#include <tinyxml.h>

#include <cstdint>

namespace util {

namespace {

// Length of the well-formed UTF-8 sequence at `i`, 0 when there is none.
size_t Utf8SequenceAt(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    const uint8_t lead = byte(i);
    if (lead < 0x80) return 1;
    size_t length;
    uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsNameStart(char c) {
    // As TinyXML decides that "<" opens an element: a letter, "_", or any
    // byte from 0x7F up.
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x7F || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || c == '_';
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsQuote(char c) { return c == '"' || c == '\''; }

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
    if (text.size() < lowerPrefix.size()) return false;
    for (size_t k = 0; k < lowerPrefix.size(); ++k) {
        char c = text[k];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != lowerPrefix[k]) return false;
    }
    return true;
}

// Follows TinyXML's reading of markup closely enough that, up to the point
// where TinyXML stops with an error, both see the same elements open and
// close. Quotes matter only where TinyXML reads a quoted value; every
// other construct ends at its first terminator.
class CNestingScanner {
public:
    explicit CNestingScanner(std::string_view text) : m_text(text) {}

    size_t Run() {
        while (m_pos < m_text.size()) {
            if (m_text[m_pos] != '<') {
                ++m_pos;
                continue;
            }
            if (!Markup()) break;
        }
        return m_deepest;
    }

private:
    // One construct starting at "<"; false where TinyXML would stop.
    bool Markup() {
        const std::string_view rest = m_text.substr(m_pos);
        if (StartsWithNoCase(rest, "<?xml")) return Declaration();
        if (rest.starts_with("<!--")) return SkipPast(4, "-->");
        if (rest.starts_with("<![CDATA[")) return SkipPast(9, "]]>");
        if (rest.starts_with("</") && m_depth > 0) {
            --m_depth;
            return SkipPast(2, ">");
        }
        if (rest.size() > 1 && IsNameStart(rest[1])) return Element();
        return SkipPast(1, ">");
    }

    bool SkipPast(size_t skip, std::string_view end) {
        const size_t found = m_text.find(end, m_pos + skip);
        if (found == std::string_view::npos) return false;
        m_pos = found + end.size();
        return true;
    }

    // A quoted value from its opening quote; false when it never closes.
    bool Quoted() {
        const size_t close = m_text.find(m_text[m_pos], m_pos + 1);
        if (close == std::string_view::npos) return false;
        m_pos = close + 1;
        return true;
    }

    void SkipSpace() {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) ++m_pos;
    }

    bool Element() {
        ++m_depth;
        if (m_depth > m_deepest) m_deepest = m_depth;
        ++m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (IsQuote(c)) {
                if (!Quoted()) return false;
                continue;
            }
            if (c == '>') {
                if (m_text[m_pos - 1] == '/') --m_depth;
                ++m_pos;
                return true;
            }
            ++m_pos;
        }
        return false;
    }

    // "<?xml ...>": only the values of version, encoding and standalone may
    // be quoted; anything else is skipped up to white space or ">".
    bool Declaration() {
        m_pos += 5;
        while (m_pos < m_text.size()) {
            if (m_text[m_pos] == '>') {
                ++m_pos;
                return true;
            }
            SkipSpace();
            const std::string_view rest = m_text.substr(m_pos);
            if (StartsWithNoCase(rest, "version") || StartsWithNoCase(rest, "encoding") ||
                StartsWithNoCase(rest, "standalone")) {
                if (!DeclarationAttribute()) return false;
                continue;
            }
            while (m_pos < m_text.size() && m_text[m_pos] != '>' && !IsSpace(m_text[m_pos])) ++m_pos;
        }
        return false;
    }

    bool DeclarationAttribute() {
        while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]) && m_text[m_pos] != '=' && m_text[m_pos] != '>')
            ++m_pos;
        SkipSpace();
        if (m_pos >= m_text.size() || m_text[m_pos] != '=') return false;
        ++m_pos;
        SkipSpace();
        if (m_pos >= m_text.size()) return false;
        if (IsQuote(m_text[m_pos])) return Quoted();
        while (m_pos < m_text.size() && !IsSpace(m_text[m_pos]) && m_text[m_pos] != '/' && m_text[m_pos] != '>') {
            if (IsQuote(m_text[m_pos])) return false;
            ++m_pos;
        }
        return true;
    }

    std::string_view m_text;
    size_t m_pos = 0;
    size_t m_depth = 0;
    size_t m_deepest = 0;
};

// TinyXML's white-space condensing is one global switch; message text keeps
// its spaces, so it is off while we parse and restored afterwards.
class CKeepWhiteSpace {
public:
    CKeepWhiteSpace() : m_old(TiXmlBase::IsWhiteSpaceCondensed()) { TiXmlBase::SetCondenseWhiteSpace(false); }
    ~CKeepWhiteSpace() { TiXmlBase::SetCondenseWhiteSpace(m_old); }
    CKeepWhiteSpace(const CKeepWhiteSpace&) = delete;
    CKeepWhiteSpace& operator=(const CKeepWhiteSpace&) = delete;

private:
    bool m_old;
};

}  // namespace

bool IsValidUtf8(std::string_view text) {
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceAt(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

std::string RepairUtf8(std::string_view text) {
    std::string repaired;
    repaired.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = Utf8SequenceAt(text, i);
        if (length == 0) {
            repaired += kReplacement;
            ++i;
            continue;
        }
        repaired.append(text.substr(i, length));
        i += length;
    }
    return repaired;
}

size_t XmlNestingDepth(std::string_view text) { return CNestingScanner(text).Run(); }

bool ParseXmlSafely(TiXmlDocument& doc, std::string_view text, const SXmlLimits& limits) {
    doc.Clear();
    if (text.size() > limits.maxBytes) return false;
    const std::string valid = IsValidUtf8(text) ? std::string(text) : RepairUtf8(text);
    if (XmlNestingDepth(valid) > limits.maxDepth) return false;
    CKeepWhiteSpace keep;
    doc.Parse(valid.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return !doc.Error() && doc.RootElement() != nullptr;
}

std::string PrintXmlCompact(const TiXmlNode& node) {
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    node.Accept(&printer);
    return printer.Str();
}

}  // namespace util
