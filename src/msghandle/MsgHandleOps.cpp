// Operations on shown messages.
#include "msghandle/HistoryMsgHandle.h"
#include "msghandle/MsgHandle.h"

namespace tavi {

void CMsgHandle::OnRecallMessage(SQelBoxMsg*) {}
void CMsgHandle::OnBurnReadMessage(SQelBoxMsg*) {}
void CMsgHandle::RefreshImportantMsgStatus(int32_t, int32_t, int32_t) {}

}  // namespace tavi

namespace tavi {

// Important-message statuses after a load and after a page of older messages.
void CMsgHandle::AddImportantMsgStatus(qel_handle, const qel_handle*, int) {}
void CHistoryMsgHandle::AddImportantMsgStatusHistroyMsgPanel(CTaviPanel*, qel_handle, const qel_handle*, int) {}

}  // namespace tavi
