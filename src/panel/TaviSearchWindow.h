// The @-member popup under the input's caret: a list of the members found,
// one row each, with keys, clicks and the rules that close it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/findfrd.h"
#include "sdk/ui/UIlib.h"
#include "sdk/ui/WindowUI.h"

class CListUI;

namespace tavi {

class CTaviPanel;

// Window messages the popup reads.
inline constexpr uint32_t kWmPopupActivate = 0x0006;
inline constexpr uint32_t kWmPopupKillFocus = 0x0008;
inline constexpr uint32_t kWmPopupPaint = 0x000F;
inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmRButtonDown = 0x0204;

// Notifications the list sends its owner panel on Enter.
inline constexpr int32_t kNotifyListReturn = 16;
inline constexpr int32_t kNotifyListKey = 14;

// Sorts by ascending match score; scores within 0.01 keep their order.
void SortByMatchScore(client::FIND_CONTAIN& list);

class CTaviSearchWindow : public CNoActiveWindowUI, public IMessageFilterUI, public INotifyUI {
public:
    explicit CTaviSearchWindow(CTaviPanel* owner);
    ~CTaviSearchWindow() override;

    bool ProcessNotify(TNotifyUI& msg) override;
    intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t MessageFilter(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;

    // Replaces the rows by the members of the result, each list sorted by
    // match score; the rows take over the records' ids and avatars.
    void ShowResult(client::FIND_CONTAIN_MAIN& results);
    // The input edit's events while the popup is visible; false when the
    // popup took the event.
    bool OnChatEditEvent(TEventUI& event);
    // Keys while the list itself has the keyboard.
    bool OnKeyDown(TEventUI& event);
    void UpEvent();
    void DownEvent();
    void ReselectItem(int index);
    void ConfirmItem();
    void OnClickItem();

    CListUI* GetList() const { return m_pList; }
    int GetRowCount() const { return int(m_rows.size()); }
    // The first row's height, as laid out.
    int32_t GetRowHeight();
    bool IsVisible() const { return m_visible; }
    void Hide();
    bool IsActivated() const { return m_activated; }

protected:
    void OnCreate() override;

private:
    struct SRow {
        std::u16string id;
        std::u16string avatar;
        int state = 0;
        bool built = false;
    };
    // Builds the rows the list shows now; rows are built the first time
    // they come into view, so a result of thousands costs a few rows.
    void BuildVisibleRows();
    void BuildRow(int index);
    std::u16string RowText(const std::u16string& name, const std::u16string& id) const;

    CTaviPanel* m_pOwner;
    HWND m_ownerWindow = nullptr;
    CListUI* m_pList = nullptr;
    std::vector<SRow> m_rows;
    bool m_visible = false;
    bool m_activated = false;
};

}  // namespace tavi
