// The form of a notice written into a message view: "&<txt>", the text
// after its two numbers ("*%d:%u:%s"), "<txt>&".
#pragma once

#include <cstdint>
#include <string>

namespace tavi {

std::u16string MakeNoticeText(const std::u16string& text, int kind, uint32_t flags);

}  // namespace tavi
