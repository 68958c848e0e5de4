// The popup of the last four fonts the user wrote with, one per process,
// shared by every chat panel.
#pragma once

#include <deque>

#include "tools/ChatFont.h"
#include "tools/RecentPopupWnd.h"

namespace tavi {

// Told which recent font the user chose.
struct IFontCallBack {
    virtual ~IFontCallBack() = default;
    virtual void OnSelFont(const char16_t* face, int size, int bold, int italic, int underline, int color) = 0;
};

using RecentFontList = std::deque<SChatFont>;

class CRecentFontWnd final : public CRecentPopupWnd {
public:
    CRecentFontWnd();

    void SetFontCallBack(IFontCallBack* callback) { m_pCallBack = callback; }
    IFontCallBack* GetFontCallBack() const { return m_pCallBack; }

    // The serving account's chat font; `out` stays as it is without one.
    void GetCurFontInfo(SChatFont& out) const;
    // The stored list, oldest first, up to the first unused entry.
    void GetRecentFontInfo(RecentFontList& out) const;
    // Writes entry i under index i and saves.
    void SetRecentFontInfo(const RecentFontList& list);
    // Records the current chat font as the newest entry; a font used
    // before moves to the newest place, and the oldest of five goes.
    void PushBackFont();
    // Shows the stored list on the buttons.
    void UpdateFont();
    void ClearHistoryFace();
    void OnSelectFont(int button);

protected:
    void OnSelect(int button) override { OnSelectFont(button); }
    void OnClear() override { ClearHistoryFace(); }
    void ForgetSelf() override;

private:
    IFontCallBack* m_pCallBack = nullptr;
};

}  // namespace tavi
