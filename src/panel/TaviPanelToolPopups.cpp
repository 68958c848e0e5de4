// The popups that every panel of the process shares (recent fonts, recent
// emoticons, the emoticon picker) keep a pointer to the panel they serve;
// a panel that goes takes itself out of them.
#include "module/DllObject.h"
#include "panel/TaviPanel.h"
#include "tools/EmoticonBrowserImpl.h"
#include "tools/EmoticonWnd.h"
#include "tools/RecentEmoticonWnd.h"
#include "tools/RecentFontWnd.h"

namespace tavi {

void CTaviPanel::ReleaseToolPopups() {
    CDllObject* state = GetDllObject();
    if (!state) return;
    if (auto* fonts = static_cast<CRecentFontWnd*>(state->m_pRecentFontWnd); fonts && fonts->GetFontCallBack() == this) {
        fonts->SetFontCallBack(nullptr);
        fonts->ShowWindow(false);
    }
    auto* emoticons = static_cast<CRecentEmoticonWnd*>(state->m_pRecentEmoticonWnd);
    if (emoticons && emoticons->GetEmoticonCallBack() == this) {
        emoticons->SetEmoticonCallBack(nullptr);
        emoticons->ShowWindow(false);
    }
    auto* browser = dynamic_cast<CEmoticonBrowserImpl*>(state->m_pEmoticonBrowser);
    CEmoticonWnd* picker = browser ? browser->GetWindow() : nullptr;
    if (picker && picker->GetEmoticonCallBack() == this) picker->OnKillFocus();
}

}  // namespace tavi
