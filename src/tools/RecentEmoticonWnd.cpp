#include "tools/RecentEmoticonWnd.h"

#include "module/DllObject.h"

namespace tavi {

void CRecentEmoticonWnd::OnFinalMessage(HWND) {
    if (CDllObject* state = GetDllObject(); state && state->m_pRecentEmoticonWnd == this)
        state->m_pRecentEmoticonWnd = nullptr;
    delete this;
}

}  // namespace tavi
