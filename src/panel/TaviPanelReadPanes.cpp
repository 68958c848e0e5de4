// The small panes between messages that say what the other side has read:
// the partner's read line, the unread tag of a one-to-one message and the
// receipt button of a group message; and the rule that tells the SDK what
// the user has seen.
#include <cstring>

#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/ButtonUI.h"
#include "sdk/ui/ContainerUI.h"
#include "sdk/ui/RichEditExUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"
#include "util/TextFormat.h"

namespace tavi {

namespace {

constexpr const char16_t* kCursorPaneName = u"partner_read_cursor_pane";
constexpr const char16_t* kReceiptButtonName = u"RecieptUnreadBtn";
constexpr int32_t kLineWidth = 68;
constexpr int32_t kPaneHeight = 20;
// Markers of messages this far below the partner's cursor are read by now.
constexpr int64_t kMarkerSweep = 25;
// Scrolled up by more than this, only what shows counts as read.
constexpr int32_t kReadAllSlack = 50;

// Every pane is a container in the view, its texts grey.
CContainerUI* NewPaneContainer(INotifyUI* notifier, const std::u16string& name) {
    auto* container = new CContainerUI();
    container->SetName(name);
    container->SetId(name);
    container->SetCoordinate(0, 0, 0, 0, 8);
    container->SetNotifier(notifier);
    return container;
}

void MakeGrey(CControlUI* control) { control->SetAttribute(u"txt.color", u"999999"); }

std::u16string ReceiptText(int unreadCount) {
    if (unreadCount == 0) return util::Localised(u"#IDS_RECEIPT_ALL_READ");
    return util::FillPlaceholders(util::Localised(u"#IDS_RECEIPT_%d_UNREAD"), {util::Utf8ToWide(std::to_string(unreadCount))});
}

std::u16string DecimalId(uint64_t id) { return util::Utf8ToWide(qel_ext::MsgId2Str(id)); }

// The view item under that id, when it is one of the panes.
bool HasPane(CRichEditExUI* view, int64_t id) {
    for (const SViewMsg& item : view->GetMsgs()) {
        if (item.id == id) return item.kind == EMsgKind::Pane;
    }
    return false;
}

}  // namespace

// The panes name messages by their SDK ids; the view may show one the user
// sent under its provisional id.
int64_t CTaviPanel::ShownMsgId(int64_t msgId) const {
    if (!m_pHistoryView || m_pHistoryView->HasMsg(msgId) || msgId < 0) return msgId;
    const std::optional<int64_t> provisional = FindProvisionalMsgId(uint64_t(msgId));
    return provisional && m_pHistoryView->HasMsg(*provisional) ? *provisional : msgId;
}

void CTaviPanel::InsertPaneAfter(int64_t afterId, int64_t paneId, CControlUI* pane) {
    CHARRANGE range;
    if (!m_pHistoryView->GetMsgRange(afterId, range)) {
        CControlUI::Destroy(pane);
        return;
    }
    const bool atEnd = m_pHistoryView->IsAtEnd();
    CREidtInsertHelper helper(m_pHistoryView);
    helper.BeginInsert(paneId, range.cpMax, EMsgKind::Pane);
    if (!helper.InsertControl(pane, 0, kPaneHeight, 22)) CControlUI::Destroy(pane);
    helper.InsertText(u"\r");
    helper.EndInsert();
    if (atEnd) m_pHistoryView->EndDown();
}

void CTaviPanel::CreatePartnerReadCursorPane(int64_t msgId, int64_t time) {
    if (!m_pHistoryView) return;
    if (m_pHistoryView->FindSubControl(kCursorPaneName) && m_pHistoryView->HasMsg(kPartnerCursorPaneId))
        m_pHistoryView->DeleteMsg(kPartnerCursorPaneId);
    const int64_t shownId = ShownMsgId(msgId);
    if (!m_pHistoryView->HasMsg(shownId)) return;

    // An important message carries its status right under it: the line goes below that.
    int64_t afterId = shownId;
    const std::u16string statusId = util::WFormat("importantmsg-status-%s", qel_ext::MsgId2Str(uint64_t(msgId)).c_str());
    auto status = m_importantStatusIds.find(statusId);
    if (m_pHistoryView->FindSubControl(statusId) && status != m_importantStatusIds.end() &&
        m_pHistoryView->HasMsg(status->second))
        afterId = status->second;

    std::u16string text = util::Localised(u"#IDS_PARTNER_CURSORREAD");
    if (time == 0) TAVI_LOG("time == 0 IDS_PARTNER_CURSORREAD");
    else text = common::GetFixDateDescript(time, 0) + text;

    CContainerUI* pane = NewPaneContainer(this, kCursorPaneName);
    auto* inner = new CContainerUI();
    inner->SetFixedSize(350, kPaneHeight);
    auto* left = new CControlUI();
    left->SetAttribute(u"bkimage", u"#CursorLineLeft");
    left->SetFixedSize(kLineWidth, 1);
    auto* label = new CLabelUI();
    label->SetName(u"readCursorLabel");
    label->SetText(text);
    label->SetAttribute(u"align", u"center");
    MakeGrey(label);
    const int32_t width = label->GetTextWidth();
    label->SetCoordinate(kLineWidth, 0, kLineWidth + width, kPaneHeight, 0);
    auto* right = new CControlUI();
    right->SetAttribute(u"bkimage", u"#CursorLineRight");
    right->SetCoordinate(width + 88, 0, width + 88 + kLineWidth, 1, 0);
    inner->Add(left);
    inner->Add(label);
    inner->Add(right);
    pane->Add(inner);
    InsertPaneAfter(afterId, kPartnerCursorPaneId, pane);
}

void CTaviPanel::CreatPartnerUnReadPane(int64_t msgId, uint64_t convMsgId) {
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    if (!conversation) {
        TAVI_LOG("hConv == null");
        return;
    }
    if (!m_pHistoryView) return;
    // The partner has read everything up to the cursor: those tags go.
    const int64_t cursor = int64_t(int32_t(qel_attribs_get_int64(conversation, "partner-read-cursor", 0)));
    for (int64_t id = cursor; id >= 0 && id >= cursor - kMarkerSweep; --id) {
        if (HasPane(m_pHistoryView, id)) m_pHistoryView->DeleteMsg(id);
    }
    if (cursor >= int64_t(convMsgId) || m_pHistoryView->HasMsg(int64_t(convMsgId))) return;
    const int64_t shownId = ShownMsgId(msgId);
    qel_handle message = qel_conversation_find_msg_from_conv_msg_id(conversation, convMsgId);
    if (!m_pHistoryView->HasMsg(shownId) && !(message && m_pHistoryView->HasMsg(int64_t(qel_msg_get_id(message)))))
        return;
    if (!message) {
        TAVI_LOG("hMsg == null");
        return;
    }
    const std::u16string containerId = DecimalId(qel_msg_get_id(message));
    if (containerId.empty()) {
        TAVI_LOG("strCtnId empty");
        return;
    }
    CContainerUI* pane = NewPaneContainer(this, containerId);
    auto* label = new CLabelUI();
    label->SetText(util::Localised(u"#IDS_UNREAD"));
    label->SetAttribute(u"align", u"center");
    label->SetCoordinate(10, 0, 50, kPaneHeight, 0);
    label->SetMouseEnabled(false);
    MakeGrey(label);
    pane->Add(label);
    InsertPaneAfter(m_pHistoryView->HasMsg(shownId) ? shownId : int64_t(qel_msg_get_id(message)),
                    int64_t(convMsgId), pane);
}

void CTaviPanel::CreatRecipetUnReadPane(int64_t msgId, uint64_t convMsgId, int unreadCount) {
    if (!m_pHistoryView) return;
    // A count that cannot be one is the server's mistake: nothing is shown.
    if (unreadCount < 0) return;
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    if (!conversation) {
        TAVI_LOG("hConv == null");
        return;
    }
    qel_handle message = qel_conversation_find_msg_from_conv_msg_id(conversation, convMsgId);
    if (!message) {
        TAVI_LOG("hMsg == null");
        return;
    }
    const std::u16string containerId = DecimalId(qel_msg_get_id(message));
    if (HasPane(m_pHistoryView, int64_t(convMsgId))) {
        UpdateReceiptButton(containerId, unreadCount);
        return;
    }
    const int64_t shownId = ShownMsgId(msgId);
    if (m_pHistoryView->HasMsg(int64_t(convMsgId)) || !m_pHistoryView->HasMsg(shownId)) return;
    CContainerUI* pane = NewPaneContainer(this, containerId);
    auto* button = new CButtonUI();
    button->SetName(kReceiptButtonName);
    button->SetId(kReceiptButtonName);
    button->SetAttribute(u"cursor", u"HAND");
    button->SetAttribute(u"align", u"center");
    MakeGrey(button);
    button->SetText(ReceiptText(unreadCount));
    button->SetCoordinate(10, 0, 10 + button->GetTextWidth() + 20, kPaneHeight, 0);
    pane->Add(button);
    InsertPaneAfter(shownId, int64_t(convMsgId), pane);
}

void CTaviPanel::UpdateReceiptButton(const std::u16string& containerId, int unreadCount) {
    CControlUI* container = m_pHistoryView->FindSubControl(containerId);
    auto* holder = dynamic_cast<CContainerUI*>(container);
    CControlUI* button = holder ? holder->FindControl(kReceiptButtonName) : nullptr;
    if (!button) return;
    button->SetText(ReceiptText(unreadCount));
    button->SetCoordinate(10, 0, 10 + button->GetTextWidth() + 20, kPaneHeight, 0);
    button->NeedUpdate();
    button->Invalidate();
    container->NeedUpdate();
    container->Invalidate();
    for (int i = 0; i < m_pHistoryView->GetObjectCount(); ++i) {
        auto* object = dynamic_cast<COleControlObj*>(m_pHistoryView->GetObjectAt(i));
        if (object && object->GetControl() == container) object->FireViewChange();
    }
}

bool CTaviPanel::OnBtnRecieptUnReadBtn(TNotifyUI& msg) {
    CControlUI* parent = msg.pSender ? msg.pSender->GetParent() : nullptr;
    if (!parent) {
        TAVI_LOG("pUnReadBtn NULL || NULL == pUnReadBtn->GetParent()");
        return true;
    }
    const std::u16string msgId = parent->GetId();
    if (msgId.empty() || !m_pMsgHandle) {
        TAVI_LOG("pUnReadBtn strMsgId empty || NULL == GetMsgHandle()");
        return true;
    }
    qel_handle conversation = m_pMsgHandle->GetConversation();
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    const char* groupId = group ? qel_buddy_group_get_id(group) : "";
    if (IAppMain* app = GetAppMain())
        app->OpenReceiptDetails(qel_ext::Str2MsgId(util::WideToUtf8(msgId)),
                                util::Utf8ToWide(qel_conversation_get_id(conversation)).c_str(),
                                util::Utf8ToWide(groupId ? groupId : "").c_str());
    return true;
}

// A partner who writes has read everything before.
void CTaviPanel::AddPartnerLocalCursor(qel_handle conversation, const SQelBoxMsg& record) {
    if (m_windowKey == kGroupChatKey || !conversation || !record.received) return;
    static const char* const kNotReadMarkers[] = {"audio/xml", "video/xml", "stream/xml",
                                                  "file/xml",  "directory/xml", "folder/xml"};
    for (const char* type : kNotReadMarkers) {
        if (record.contentType == type) return;
    }
    const char* channel = qel_conversation_get_channel_id(conversation);
    if (!channel || std::strcmp(channel, "im") != 0) return;
    if (int64_t(record.convMsgId) <= qel_attribs_get_int64(conversation, "partner-read-cursor", 0)) return;
    qel_attribs_set_int64(conversation, "partner-read-cursor_time", record.time, 3);
    qel_attribs_set_int64(conversation, "partner-read-cursor", int64_t(record.convMsgId), 1);
}

void CTaviPanel::SetCurrentPosMsgRead() {
    qel_handle conversation = m_pMsgHandle ? m_pMsgHandle->GetConversation() : nullptr;
    if (!conversation || !m_pHistoryView) return;
    const bool scrolledUp = m_pHistoryView->IsVScrollBarVisible() &&
                            m_pHistoryView->GetScrollPos() <= m_pHistoryView->GetScrollRange() - kReadAllSlack;
    if (!scrolledUp) {
        qel_ext::QelConvSetReadedAndAcked_ex(conversation, "CTaviPanel::SetCurrentPosMsgRead");
        return;
    }
    int64_t first = 0, last = 0;
    if (!m_pHistoryView->GetVisibleMsg(first, last)) return;
    // What shows may be a message the user sent, under its provisional id.
    qel_handle message = m_pMsgHandle->GetQelHMessage(last);
    const uint64_t msgId = qel_msg_get_id(message);
    if (!message || msgId <= m_lastReadMsgId) return;
    m_lastReadMsgId = msgId;
    qel_ext::QelMsgSetReadedAndAcked_ex(message, "CTaviPanel::SetCurrentPosMsgRead");
}

}  // namespace tavi
