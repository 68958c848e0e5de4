// The partner's read cursor and the receipt panes in the history view.
#include "panel/TaviPanel.h"

namespace tavi {

void CTaviPanel::ShowPartnerUnreadPane(uint64_t, uint64_t) {}
void CTaviPanel::SetCurrentPosMsgRead() {}

}  // namespace tavi

namespace tavi {

// A partner who writes has read everything before.
void CTaviPanel::AddPartnerLocalCursor(qel_handle, const SQelBoxMsg&) {}

}  // namespace tavi
