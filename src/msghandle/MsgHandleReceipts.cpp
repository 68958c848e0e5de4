// Read cursors and receipts: the partner's read line, unread tags and the
// group receipt buttons after a load or a page of older messages.
#include "msghandle/HistoryMsgHandle.h"
#include "msghandle/MsgHandle.h"

namespace tavi {

void CMsgHandle::AddPartnerReadCursor(qel_handle) {}
void CMsgHandle::AddParternUnReadBtn(qel_handle, const qel_handle*, int) {}
void CMsgHandle::RequestReceiptSummary(qel_handle, const qel_handle*, int) {}

void CHistoryMsgHandle::AddPartnerCursorHistroyMsgPanel(CTaviPanel*, qel_handle) {}
void CHistoryMsgHandle::AddParternUnReadHistroyMsgPanel(CTaviPanel*, qel_handle, const qel_handle*, int) {}
void CHistoryMsgHandle::RequestReceiptSummaryHistroyMsgPanel(CTaviPanel*, qel_handle, const qel_handle*, int) {}

}  // namespace tavi
