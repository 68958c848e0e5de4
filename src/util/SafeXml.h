// Reading XML that comes from outside (message bodies, stored drafts)
// without handing TinyXML anything it cannot take: the text is made valid
// UTF-8 first (TinyXML reads past the end of a text that stops inside a
// UTF-8 sequence), and its size and nesting depth are capped (TinyXML
// parses nested elements recursively).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "sdk/body_limits.h"

class TiXmlDocument;
class TiXmlNode;

namespace util {

bool IsValidUtf8(std::string_view text);
// Every byte that does not belong to a well-formed UTF-8 sequence (also a
// sequence cut off by the end of the text) becomes U+FFFD.
std::string RepairUtf8(std::string_view text);

// The deepest element nesting that the text can lead TinyXML into; it
// never counts less than TinyXML would reach, it may count more.
size_t XmlNestingDepth(std::string_view text);

struct SXmlLimits {
    size_t maxBytes = kMaxBodyBytes;
    size_t maxDepth = kMaxBodyDepth;
};

// Parses `text` into `doc` with white space kept as it stands. False when
// the text is too large, nests too deeply, does not parse, or has no root
// element. Invalid UTF-8 is repaired rather than refused.
bool ParseXmlSafely(TiXmlDocument& doc, std::string_view text, const SXmlLimits& limits = SXmlLimits());

// TinyXML's compact form: no declaration, no line breaks, attributes in
// the order they were set.
std::string PrintXmlCompact(const TiXmlNode& node);

}  // namespace util
