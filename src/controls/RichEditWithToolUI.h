// A message view that shows a small floating tool bar over the picture the
// pointer rests on: save it, edit it, keep it as a smiley, read a QR code
// in it. The chat panel carries the actions out.
#pragma once

#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"

namespace tavi {

class CTaviPanel;
class CRichEditWithToolUI;

// Timer of the view that hides the bar once the pointer has left.
inline constexpr uint32_t kToolBarHideTimer = 10;
inline constexpr uint32_t kToolBarHideDelayMs = 500;

class CREImageToolBar : public CNoActiveWindowUI, public INotifyUI {
public:
    explicit CREImageToolBar(CRichEditWithToolUI* owner) : m_pOwner(owner) {}

    void SetNotify(CTaviPanel* target) { m_pNotify = target; }
    // Where the picture was, in the owner's client coordinates.
    void SetPoint(TPointUI point) { m_point = point; }
    // The owner goes first; the bar then only closes.
    void ForgetOwner() { m_pOwner = nullptr; }

    bool ProcessNotify(TNotifyUI& msg) override;
    void OnBtnSave();
    void OnBtnEdit();
    void OnBtnAddFace();
    void OnBtnDecode();

protected:
    void OnFinalMessage(HWND) override { delete this; }

private:
    // Hides the bar and finds the panel and the picture an action works on.
    bool BeginAction(CTaviPanel*& panel, COleImageObj*& picture);

    CRichEditWithToolUI* m_pOwner;
    CTaviPanel* m_pNotify = nullptr;
    TPointUI m_point;
};

class CRichEditWithToolUI : public CRichEditExUI {
public:
    CRichEditWithToolUI() = default;
    ~CRichEditWithToolUI() override;
    const char16_t* GetClassName() const override { return u"RichEditWithTool"; }

    void SetNotify(CTaviPanel* target);
    CTaviPanel* GetNotify() const { return m_pNotify; }
    // Shows the bar beside a picture, or hides it for what gets none.
    void ShowToolBar(COleObject* object, TPointUI point);
    // The bar while it exists; null before the first picture or after it closed.
    CREImageToolBar* GetToolBar() const { return m_pToolBar; }

    bool OnOleEvent(TEventUI& event, COleObject* object) override;
    void Event(TEventUI& event) override;

private:
    bool IsCursorInToolBar() const;
    void HideToolBar();
    COleImageObj* PictureAt(TPointUI point) const;

    CREImageToolBar* m_pToolBar = nullptr;  // owned; closes itself
    CTaviPanel* m_pNotify = nullptr;
};

// Built-in faces (a resource path) and file icons get no tool bar.
bool HasImageTools(const COleImageObj* picture);

}  // namespace tavi
