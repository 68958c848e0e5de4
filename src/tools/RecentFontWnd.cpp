#include "tools/RecentFontWnd.h"

#include "module/DllObject.h"

namespace tavi {

void CRecentFontWnd::OnFinalMessage(HWND) {
    if (CDllObject* state = GetDllObject(); state && state->m_pRecentFontWnd == this) state->m_pRecentFontWnd = nullptr;
    delete this;
}

}  // namespace tavi
