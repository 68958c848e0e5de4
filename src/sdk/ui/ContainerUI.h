// Controls that hold other controls. A container owns its children.
#pragma once

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

// A container that lays its children out (the framework's layouts).
class CLayoutUI : public CContainerUI {
public:
    const char16_t* GetClassName() const override { return u"Layout"; }
};

class CVerticalLayoutUI : public CLayoutUI {
public:
    const char16_t* GetClassName() const override { return u"VerticalLayout"; }
};

class CHorizontalLayoutUI : public CLayoutUI {
public:
    const char16_t* GetClassName() const override { return u"HorizontalLayout"; }
};
