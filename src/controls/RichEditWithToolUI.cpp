// The message view's floating picture tool bar.
#include "controls/RichEditWithToolUI.h"

#include "module/DllObject.h"
#include "panel/TaviPanel.h"
#include "sdk/ui.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr uint32_t kMoveQuietly = 0x15;  // no size, no z-order, no activation
}  // namespace

bool HasImageTools(const COleImageObj* picture) {
    if (!picture || picture->GetImageType() == kImageTypeFileIcon) return false;
    const std::u16string& path = picture->GetFilePath();
    return path.empty() || path[0] != u'#';
}

// ---- the bar ----

bool CREImageToolBar::ProcessNotify(TNotifyUI& msg) {
    if (msg.nType != UINOTIFY_CLICK || !msg.pSender) return false;
    const std::u16string& id = msg.pSender->GetId();
    if (util::EqualsNoCase(id, u"save")) OnBtnSave();
    else if (util::EqualsNoCase(id, u"edit")) OnBtnEdit();
    else if (util::EqualsNoCase(id, u"addface")) OnBtnAddFace();
    else if (util::EqualsNoCase(id, u"decode")) OnBtnDecode();
    else return false;
    return true;
}

bool CREImageToolBar::BeginAction(CTaviPanel*& panel, COleImageObj*& picture) {
    ShowWindow(false, false);
    if (!m_pOwner) return false;
    picture = dynamic_cast<COleImageObj*>(m_pOwner->FindObject(m_point));
    if (!picture) return false;
    panel = m_pNotify;
    CWindowUI* window = m_pOwner->GetWindow();
    if (!panel && window) GetTAVIPanel(&panel, window->GetHWND());
    return panel != nullptr;
}

void CREImageToolBar::OnBtnSave() {
    CTaviPanel* panel = nullptr;
    COleImageObj* picture = nullptr;
    if (BeginAction(panel, picture)) panel->SaveImage(picture);
}

void CREImageToolBar::OnBtnEdit() {
    CTaviPanel* panel = nullptr;
    COleImageObj* picture = nullptr;
    if (BeginAction(panel, picture)) panel->EditImage(picture->GetFilePath(), picture);
}

void CREImageToolBar::OnBtnAddFace() {
    CTaviPanel* panel = nullptr;
    COleImageObj* picture = nullptr;
    if (BeginAction(panel, picture)) panel->SaveAsSmiley(picture->GetFilePath().c_str());
}

void CREImageToolBar::OnBtnDecode() {
    CTaviPanel* panel = nullptr;
    COleImageObj* picture = nullptr;
    if (BeginAction(panel, picture)) panel->DecodeImage(picture->GetFilePath(), picture);
}

// ---- the view ----

CRichEditWithToolUI::~CRichEditWithToolUI() {
    delete m_pToolBar;
}

void CRichEditWithToolUI::SetNotify(CTaviPanel* target) {
    m_pNotify = target;
    if (m_pToolBar) m_pToolBar->SetNotify(target);
}

COleImageObj* CRichEditWithToolUI::PictureAt(TPointUI point) const {
    return dynamic_cast<COleImageObj*>(FindObject(point));
}

bool CRichEditWithToolUI::IsCursorInToolBar() const {
    POINT cursor;
    if (!m_pToolBar || !GetCursorPos(&cursor)) return false;
    return CRectX(m_pToolBar->GetWindowRect()).Contains(TPointUI{cursor.x, cursor.y});
}

void CRichEditWithToolUI::HideToolBar() {
    if (m_pToolBar) m_pToolBar->ShowWindow(false, false);
}

void CRichEditWithToolUI::ShowToolBar(COleObject* object, TPointUI point) {
    auto* picture = dynamic_cast<COleImageObj*>(object);
    if (!picture) return;
    if (!HasImageTools(picture)) {
        HideToolBar();
        return;
    }
    CWindowUI* window = GetWindow();
    if (!window) return;
    if (!m_pToolBar) {
        m_pToolBar = new CREImageToolBar(this);
        m_pToolBar->Create(window->GetHWND(), u"richedit_image_tool", 0, 0, 0, 0, 0, 0);
    }
    m_pToolBar->SetNotify(m_pNotify);
    m_pToolBar->SetPoint(point);

    RECT bounds;
    if (!picture->GetBound(bounds)) return;
    const CRectX view(GetPos());
    const CRectX bar(m_pToolBar->GetWindowRect());
    const int32_t w = bar.GetWidth();
    const int32_t h = bar.GetHeight();
    IUIEngine* engine = GetUIEngine();
    int32_t x = 0;
    if (engine && engine->IsRTLLayout()) {
        x = bounds.left - w;
        if (x < view.left) x = view.left < bounds.left ? bounds.left : view.left;
    } else {
        x = bounds.right;
        if (bounds.right + w > view.right) x = bounds.left >= view.left + w ? bounds.left - w : bounds.left;
    }
    const int32_t y = bounds.bottom > view.bottom ? view.bottom - h : bounds.bottom - h;
    const TPointUI screen = window->ClientToScreen(TPointUI{x, y});
    m_pToolBar->SetWindowPos(screen.x, screen.y, 0, 0, kMoveQuietly);
    m_pToolBar->ShowWindow(SW_SHOWNOACTIVATE);
}

bool CRichEditWithToolUI::OnOleEvent(TEventUI& event, COleObject* object) {
    if (event.Type == UIEVENT_MOUSEENTER) ShowToolBar(object, event.ptMouse);
    if (event.Type == UIEVENT_MOUSELEAVE) {
        // Moving onto the bar keeps it; anywhere else it goes a little later.
        if (!m_pToolBar || IsCursorInToolBar()) return true;
        SetTimer(kToolBarHideTimer, kToolBarHideDelayMs);
    }
    return CRichEditExUI::OnOleEvent(event, object);
}

void CRichEditWithToolUI::Event(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && event.wParam == kToolBarHideTimer) {
        KillTimer(kToolBarHideTimer);
        POINT cursor;
        CWindowUI* window = GetWindow();
        if (!GetCursorPos(&cursor) || !window) return;
        const TPointUI point = window->ScreenToClient(TPointUI{cursor.x, cursor.y});
        if (COleImageObj* picture = PictureAt(point)) ShowToolBar(picture, point);
        else if (!IsCursorInToolBar()) HideToolBar();
        return;
    }
    if (event.Type == UIEVENT_MOUSELEAVE && m_pToolBar && !IsCursorInToolBar() && !PictureAt(event.ptMouse)) {
        m_pToolBar->ForgetOwner();
        m_pToolBar->CloseWindow();
        m_pToolBar = nullptr;
    } else if (event.Type == UIEVENT_MOUSEENTER && m_pToolBar && !PictureAt(event.ptMouse)) {
        HideToolBar();
    }
    CRichEditExUI::Event(event);
}

}  // namespace tavi
