// The @-member popup.
#include "panel/TaviSearchWindow.h"

#include <algorithm>
#include <string>

#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr const char16_t* kRowLayout = u"IDD_TAVI_SEARCH_ITEM_SETTING";
constexpr int kVisibleRows = 5;
constexpr int32_t kDefaultRowHeight = 28;
constexpr int32_t kNotifyListItem = 3;

TPointUI PointOf(intptr_t lParam) {
    return TPointUI{int16_t(uint32_t(lParam) & 0xFFFF), int16_t((uint32_t(lParam) >> 16) & 0xFFFF)};
}
}  // namespace

// A merge sort by ascending score in which a record passes an earlier one
// only when its score is lower by more than 0.01: near-equal scores keep
// the order the search gave them.
void SortByMatchScore(client::FIND_CONTAIN& list) {
    // An ascending list is left as it is by the merge below; searches
    // usually answer ranked already.
    const auto lower = [](const client::FIND_ITEM& a, const client::FIND_ITEM& b) {
        return a.fMatchScore < b.fMatchScore;
    };
    if (std::is_sorted(list.begin(), list.end(), lower)) return;
    client::FIND_CONTAIN buffer(list.size());
    for (size_t width = 1; width < list.size(); width *= 2) {
        for (size_t left = 0; left < list.size(); left += 2 * width) {
            const size_t mid = std::min(left + width, list.size());
            const size_t right = std::min(left + 2 * width, list.size());
            size_t a = left, b = mid, out = left;
            while (a < mid && b < right) {
                const bool takeRight = list[b].fMatchScore < list[a].fMatchScore - 0.01f;
                buffer[out++] = std::move(takeRight ? list[b++] : list[a++]);
            }
            while (a < mid) buffer[out++] = std::move(list[a++]);
            while (b < right) buffer[out++] = std::move(list[b++]);
        }
        list.swap(buffer);
    }
}

CTaviSearchWindow::CTaviSearchWindow(CTaviPanel* owner) : m_pOwner(owner) {}

CTaviSearchWindow::~CTaviSearchWindow() {
    if (CWindowUI* window = CWindowUI::FromHandle(m_ownerWindow)) window->RemoveMessageFilter(this);
}

void CTaviSearchWindow::OnCreate() {
    m_pList = dynamic_cast<CListUI*>(FindControl(u"list"));
    if (m_pList) m_pList->OnEvent += [this](TEventUI& event) { return OnKeyDown(event); };
    m_ownerWindow = GetParentHWND();
    // Clicks elsewhere in the chat window close the popup.
    if (CWindowUI* window = CWindowUI::FromHandle(m_ownerWindow)) window->AddMessageFilter(this);
}

bool CTaviSearchWindow::ProcessNotify(TNotifyUI& msg) {
    if (!msg.pSender || msg.pSender != m_pList) return false;
    if (msg.nType == UINOTIFY_CLICK || msg.nType == kNotifyListItem) {
        OnClickItem();
        return true;
    }
    return false;
}

intptr_t CTaviSearchWindow::WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    switch (message) {
        case kWmPopupActivate: m_activated = true; break;
        case kWmPopupKillFocus:
            if (reinterpret_cast<HWND>(wParam) != GetHWND()) {
                Hide();
                m_activated = false;
            }
            break;
        case kWmPopupPaint: m_visible = true; break;
        default: break;
    }
    return CNoActiveWindowUI::WindowProc(message, wParam, lParam);
}

intptr_t CTaviSearchWindow::MessageFilter(uint32_t message, uintptr_t, intptr_t lParam, bool&) {
    if (message != kWmLButtonDown && message != kWmRButtonDown) return 0;
    CWindowUI* owner = CWindowUI::FromHandle(m_ownerWindow);
    if (!owner || !IsWindowVisible()) return 0;
    const CRectX popup(GetWindowRect());
    if (!popup.Contains(owner->ClientToScreen(PointOf(lParam)))) Hide();
    return 0;
}

void CTaviSearchWindow::ShowResult(client::FIND_CONTAIN_MAIN& results) {
    if (!m_pList) return;
    m_pList->RemoveAll();
    m_rows.clear();
    size_t total = 0;
    for (const client::FIND_CONTAIN& list : results) total += list.size();
    m_rows.reserve(total);
    for (client::FIND_CONTAIN& list : results) {
        // Sorted in place: a list that comes sorted (the usual case) costs
        // one pass, not a copy of thousands of records.
        SortByMatchScore(list);
        for (client::FIND_ITEM& item : list) {
            m_rows.push_back(SRow{std::move(item.strId), std::move(item.strAvatarPath), item.nState, false});
            // An empty row stands in until it first comes into view.
            auto* row = new CCompositeUI;
            row->SetFixedSize(0, kDefaultRowHeight);
            m_pList->Add(row);
        }
    }
    if (!m_rows.empty()) m_pList->SelectItem(0);
    BuildVisibleRows();
}

void CTaviSearchWindow::BuildVisibleRows() {
    if (!m_pList) return;
    const int top = m_pList->GetTopIndex();
    const int end = std::min<int>(top + kVisibleRows, int(m_rows.size()));
    for (int i = std::max(0, top); i < end; ++i) BuildRow(i);
}

void CTaviSearchWindow::BuildRow(int index) {
    if (index < 0 || index >= int(m_rows.size()) || m_rows[size_t(index)].built) return;
    SRow& record = m_rows[size_t(index)];
    auto* row = dynamic_cast<CCompositeUI*>(m_pList->GetItemAt(index));
    if (!row || !row->Create(kRowLayout, nullptr)) return;
    record.built = true;
    CControlUI* text = row->FindSubControl(u"at_and_name");
    CControlUI* face = row->FindSubControl(u"face");
    CControlUI* name = row->FindSubControl(u"display_name");
    if (face) {
        face->SetAttribute(u"icon.image", record.avatar);
        face->SetAttribute(u"state", util::WFormat("%d", record.state));
    }
    // A member the account does not know gets a row without text.
    const std::u16string shown = m_pOwner->GetMemberAtName(record.id);
    if (shown.empty()) return;
    if (text) text->SetText(RowText(shown, record.id));
    if (name) {
        name->SetText(shown);
        name->SetVisible(false);
    }
}

std::u16string CTaviSearchWindow::RowText(const std::u16string& name, const std::u16string& id) const {
    if (!common::IsShowUserId()) return name;
    IAppMain* app = GetAppMain();
    IUserInfoService* service = app ? app->GetUserInfoService() : nullptr;
    const std::u16string extra = service ? service->GetExtraText(id.c_str()) : std::u16string();
    return name + u"(" + (extra.empty() ? id : extra) + u")";
}

int32_t CTaviSearchWindow::GetRowHeight() {
    CControlUI* first = m_pList ? m_pList->GetItemAt(0) : nullptr;
    const int32_t height = first ? first->GetHeight() : 0;
    return height > 0 ? height : kDefaultRowHeight;
}

bool CTaviSearchWindow::OnChatEditEvent(TEventUI& event) {
    if (event.Type == UIEVENT_CHAR && event.chKey == VK_RETURN) {
        ConfirmItem();
        event.Type = UIEVENT_HANDLED;
        return false;
    }
    if (event.Type != UIEVENT_KEYDOWN) return true;
    switch (event.chKey) {
        case VK_UP: UpEvent(); break;
        case VK_DOWN: DownEvent(); break;
        case VK_ESCAPE: Hide(); break;
        default: return true;
    }
    event.Type = UIEVENT_HANDLED;
    return false;
}

bool CTaviSearchWindow::OnKeyDown(TEventUI& event) {
    if (event.Type != UIEVENT_KEYDOWN || !m_pList) return true;
    const int count = m_pList->GetCount();
    const int current = m_pList->GetCurSel();
    switch (event.chKey) {
        case VK_DOWN: ReselectItem(current + 1 >= count ? 0 : current + 1); return false;
        case VK_UP: ReselectItem(current <= 0 ? count - 1 : current - 1); return false;
        case VK_RETURN: {
            TNotifyUI msg;
            msg.pSender = m_pList;
            if (current >= 0) {
                msg.nType = kNotifyListReturn;
                msg.wParam = uintptr_t(current);
            } else {
                msg.nType = kNotifyListKey;
                msg.wParam = event.chKey;
            }
            m_pOwner->ProcessNotify(msg);
            return false;
        }
        default: return true;
    }
}

void CTaviSearchWindow::UpEvent() {
    if (m_pList) ReselectItem(m_pList->GetPrevItem());
}

void CTaviSearchWindow::DownEvent() {
    if (m_pList) ReselectItem(m_pList->GetNextItem());
}

void CTaviSearchWindow::ReselectItem(int index) {
    if (!m_pList || index < 0) return;
    m_pList->ReselectItem(index);
    BuildVisibleRows();
}

void CTaviSearchWindow::ConfirmItem() {
    const int selected = m_pList ? m_pList->GetCurSel() : -1;
    if (selected < 0) return;
    BuildRow(selected);
    CControlUI* row = m_pList->GetItemAt(selected);
    CControlUI* name = row ? row->FindSubControl(u"display_name") : nullptr;
    const std::u16string text = name ? name->GetText() : std::u16string();
    if (text.empty()) return;
    m_pOwner->AddAtName(text, true);
    m_pOwner->HideAtWindow();
}

void CTaviSearchWindow::OnClickItem() { ConfirmItem(); }

void CTaviSearchWindow::Hide() {
    ShowWindow(false);
    m_visible = false;
}

}  // namespace tavi
