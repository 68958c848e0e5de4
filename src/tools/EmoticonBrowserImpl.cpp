#include "tools/EmoticonBrowserImpl.h"

#include "tools/EmoticonWnd.h"

namespace tavi {

CEmoticonBrowserImpl::~CEmoticonBrowserImpl() { delete m_pWnd; }

void CEmoticonBrowserImpl::Show(RECT anchor, IEmoticonCallBack* callback, void* faceCallback) {
    if (!m_pWnd) {
        auto* window = new CEmoticonWnd();
        if (!window->Create(nullptr, u"emoticon_wnd", 0, 0, 0, 0, 0)) {
            delete window;
            return;
        }
        m_pWnd = window;
    }
    m_pWnd->SetCallBacks(callback, faceCallback);
    RECT rect;
    if (!m_pWnd->GetPos(anchor, rect)) return;
    m_pWnd->MoveWindow(rect);
    m_pWnd->ShowWindow(SW_SHOW);
    m_pWnd->SetForegroundWindow();
}

bool CEmoticonBrowserImpl::IsOnShow() { return m_pWnd && m_pWnd->IsWindowVisible(); }

}  // namespace tavi
