// The renderer's guard against hostile bodies. The component has the same
// guard in its own reader, but the stand-in plays the platform and is
// built apart from the component, so it keeps a copy of the nesting scan
// rather than reach into the component's sources; the limits themselves
// are shared through the platform header.
#include "sim/host/BodyReader.h"

#include <tinyxml.h>

#include <string>

#include "sdk/body_limits.h"
#include "sim/ui/UiInternal.h"

namespace sim {

namespace {

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

}  // namespace

size_t BodyNestingDepth(std::string_view text) { return CNestingScanner(text).Run(); }

bool ReadBodyWithinLimits(TiXmlDocument& doc, std::string_view body) {
    doc.Clear();
    if (body.size() > kMaxBodyBytes) return false;
    const std::string text(body);
    if (!ui::IsValidUtf8(text) || BodyNestingDepth(text) > kMaxBodyDepth) return false;
    doc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    return !doc.Error() && doc.RootElement() != nullptr;
}

}  // namespace sim
