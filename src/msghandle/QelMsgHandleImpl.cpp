#include "msghandle/QelMsgHandleImpl.h"

#include "msghandle/MsgHandle.h"

namespace tavi {

void CQelMsgHandleImpl::PreProcessMsg(std::u16string& text, CRichEditUI* richEdit) {
    CMsgHandle::PreProcessMsg(text, richEdit);
}

}  // namespace tavi
