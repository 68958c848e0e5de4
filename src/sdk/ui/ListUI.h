// A list of rows (each a control) with one selected row.
#pragma once

#include "sdk/ui/ContainerUI.h"

class CListUI : public CVerticalLayoutUI {
public:
    const char16_t* GetClassName() const override { return u"List"; }
    // -1 when nothing is selected.
    int GetCurSel() const { return m_curSel; }
    // Selects the row (-1: none); raises UINOTIFY_SELCHANGE when it changes.
    bool SelectItem(int index);
    // The row before/after the selection (wrapping); -1 for an empty list.
    int GetPrevItem() const;
    int GetNextItem() const;
    // Selects the row again (even when selected) and scrolls it into view.
    void ReselectItem(int index);
    int GetTopIndex() const { return m_top; }
    // Scrolls so the row is among the `visibleRows` rows shown.
    void EnsureVisible(int index, int visibleRows = 5);
    bool Remove(CControlUI* control) override;
    void RemoveAll() override;

private:
    int m_curSel = -1;
    int m_top = 0;
};
