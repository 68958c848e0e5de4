#include "msghandle/QelMsgHandleImpl.h"

namespace tavi {

void CQelMsgHandleImpl::PreProcessMsg(std::u16string& text, CRichEditUI* richEdit) {
    if (!richEdit) return;
    (void)text;
}

}  // namespace tavi
