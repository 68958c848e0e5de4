#include "msghandle/HistoryMsgHandle.h"

#include <algorithm>

#include "msghandle/MsgHandle.h"
#include "msghandle/MsgPages.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/qel_attribs.h"
#include "util/Log.h"

namespace tavi {

namespace {
// A page of older messages holds the oldest one already shown and ten more.
constexpr int kMorePageLimit = 11;
constexpr int32_t kMaxMoreCount = 220;
// The first page of a load that did not come from history is taken as at
// most this many messages when deciding whether older ones exist.
constexpr uint32_t kMaxFirstPageCount = 25;

// A group that refuses messages still shows its read history on later loads.
bool RefusesMsgs(qel_handle conversation) {
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    return group && common::GetQELAttribs_int(group, "refusemsg", 0) == 1;
}
}  // namespace

int CHistoryMsgHandle::GetMsgHistoryShowCount() { return common::GetHisShowNum(qel_ext::QelGetCurAccount()); }

bool CHistoryMsgHandle::GetHistoryMessage(qel_handle conversation, bool firstLoad, qel_cxx_helper::HandleArray& list,
                                          bool& fromHistory) {
    TAVI_SCOPE("CHistoryMsgHandle::GetHistoryMessage");
    const int pageSize = GetMsgHistoryShowCount();
    if (firstLoad && pageSize >= 1) {
        GetNewestReadRecord(conversation, pageSize, list);
        fromHistory = true;
        m_pageCount = uint32_t(pageSize);
        m_historyLoaded = true;
        m_oldestShownId = OldestMsgId(list);
    }
    // Without a history page there is nothing for a history marker to mark.
    if (!m_historyLoaded) m_historyMarkShown = true;
    if (list.count() == 0 && RefusesMsgs(conversation)) GetNewestReadRecord(conversation, pageSize, list);
    return list.count() != 0;
}

void CHistoryMsgHandle::AddShowMoreHistroyMsgPanel(bool firstLoad, bool fromHistory, int count, CTaviPanel* panel,
                                                   qel_handle conversation) {
    if (!panel) return;
    if (!m_historyLoaded) m_pageCount = std::min(uint32_t(std::max(count, 0)), kMaxFirstPageCount);
    qel_cxx_helper::HandleArray probe;
    if (fromHistory && !m_historyMarkShown) {
        panel->ShowHistroyMsgImage();
        m_historyMarkShown = true;
        GetNewestReadRecord(conversation, int(m_pageCount) + 1, probe);
        if (uint32_t(probe.count()) > m_pageCount) panel->CreateMoreHistroyMsgPane();
        return;
    }
    if (!firstLoad) return;
    GetPageRecord(conversation, kOldestMsgId, uint64_t(INT64_MAX), count + 1, probe);
    if (count >= 1 && probe.count() > count) panel->CreateMoreHistroyMsgPane();
}

bool CHistoryMsgHandle::GetMoreHistoryQelMessage(qel_handle conversation, qel_cxx_helper::HandleArray& list,
                                                 bool& noMore) {
    if (!m_historyLoaded && m_oldestShownId == 0)
        m_oldestShownId = qel_ext::GetQELAttribs_msg_id(conversation, "top-msg-id");
    GetPageRecord(conversation, kOldestMsgId, m_oldestShownId, kMorePageLimit, list);
    const int count = list.count();
    m_moreCount += count == kMorePageLimit ? kMorePageLimit - 1 : count - 1;
    noMore = count < kMorePageLimit || m_moreCount >= kMaxMoreCount;
    return count > 1;
}

void CHistoryMsgHandle::ShowMoreHistroyMsg(CTaviPanel* panel, qel_handle conversation) {
    TAVI_SCOPE("CHistoryMsgHandle::ShowMoreHistroyMsg");
    if (!panel || !conversation) return;
    qel_cxx_helper::HandleArray list;
    bool noMore = false;
    GetMoreHistoryQelMessage(conversation, list, noMore);
    if (noMore) panel->RemoveMoreHistroyMsgPane();

    CMsgHandle* handler = panel->GetMsgHandle();
    // Each record goes above the view, so walking older and older keeps
    // the view in time order.
    for (int i = 1; i < list.count(); ++i) {
        m_oldestShownId = qel_msg_get_id(list[i]);
        if (handler) handler->ShowMessage(false, panel->GetSessionId(), list[i], true, panel->GetHistoryView());
        ++m_pageCount;
    }
    AddPartnerCursorHistroyMsgPanel(panel, conversation);
    AddParternUnReadHistroyMsgPanel(panel, conversation, list.data(), list.count());
    RequestReceiptSummaryHistroyMsgPanel(panel, conversation, list.data(), list.count());
    AddImportantMsgStatusHistroyMsgPanel(panel, conversation, list.data(), list.count());
    panel->RefreshInputFocus();
}

}  // namespace tavi
