// The list's selection and scrolling.
#include "sdk/ui/ListUI.h"

#include <algorithm>

bool CListUI::SelectItem(int index) {
    if (index < -1 || index >= GetCount()) return false;
    if (index == m_curSel) return true;
    if (CControlUI* old = GetItemAt(m_curSel)) old->SetSelected(false);
    m_curSel = index;
    if (CControlUI* row = GetItemAt(index)) row->SetSelected(true);
    SendNotify(UINOTIFY_SELCHANGE, uintptr_t(index + 1));
    return true;
}

int CListUI::GetPrevItem() const {
    if (GetCount() == 0) return -1;
    return m_curSel <= 0 ? GetCount() - 1 : m_curSel - 1;
}

int CListUI::GetNextItem() const {
    if (GetCount() == 0) return -1;
    return m_curSel < 0 || m_curSel + 1 >= GetCount() ? 0 : m_curSel + 1;
}

void CListUI::ReselectItem(int index) {
    if (index < 0 || index >= GetCount()) return;
    if (index == m_curSel) m_curSel = -1;
    SelectItem(index);
    EnsureVisible(index);
}

void CListUI::EnsureVisible(int index, int visibleRows) {
    if (index < 0 || index >= GetCount() || visibleRows <= 0) return;
    if (index < m_top) m_top = index;
    else if (index >= m_top + visibleRows) m_top = index - visibleRows + 1;
}

bool CListUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (index < 0) return false;
    if (index == m_curSel) m_curSel = -1;
    else if (index < m_curSel) --m_curSel;
    m_top = std::min(m_top, std::max(0, GetCount() - 2));
    return CContainerUI::Remove(control);
}

void CListUI::RemoveAll() {
    m_curSel = -1;
    m_top = 0;
    CContainerUI::RemoveAll();
}
