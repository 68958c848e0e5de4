// The paging state of one panel's older history: how much the first page
// showed, whether it came from read history, and where the next page of
// older messages ends. The panel owns one; a full reload resets it.
#pragma once

#include <cstdint>

#include "sdk/qel.h"
#include "sdk/qel_cxx_helper.h"

namespace tavi {

class CTaviPanel;

class CHistoryMsgHandle {
public:
    void Reset() { *this = CHistoryMsgHandle{}; }

    // The history page size of the current account.
    static int GetMsgHistoryShowCount();
    // The newest read messages for a load that found nothing newer; false
    // when nothing was fetched.
    bool GetHistoryMessage(qel_handle conversation, bool firstLoad, qel_cxx_helper::HandleArray& list,
                           bool& fromHistory);
    // After a load: the history marker and, when older messages exist, the
    // pane that offers them.
    void AddShowMoreHistroyMsgPanel(bool firstLoad, bool fromHistory, int count, CTaviPanel* panel,
                                    qel_handle conversation);
    // The pane's button: shows the next page of older messages above.
    void ShowMoreHistroyMsg(CTaviPanel* panel, qel_handle conversation);
    // The next page of older messages; element 0 is the oldest one shown.
    bool GetMoreHistoryQelMessage(qel_handle conversation, qel_cxx_helper::HandleArray& list, bool& noMore);

    // Read markers and statuses for a page of older messages (the read
    // cursor, receipt and important-message features).
    void AddPartnerCursorHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation);
    void AddParternUnReadHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation, const qel_handle* messages,
                                         int count);
    void RequestReceiptSummaryHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation,
                                              const qel_handle* messages, int count);
    void AddImportantMsgStatusHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation,
                                              const qel_handle* messages, int count);

    uint32_t GetPageCount() const { return m_pageCount; }
    bool IsHistoryLoaded() const { return m_historyLoaded; }
    bool IsHistoryMarkShown() const { return m_historyMarkShown; }
    int32_t GetMoreCount() const { return m_moreCount; }
    uint64_t GetOldestShownId() const { return m_oldestShownId; }

private:
    uint32_t m_pageCount = 0;
    bool m_historyLoaded = false;
    bool m_historyMarkShown = false;
    int32_t m_moreCount = 0;
    uint64_t m_oldestShownId = 0;
};

}  // namespace tavi
