// Loading and showing the conversation's history.
#include "msghandle/MsgHandle.h"

namespace tavi {

void CMsgHandle::ShowGetMsg(uint64_t, bool, bool) {}
void CMsgHandle::ReflashAfterMakeUp(CRichEditExUI*, bool) {}

}  // namespace tavi
