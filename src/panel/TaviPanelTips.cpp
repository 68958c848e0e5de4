// The tips and reminder bars over the history.
#include "panel/TaviPanel.h"

namespace tavi {

void CTaviPanel::SetCaptionBarText(const char16_t*) {}
void CTaviPanel::ShowCaptionBar(bool) {}
void CTaviPanel::InitBirthdayRemind() {}
void CTaviPanel::UpdateGrpTopUnreadMsg() {}
void CTaviPanel::ShowCollectTip(int32_t, int32_t, int32_t, int32_t) {}

}  // namespace tavi

namespace tavi {

// Mentions of the user in a shown message.
void CTaviPanel::AddAtMessage(const SQelBoxMsg&) {}

}  // namespace tavi
