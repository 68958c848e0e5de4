// @-mentions in the input: the member popup that opens on "@", narrows as
// the user types, and inserts the chosen member's name.
#include <algorithm>

#include "module/DllObject.h"
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "panel/TaviSearchWindow.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/ui/RichEditUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr const char* kAvatarKey = "avatar-id-f40";
constexpr int kOrgGroupKind = 16;
constexpr int kMaxVisibleRows = 5;
constexpr int32_t kPopupWidth = 200;
constexpr int32_t kPopupBorder = 4;

// The host's member search, shared by every panel; null outside Init..Uninit.
client::_CFindFrdSDK* MemberSearch() {
    CDllObject* state = GetDllObject();
    if (!state) return nullptr;
    if (!state->m_pFindFrd) state->m_pFindFrd = client::CreateFindFrdSDK();
    return state->m_pFindFrd.get();
}

HWND WindowOf(const CControlUI* control) {
    CWindowUI* window = control ? control->GetWindow() : nullptr;
    return window ? window->GetHWND() : nullptr;
}
}  // namespace

bool CTaviPanel::IsPluginAt() const {
    IAppMain* app = GetAppMain();
    return app && app->GetChatWndType(m_windowKey) && m_windowKey == kGroupChatKey;
}

bool CTaviPanel::IsMatchAt(const std::u16string& text) {
    const size_t at = text.rfind(u'@');
    return at != std::u16string::npos && text.find_first_of(u" \r", at) == std::u16string::npos;
}

void CTaviPanel::AtProcess(CRichEditUI* edit) {
    if (!edit) return;
    long start = 0, end = 0;
    edit->GetSel(start, end);
    // Until the draft and the first history are in, the input is not the user's yet.
    if (!m_pMsgHandle || !m_pMsgHandle->IsDraftShown()) return;
    const std::u16string text = edit->GetTextRange(0, end);
    if (text.empty() || !IsPluginAt() || !IsMatchAt(text)) {
        HideAtWindow();
        return;
    }
    m_atCaretPos = int32_t(end);
    if (text.back() == u'@') AddFriend();
    else SearchEditText();
}

qel_handle CTaviPanel::GetCurrentGroup() const {
    qel_handle group = GetSessionGroup();
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    if (!group || !type || type->GetKindNum() != kOrgGroupKind || type->GetCateType() != 2) return group;
    // An organisation's group chat stands for the organisation's own group.
    qel_handle buddies = qel_account_buddies(m_account.get());
    qel_handle orgCate = buddies ? qel_buddies_find_cate(buddies, 1) : nullptr;
    const char* orgId = qel_attribs_get_str(group, "org-group-id", "");
    return orgCate && orgId ? qel_buddies_cate_find_buddy_group(orgCate, orgId) : nullptr;
}

void CTaviPanel::AddFriend() {
    qel_handle group = GetCurrentGroup();
    qel_handle cate = GetSessionCategory();
    qel_cxx_helper::HandleArray buddies;
    if (!group || qel_buddy_group_get_all_buddies(group, 1, buddies.out_list(), buddies.out_count()) != 0 ||
        buddies.count() == 0) {
        HideAtWindow();
        return;
    }
    client::FIND_CONTAIN_MAIN results;
    for (int i = 0; i < buddies.count(); ++i) {
        if (cate && qel_buddies_cate_find_buddy(cate, qel_buddy_get_id(buddies[i])))
            AddSearchItem(results, buddies[i], group);
    }
    ShowSDKSearchFriendResult(results, results.empty() ? 0 : int(results.front().size()), true);
}

void CTaviPanel::AddSearchItem(client::FIND_CONTAIN_MAIN& results, qel_handle buddy) const {
    AddSearchItem(results, buddy, GetCurrentGroup());
}

void CTaviPanel::AddSearchItem(client::FIND_CONTAIN_MAIN& results, qel_handle buddy, qel_handle group) const {
    if (!buddy) return;
    if (results.empty()) results.emplace_back();
    const char* id = qel_buddy_get_id(buddy);
    client::FIND_ITEM item;
    item.strId = util::Utf8ToWide(id);
    item.strDisplayName = common::GetGrpLatinName(group, id);
    item.strAvatarPath = common::GetUserAvatarPath(buddy, kAvatarKey);
    results.front().push_back(std::move(item));
}

void CTaviPanel::SearchEditText() {
    client::_CFindFrdSDK* search = MemberSearch();
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    if (!search || !m_pInputEdit) return;
    client::FIND_CONTROL_DESC desc;
    desc.pEdit = m_pInputEdit;
    desc.hEditWnd = WindowOf(m_pInputEdit);
    desc.account = m_account.get();
    if (qel_handle group = GetCurrentGroup()) desc.scope.push_back(group);
    desc.nKind = type ? type->GetKindNum() : 0;
    desc.dwOptions = client::FIND_OPT_MEMBERS | client::FIND_OPT_AT_KEYWORD;
    // The answer comes later: it finds the panel again by its window, which
    // may have closed meanwhile.
    const HWND window = desc.hEditWnd;
    desc.callback = [window](client::FIND_CONTAIN_MAIN& results, int count, bool complete) {
        CTaviPanel* panel = nullptr;
        if (IsWindow(window) && GetTAVIPanel(&panel, window)) panel->ShowSDKSearchFriendResult(results, count, complete);
    };
    search->SetControl(desc);
}

void CTaviPanel::ShowSDKSearchFriendResult(client::FIND_CONTAIN_MAIN& results, int, bool) {
    TAVI_SCOPE("CTaviPanel::ShowSDKSearchFriendResult");
    if (client::_CFindFrdSDK* search = MemberSearch()) search->ResetControl();
    if (!FilterSearchResult(results)) {
        HideAtWindow();
    } else {
        if (!m_pSearchWindow) InitAtSearchResultWindow();
        if (m_pSearchWindow) {
            m_pSearchWindow->ShowResult(results);
            ShowSearchResultWindow();
        }
    }
    if (m_pInputEdit) m_pInputEdit->SetFocus();
}

bool CTaviPanel::FilterSearchResult(client::FIND_CONTAIN_MAIN& results) const {
    for (client::FIND_CONTAIN& list : results) SortByMatchScore(list);
    const std::u16string self = util::Utf8ToWide(qel_buddy_get_id(qel_account_bound_buddy(m_account.get())));
    bool anyRecords = false;
    for (client::FIND_CONTAIN& list : results) {
        anyRecords = anyRecords || !list.empty();
        auto own = std::find_if(list.begin(), list.end(), [&](const client::FIND_ITEM& r) { return r.strId == self; });
        if (own != list.end()) {
            list.erase(own);
            return true;
        }
    }
    return anyRecords;
}

void CTaviPanel::InitAtSearchResultWindow() {
    CWindowUI* window = GetWindow();
    if (!window || m_pSearchWindow) return;
    auto popup = std::make_unique<CTaviSearchWindow>(this);
    if (!popup->Create(window->GetHWND(), u"listbox")) return;
    popup->ShowWindow(false);
    m_pSearchWindow = std::move(popup);
}

void CTaviPanel::ShowSearchResultWindow() {
    CWindowUI* window = GetWindow();
    if (!m_pSearchWindow || !window || !m_pInputEdit) return;
    const int rows = std::min(m_pSearchWindow->GetRowCount(), kMaxVisibleRows);
    if (rows == 0) {
        HideAtWindow();
        return;
    }
    const int32_t height = CDPI::Scale(rows * m_pSearchWindow->GetRowHeight() + kPopupBorder);
    const int32_t width = CDPI::Scale(kPopupWidth);
    const TPointUI caret = window->ClientToScreen(m_pInputEdit->GetCaretPos());
    m_pSearchWindow->SetWindowPos(caret.x, caret.y, width, height, 0);
    if (CContainerUI* root = m_pSearchWindow->GetRoot()) root->NeedUpdate();
    m_pSearchWindow->ShowWindow(SW_SHOWNOACTIVATE);
}

void CTaviPanel::HideAtWindow() {
    if (m_pSearchWindow) m_pSearchWindow->Hide();
}

std::u16string CTaviPanel::GetMemberAtName(const std::u16string& buddyId) const {
    qel_handle buddies = qel_account_buddies(m_account.get());
    const std::string id = util::WideToUtf8(buddyId);
    qel_handle buddy = buddies ? qel_buddies_find_buddy_base(buddies, id.c_str()) : nullptr;
    if (!buddy) return u"";
    std::u16string name = common::GetGrpLatinName(GetCurrentGroup(), id.c_str());
    if (name.empty()) name = common::GetLatinName(buddy, "nickname");
    // A member without any name is still someone to mention, by id.
    return name.empty() ? buddyId : name;
}

void CTaviPanel::AddAtName(const std::u16string& name, bool replace) {
    if (!m_pInputEdit) return;
    const std::u16string text = u"@" + name + u" ";
    if (replace) {
        const long caret = std::clamp<long>(m_atCaretPos, 0, m_pInputEdit->GetTextLength());
        const size_t at = m_pInputEdit->GetTextRange(0, caret).rfind(u'@');
        if (at == std::u16string::npos) return;
        m_pInputEdit->SetSel(long(at), caret);
        m_pInputEdit->ReplaceSel(text);
    } else {
        m_pInputEdit->InsertText(0, text);
        m_pInputEdit->SetSel(-1, -1);
    }
    m_pInputEdit->SetFocus();
}

bool CTaviPanel::OnEditGetFocus(TNotifyUI&) {
    IAppMain* app = GetAppMain();
    if (app && IsPluginAt()) app->ShowTipByName(u"GrpFirstOpen", WindowOf(this));
    return true;
}

bool CTaviPanel::OnAtPopupEditEvent(TEventUI& event) {
    if (!m_pSearchWindow) return true;
    if (event.Type == UIEVENT_KILLFOCUS) {
        if (!m_pSearchWindow->IsActivated()) HideAtWindow();
        return true;
    }
    // The list picks the keys it answers to (arrows, Escape, Return).
    if (!m_pSearchWindow->IsVisible()) return true;
    return m_pSearchWindow->OnChatEditEvent(event);
}

}  // namespace tavi
