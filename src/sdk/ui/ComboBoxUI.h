// A drop-down list of texts with one selected entry; the control's text
// is the selected entry's.
#pragma once

#include <string>
#include <vector>

#include "sdk/ui/ControlUI.h"

class CComboBoxUI : public CControlUI {
public:
    const char16_t* GetClassName() const override { return u"Combo"; }
    int AddString(const std::u16string& text);
    void RemoveAll();
    int GetCount() const { return int(m_items.size()); }
    std::u16string GetItemText(int index) const;
    // -1 when there is no such entry.
    int FindFirstItem(const std::u16string& text) const;
    int GetCurSel() const { return m_curSel; }
    // Selects an entry (-1: none); the user's choice also raises
    // UINOTIFY_SELCHANGE, a selection by the program does not.
    bool SelectItem(int index, bool byUser = false);
    std::u16string GetText() const override;

private:
    std::vector<std::u16string> m_items;
    int m_curSel = -1;
};
