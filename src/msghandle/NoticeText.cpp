#include "msghandle/NoticeText.h"

#include "util/Strings.h"

namespace tavi {

std::u16string MakeNoticeText(const std::u16string& text, int kind, uint32_t flags) {
    return u"&<txt>" + util::WFormat("*%d:%u:%s", kind, flags, util::WideToUtf8(text).c_str()) + u"<txt>&";
}

}  // namespace tavi
