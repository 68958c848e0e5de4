// Pop-up menus loaded from menu resources ("skin/menu/<id>.xml") or built
// in code. Clicking an item sends UINOTIFY_CLICK with wParam pointing to
// the item's TMenuItemInfo and lParam the menu's id.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/ui/UIDefs.h"

class CWindowUI;

// The record a menu command carries.
struct TMenuItemInfo {
    int32_t nId = 0;
    std::u16string sText;
    void* pParam = nullptr;  // the menu's parameter
};

struct SMenuItem {
    int32_t id = 0;
    std::u16string text;
    bool separator = false;
    bool checked = false;
    bool enabled = true;
    std::vector<SMenuItem> children;
};

class CMenuUI {
public:
    explicit CMenuUI(int32_t menuId = 0) : m_menuId(menuId) {}
    virtual ~CMenuUI() = default;

    // Loads the resource of that id (texts beginning "#" are localised);
    // false when it is missing or malformed.
    bool Load(int32_t menuId);
    int32_t GetMenuId() const { return m_menuId; }

    void AddItem(int32_t id, const std::u16string& text, bool checked = false, bool enabled = true);
    void AddSeparator();
    // Adds under the item parentId (at any depth); false when there is none.
    bool AddSubItem(int32_t parentId, int32_t id, const std::u16string& text, bool checked = false);
    int GetItemCount() const { return int(m_items.size()); }
    // By index among the top-level items (separators count).
    SMenuItem* GetItemAt(int index);
    bool CheckItemAt(int index, bool checked);
    bool RemoveItemAt(int index);
    // By id, at any depth.
    SMenuItem* FindItem(int32_t id);
    bool CheckItem(int32_t id, bool checked);
    bool EnableItem(int32_t id, bool enabled);
    bool RemoveItem(int32_t id);
    const std::vector<SMenuItem>& GetItems() const { return m_items; }

    void SetParam(void* param) { m_param = param; }
    void* GetParam() const { return m_param; }

    // Opens the menu at a screen point; commands go to target, or to the
    // owner window's receivers. The framework owns a shown menu and
    // deletes it when it closes; a menu never shown is the caller's.
    void Show(HWND owner, int32_t x, int32_t y, INotifyUI* target = nullptr);
    HWND GetOwner() const { return m_owner; }
    INotifyUI* GetTarget() const { return m_target; }
    TPointUI GetShowPoint() const { return m_point; }

private:
    int32_t m_menuId;
    std::vector<SMenuItem> m_items;
    void* m_param = nullptr;
    HWND m_owner = nullptr;
    INotifyUI* m_target = nullptr;
    TPointUI m_point;
};
