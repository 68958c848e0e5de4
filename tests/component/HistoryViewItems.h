// What a history view shows, read back for the history tests.
#pragma once

#include <string>
#include <vector>

#include "sim/driver.h"

class CRichEditExUI;

namespace history_view {

// The ids of the messages shown, top to bottom.
inline std::vector<int64_t> ShownMsgs(const CRichEditExUI* view) {
    std::vector<int64_t> ids;
    for (const sim::ViewItem& item : sim::ViewItems(view))
        if (item.kind == "msg") ids.push_back(item.id);
    return ids;
}

// The kinds of every item, top to bottom ("msg", "pane", "header", ...).
inline std::vector<std::string> Kinds(const CRichEditExUI* view) {
    std::vector<std::string> kinds;
    for (const sim::ViewItem& item : sim::ViewItems(view)) kinds.push_back(item.kind);
    return kinds;
}

}  // namespace history_view
