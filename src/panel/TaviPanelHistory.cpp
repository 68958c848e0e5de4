// The panel's side of history loading: the marker under the read history,
// the line that offers older messages, and the deferred first load.
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "util/Log.h"
#include "util/Localised.h"

namespace tavi {

namespace {
// The history marker stands in the view like a message, under an id that
// no message, notice or other pane uses.
constexpr int64_t kHistoryMarkPaneId = INT64_MIN + 1;
constexpr uint32_t kWmSetFocus = 7;
// Older e-mails come this many at a time until the host names a page size.
constexpr int32_t kDefaultEmailPageSize = 10;
}  // namespace

// The history handler shows the marker once per load of the view.
void CTaviPanel::ShowHistroyMsgImage() {
    if (!m_pHistoryView) return;
    CREidtInsertHelper helper(m_pHistoryView);
    helper.BeginInsert(kHistoryMarkPaneId, -1, EMsgKind::Pane);
    helper.InsertText(util::Localised(u"#HISTORY_MSG_MARK") + u"\r");
    helper.EndInsert();
}

void CTaviPanel::CreateMoreHistroyMsgPane() {
    if (!m_pHistoryView) return;
    // Older messages go in just below the header line, so the offer stays
    // on top of them however many pages come.
    m_pHistoryView->SetHeaderLine(util::Localised(u"#SHOW_MORE_MSG"));
    SetItemVisible(this, u"showmoremsg", true);
}

void CTaviPanel::RemoveMoreHistroyMsgPane() {
    if (m_pHistoryView) m_pHistoryView->RemoveHeaderLine();
    SetItemVisible(this, u"showmoremsg", false);
}

void CTaviPanel::OnBtnShowMoreMsg() {
    TAVI_SCOPE("CTaviPanel::OnBtnShowMoreMsg");
    if (!m_pMsgHandle) return;
    // An e-mail window lists e-mails, not the conversation's messages.
    if (m_windowKey == kEmailKey) return m_pMsgHandle->RequestEmailMessages(m_emailPageStart, GetEmailPageSize(), 1);
    m_historyMsgHandle.ShowMoreHistroyMsg(this, m_pMsgHandle->GetConversation());
}

int32_t CTaviPanel::GetEmailPageSize() const {
    return m_emailPagingMode > 0 ? m_emailPagingMode : kDefaultEmailPageSize;
}

void CTaviPanel::ClearMsgExceptHeaderLine() {
    if (m_pHistoryView) m_pHistoryView->ClearExceptHeaderLine();
}

void CTaviPanel::RefreshInputFocus() {
    if (m_pInputEdit && m_pInputEdit->IsFocused()) m_pInputEdit->TxSendMessage(kWmSetFocus, 0, 0);
}

void CTaviPanel::OnRecentMsgLoaded() {
    if (m_pMsgHandle) m_pMsgHandle->RunPendingShowGetMsg();
}

}  // namespace tavi
