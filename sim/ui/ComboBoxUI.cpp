// Combo boxes: a list of texts and a selection.
#include "sdk/ui/ComboBoxUI.h"

int CComboBoxUI::AddString(const std::u16string& text) {
    m_items.push_back(text);
    return GetCount() - 1;
}

void CComboBoxUI::RemoveAll() {
    m_items.clear();
    m_curSel = -1;
}

std::u16string CComboBoxUI::GetItemText(int index) const {
    return index >= 0 && index < GetCount() ? m_items[size_t(index)] : std::u16string();
}

int CComboBoxUI::FindFirstItem(const std::u16string& text) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (m_items[size_t(i)] == text) return i;
    }
    return -1;
}

bool CComboBoxUI::SelectItem(int index, bool byUser) {
    if (index < -1 || index >= GetCount()) return false;
    const bool changed = index != m_curSel;
    m_curSel = index;
    if (changed && byUser) SendNotify(UINOTIFY_SELCHANGE, uintptr_t(index + 1));
    return true;
}

std::u16string CComboBoxUI::GetText() const { return m_curSel < 0 ? CControlUI::GetText() : GetItemText(m_curSel); }
