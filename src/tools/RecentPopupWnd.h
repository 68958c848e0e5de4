// What the recent-font and recent-emoticon popups share: one window per
// process that serves the panel that showed it last, four buttons filled
// from the right with the newest entry on the fourth, a hint while fewer
// than four entries exist, Ctrl or Shift to keep it open while choosing,
// and a context menu that clears the list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "sdk/qel.h"
#include "sdk/ui/WindowUI.h"

namespace tavi {

inline constexpr int kRecentEntryCount = 4;

class CRecentPopupWnd : public CWindowUI, public INotifyUI {
public:
    // The serving panel's SDK instance name, through which the list's
    // account is found.
    void SetPanelId(const std::u16string& id) { m_panelId = id; }
    const std::u16string& GetPanelId() const { return m_panelId; }

    // Where the popup opens beside a tool bar button (screen rectangle).
    virtual bool GetPos(const RECT& anchor, RECT& out) const;
    void MoveWindow(const RECT& rect);

    void OnClickFaceBtn() { ShowWindow(false); }
    bool ProcessNotify(TNotifyUI& msg) override;
    intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The entry that button `button` (0 to 3) shows when `count` entries
    // are stored; -1 for an empty button.
    static int EntryOfButton(int button, int count);

protected:
    CRecentPopupWnd(const char16_t* buttonPrefix, int32_t menuId, int32_t clearItemId);

    void OnCreate() override;
    // The serving account's preferences; null when they cannot be reached.
    qel_handle GetPreferences() const;
    // Sets the hint and the four buttons for `count` entries; `fill` makes
    // a button show an entry (index into the stored list).
    void ShowEntries(int count, const std::function<void(CControlUI* button, int entry)>& fill);
    // A choice hides the popup unless Ctrl or Shift is held.
    void HideForChoice();

    virtual void OnSelect(int button) = 0;
    virtual void OnClear() = 0;
    // The window forgets itself in the process state.
    virtual void ForgetSelf() = 0;

private:
    void OnFinalMessage(HWND hwnd) override;
    void ShowContextMenu();

    std::u16string m_buttonPrefix;
    int32_t m_menuId;
    int32_t m_clearItemId;
    std::u16string m_panelId;
};

}  // namespace tavi
