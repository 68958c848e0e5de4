// Reading a message body for display within the client's limits.
#pragma once

#include <string_view>

class TiXmlDocument;

namespace sim {

// Parses `body` into `doc` when it is valid UTF-8, no larger than the
// client's body limit and nests no deeper than its depth limit; false
// (and nothing parsed) otherwise, or when it has no root element.
bool ReadBodyWithinLimits(TiXmlDocument& doc, std::string_view body);

// The deepest element nesting that TinyXML would reach reading `text`;
// it may count more, never less.
size_t BodyNestingDepth(std::string_view text);

}  // namespace sim
