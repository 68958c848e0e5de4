// The tips and reminder bars over the history.
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "util/Strings.h"

namespace tavi {

void CTaviPanel::SetCaptionBarText(const char16_t*) {}
void CTaviPanel::ShowCaptionBar(bool) {}
void CTaviPanel::InitBirthdayRemind() {}
void CTaviPanel::UpdateGrpTopUnreadMsg() {}
void CTaviPanel::ShowCollectTip(int32_t, int32_t, int32_t, int32_t) {}

}  // namespace tavi

namespace tavi {

// The @-reminder bar: who mentioned the user, and what they wrote.
void CTaviPanel::ShowAtInfoOnTop(const std::u16string& text, const std::u16string& userId) {
    CControlUI* tip = FindSubControl(u"history.view.at_info");
    if (!tip) return;
    if (CControlUI* id = FindSubControl(u"history.view.at_info.UserId")) id->SetText(userId);
    const std::string user = util::WideToUtf8(userId);
    const std::u16string name = common::GetGrpLatinName(GetCurrentGroup(), user.c_str());
    if (CControlUI* remind = FindSubControl(u"history.view.at_info.AtRemind"))
        remind->SetText((name.empty() ? common::GetUserNameOnShow(userId.c_str()) : name) + u" " + text);
    tip->SetVisible(true);
}

}  // namespace tavi
