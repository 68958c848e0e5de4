// Operations on shown messages.
#include "msghandle/MsgHandle.h"

namespace tavi {

void CMsgHandle::OnRecallMessage(SQelBoxMsg*) {}
void CMsgHandle::OnBurnReadMessage(SQelBoxMsg*) {}
void CMsgHandle::EmailRequest(int32_t, int32_t, bool) {}
void CMsgHandle::RefreshImportantMsgStatus(int32_t, int32_t, int32_t) {}

}  // namespace tavi
