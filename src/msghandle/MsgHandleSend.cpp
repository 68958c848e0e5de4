// The send pipeline.
#include "msghandle/MsgHandle.h"

namespace tavi {

int CMsgHandle::QelSendMsg(const char16_t*, const char16_t*, const char*, bool) { return m_pOwner ? 0 : -1; }

}  // namespace tavi
