#include "tools/RecentPopupWnd.h"

#include "module/DllObject.h"
#include "sdk/qel_account.h"
#include "sdk/qel_inst.h"
#include "sdk/ui/MenuUI.h"
#include "tools/PopupPlacement.h"
#include "util/Strings.h"

namespace tavi {

CRecentPopupWnd::CRecentPopupWnd(const char16_t* buttonPrefix, int32_t menuId, int32_t clearItemId)
    : m_buttonPrefix(buttonPrefix), m_menuId(menuId), m_clearItemId(clearItemId) {
    EnableMove(false);
    SetLayerWindow(true, true);
}

void CRecentPopupWnd::OnCreate() {
    if (CContainerUI* root = GetRoot()) root->NeedUpdate();
    Invalidate();
}

int CRecentPopupWnd::EntryOfButton(int button, int count) {
    return button > kRecentEntryCount - 1 - count ? count - kRecentEntryCount + button : -1;
}

qel_handle CRecentPopupWnd::GetPreferences() const {
    qel::IQelInst* inst = GetQelInst(m_panelId.c_str());
    qel_handle account = inst ? inst->GetAccount() : nullptr;
    return account ? qel_account_preference(account) : nullptr;
}

void CRecentPopupWnd::ShowEntries(int count, const std::function<void(CControlUI*, int)>& fill) {
    CContainerUI* root = GetRoot();
    if (!root) return;
    const bool hint = count < kRecentEntryCount;
    SetItemVisible(root, u"tip", hint);
    SetItemVisible(root, u"tip_bk", hint);
    for (int i = 0; i < kRecentEntryCount; ++i) {
        CControlUI* button = FindControl(m_buttonPrefix + char16_t(u'1' + i));
        if (!button) continue;
        const int entry = EntryOfButton(i, count);
        if (entry >= 0) {
            fill(button, entry);
            button->SetEnabled(true);
        } else {
            button->SetText(u"");
            button->SetToolTip(u"");
            button->SetEnabled(false);
        }
    }
    root->NeedUpdate();
}

void CRecentPopupWnd::HideForChoice() {
    if (!IsMultiChoiceKeyDown()) ShowWindow(false);
}

bool CRecentPopupWnd::GetPos(const RECT& anchor, RECT& out) const {
    out = PlaceBesideAnchor(anchor, GetMinInfo());
    return true;
}

void CRecentPopupWnd::MoveWindow(const RECT& rect) {
    CWindowUI::MoveWindow(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

bool CRecentPopupWnd::ProcessNotify(TNotifyUI& msg) {
    if (msg.nType != UINOTIFY_CLICK) return false;
    if (msg.lParam == m_menuId && !msg.pSender) {
        const auto* item = reinterpret_cast<const TMenuItemInfo*>(msg.wParam);
        if (item && item->nId == m_clearItemId) OnClear();
        return true;
    }
    if (!msg.pSender) return false;
    const std::u16string& id = msg.pSender->GetId();
    if (util::EqualsNoCase(id, u"face_btn")) {
        OnClickFaceBtn();
        return true;
    }
    for (int i = 0; i < kRecentEntryCount; ++i) {
        if (util::EqualsNoCase(id, m_buttonPrefix + char16_t(u'1' + i))) {
            OnSelect(i);
            return true;
        }
    }
    return false;
}

void CRecentPopupWnd::ShowContextMenu() {
    auto* menu = new CMenuUI();
    if (!menu->Load(m_menuId)) {
        delete menu;
        return;
    }
    POINT cursor;
    GetCursorPos(&cursor);
    menu->Show(GetHWND(), cursor.x, cursor.y, this);
}

intptr_t CRecentPopupWnd::WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_KILLFOCUS) {
        ShowWindow(false);
        return 0;
    }
    if (message == WM_RBUTTONUP) ShowContextMenu();
    return CWindowUI::WindowProc(message, wParam, lParam);
}

void CRecentPopupWnd::OnFinalMessage(HWND) {
    ForgetSelf();
    delete this;
}

}  // namespace tavi
