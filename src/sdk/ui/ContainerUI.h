// Controls that hold other controls. A container owns its children.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sdk/ui/ControlUI.h"

class CContainerUI : public CControlUI {
public:
    ~CContainerUI() override;
    const char16_t* GetClassName() const override { return u"Container"; }

    // Takes ownership; false for null or a control that already has a parent.
    virtual bool Add(CControlUI* control);
    virtual bool AddAt(CControlUI* control, int index);
    // Destroys the child (OnDestroy, then delete).
    virtual bool Remove(CControlUI* control);
    // Takes the child out without destroying it; the caller owns it again.
    virtual bool RemoveNoDestroy(CControlUI* control);
    virtual void RemoveAll();
    int GetCount() const { return int(m_items.size()); }
    CControlUI* GetItemAt(int index) const;
    int GetItemIndex(CControlUI* control) const;
    const std::vector<CControlUI*>& GetItems() const { return m_items; }
    // A direct child by name.
    CControlUI* FindChild(const std::u16string& name) const;
    // Any descendant by name (then by id).
    CControlUI* FindControl(const std::u16string& name);

    CControlUI* FindSubControl(const std::u16string& name) override;
    void ForEach(const std::function<void(CControlUI*)>& visit) override;

protected:
    void OnWindowChanged() override;

private:
    std::vector<CControlUI*> m_items;
};

struct TSizeUI {
    int32_t cx = 0;
    int32_t cy = 0;
};

// How a layout places its children (its "layout" attribute).
enum UILayoutType : int32_t {
    UILAYOUT_FREE = 0,        // by the children's own coordinates
    UILAYOUT_VERTICAL = 1,    // "vertical"
    UILAYOUT_HORIZONTAL = 2,  // "horizontal"
    UILAYOUT_GRID = 7,        // "grid": equal cells in rows
};

// What a layout pass reads: the first cell's offset, the gaps between
// cells, and whether the container scrolls.
struct TLayoutParams {
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t spaceX = 0;
    int32_t spaceY = 0;
    bool hasScrollBar = false;
};

// A container that lays its children out (the framework's layouts).
// Attributes: "layout" (free, vertical, horizontal, grid), "startx",
// "starty", "spacex", "spacey", "vscroll"/"hscroll" ("true" for scroll bars).
class CLayoutUI : public CContainerUI {
public:
    const char16_t* GetClassName() const override { return u"Layout"; }
    void SetAttribute(const std::u16string& name, const std::u16string& value) override;

    int32_t GetLayoutType() const { return m_layoutType; }
    void SetLayoutType(int32_t type) { m_layoutType = type; }
    // Offsets and gaps as written (unscaled).
    TLayoutParams GetLayoutParams() const { return m_params; }
    bool HasScrollBar() const { return m_params.hasScrollBar; }

    // The content's scroll offset in pixels; the content rectangle of a
    // layout pass is the area moved up and left by it.
    void SetScrollPos(TPointUI pos);
    TPointUI GetScrollPos() const { return m_scroll; }
    // Runs a layout pass: OnChildSize with the control's rectangle and the
    // scrolled content rectangle; answers the children's extent.
    TSizeUI LayoutChildren();

protected:
    // The layout pass of the children: grid layouts go through
    // UICustomControlHelper::LayoutChildGrid, others answer (0, 0).
    virtual void OnChildSize(TSizeUI& size, const RECT& area, const RECT& content);

private:
    int32_t m_layoutType = UILAYOUT_FREE;
    TLayoutParams m_params;
    TPointUI m_scroll;
};

struct UICustomControlHelper {
    // Places the children in equal cells, row by row, from the content's
    // top-left corner plus the start offsets, as many per row as fit the
    // area's width (at least one); the cell is the first child's fixed size.
    // Answers the extent of the cells (width and height of the grid).
    static TSizeUI LayoutChildGrid(const RECT& area, const RECT& content, const TLayoutParams& params,
                                   const std::vector<CControlUI*>& children);
};

class CVerticalLayoutUI : public CLayoutUI {
public:
    const char16_t* GetClassName() const override { return u"VerticalLayout"; }
};

class CHorizontalLayoutUI : public CLayoutUI {
public:
    const char16_t* GetClassName() const override { return u"HorizontalLayout"; }
};
