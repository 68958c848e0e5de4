#include "tools/RecentEmoticonWnd.h"

#include "module/DllObject.h"
#include "sdk/qel_account.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int32_t kRecentEmoticonMenu = 53300;
constexpr int32_t kClearRecentEmoticons = 53301;

std::string NameKey(int index) { return util::Format("SystemInfo.RecentEmoticon.Name%d", index); }
std::string DescriptionKey(int index) { return util::Format("SystemInfo.RecentEmoticon.Discript%d", index); }

}  // namespace

CRecentEmoticonWnd::CRecentEmoticonWnd() : CRecentPopupWnd(u"emoticon", kRecentEmoticonMenu, kClearRecentEmoticons) {}

void CRecentEmoticonWnd::ForgetSelf() {
    if (CDllObject* state = GetDllObject(); state && state->m_pRecentEmoticonWnd == this)
        state->m_pRecentEmoticonWnd = nullptr;
}

void CRecentEmoticonWnd::GetRecentEmoticonInfo(RecentEmoticonList& out) const {
    qel_handle prefs = GetPreferences();
    if (!prefs) return;
    for (int i = 0; i < kRecentEntryCount; ++i) {
        std::u16string name = util::SafeWide(qel_preference_get_wstr(prefs, NameKey(i).c_str(), u""));
        if (name.empty()) break;
        out.emplace_back(std::move(name),
                         util::SafeWide(qel_preference_get_wstr(prefs, DescriptionKey(i).c_str(), u"")));
    }
}

void CRecentEmoticonWnd::SetRecentEmoticonInfo(const RecentEmoticonList& list) {
    qel_handle prefs = GetPreferences();
    if (!prefs) return;
    for (int i = 0; i < int(list.size()); ++i) {
        qel_preference_set_wstr(prefs, NameKey(i).c_str(), list[size_t(i)].first.c_str());
        qel_preference_set_wstr(prefs, DescriptionKey(i).c_str(), list[size_t(i)].second.c_str());
    }
    qel_preference_save(prefs, 0);
}

void CRecentEmoticonWnd::PushBackEmoticon(const std::u16string& name, const std::u16string& description) {
    if (name.empty()) return;
    RecentEmoticonList list;
    GetRecentEmoticonInfo(list);
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->first == name) {
            list.erase(it);
            break;
        }
    }
    list.emplace_back(name, description);
    if (list.size() > size_t(kRecentEntryCount)) list.pop_front();
    SetRecentEmoticonInfo(list);
}

void CRecentEmoticonWnd::Update() {
    RecentEmoticonList list;
    GetRecentEmoticonInfo(list);
    ShowEntries(int(list.size()), [&](CControlUI* button, int entry) {
        button->SetText(list[size_t(entry)].first);
        button->SetToolTip(list[size_t(entry)].second);
    });
}

void CRecentEmoticonWnd::ClearHistoryEmoticon() {
    SetRecentEmoticonInfo(RecentEmoticonList(kRecentEntryCount));
    Update();
}

void CRecentEmoticonWnd::OnSelectEmoticon(int button) {
    HideForChoice();
    RecentEmoticonList list;
    GetRecentEmoticonInfo(list);
    const int entry = int(list.size()) - kRecentEntryCount + button;
    if (entry < 0 || entry >= int(list.size()) || !m_pCallBack) return;
    const auto chosen = list[size_t(entry)];
    m_pCallBack->OnSelEmoticon(chosen.first.c_str(), chosen.second.c_str());
}

}  // namespace tavi
