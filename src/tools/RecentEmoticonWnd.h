// The popup of the last four emoticons the user chose, one per process,
// built like the recent-font popup.
#pragma once

#include <deque>
#include <string>
#include <utility>

#include "sdk/tavi.h"
#include "tools/RecentPopupWnd.h"

namespace tavi {

// (emoticon text, description); an empty text marks an entry not in use.
using RecentEmoticonList = std::deque<std::pair<std::u16string, std::u16string>>;

class CRecentEmoticonWnd final : public CRecentPopupWnd {
public:
    CRecentEmoticonWnd();

    void SetEmoticonCallBack(IEmoticonCallBack* callback) { m_pCallBack = callback; }
    IEmoticonCallBack* GetEmoticonCallBack() const { return m_pCallBack; }

    void GetRecentEmoticonInfo(RecentEmoticonList& out) const;
    void SetRecentEmoticonInfo(const RecentEmoticonList& list);
    // Records a chosen emoticon as the newest; the same text chosen again
    // moves up with its new description.
    void PushBackEmoticon(const std::u16string& name, const std::u16string& description);
    void Update();
    void ClearHistoryEmoticon();
    void OnSelectEmoticon(int button);

protected:
    void OnSelect(int button) override { OnSelectEmoticon(button); }
    void OnClear() override { ClearHistoryEmoticon(); }
    void ForgetSelf() override;

private:
    IEmoticonCallBack* m_pCallBack = nullptr;
};

}  // namespace tavi
