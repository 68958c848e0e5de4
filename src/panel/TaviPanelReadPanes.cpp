// The partner's read cursor and the receipt panes in the history view.
#include "panel/TaviPanel.h"

namespace tavi {

void CTaviPanel::ShowPartnerUnreadPane(uint64_t, uint64_t) {}
void CTaviPanel::SetCurrentPosMsgRead() {}

}  // namespace tavi
