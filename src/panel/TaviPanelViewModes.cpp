// View modes, friend dynamics and the marquee.
#include "panel/TaviPanel.h"

namespace tavi {

void CTaviPanel::SetMiniMode(bool) {}
void CTaviPanel::SetThinMode() {}
void CTaviPanel::SetView(const char16_t*) {}
void CTaviPanel::ShowFrdEvent(int32_t, int32_t) {}
bool CTaviPanel::IsFrdEventDisplayed() const { return false; }
void CTaviPanel::AddMarqueeMsg(const char16_t*, const char16_t*) {}
void CTaviPanel::UpdateFrddymicPanel(bool) {}

}  // namespace tavi
