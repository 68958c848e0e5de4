// Driver API of the stand-in's content support: the emoji table.
#pragma once

#include <string>

namespace sim {

// Adds or replaces the text of an emoji id. The table starts with a few
// entries: "2764" (one unit), "1f600" (two), "1f44d-1f3fb" (four) and
// "1f468-200d-1f469-200d-1f467" (eight).
void AddEmoji(const std::u16string& key, const std::u16string& text);

}  // namespace sim
