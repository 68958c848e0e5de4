// Loading and showing the conversation's history: the first page when the
// window opens, what is newer on every later announcement, each message
// once, and where the view stands after the first load.
#include "module/DllObject.h"
#include "msghandle/HistoryMsgHandle.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/MsgPages.h"
#include "panel/TaviPanel.h"
#include "sdk/common.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_inst.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {
// A load shows at most this many of the messages it found, the newest.
constexpr int kMaxShownPerLoad = 26;
constexpr uint32_t kChatWndTypeKeepsUnreadTop = 0x40;
constexpr int kAttribMode = 3;
constexpr const char* kLoadReason = "CMsgHandle::ShowGetMsgActually";

int64_t MsgTime(qel_handle message) {
    const _QelMsgData* data = qel_msg_get_data(message);
    return data ? data->time : 0;
}

// The oldest unread message is older than the page that a remembered start
// id gives: the page must start at the unread part instead.
bool UnreadStartsEarlier(const qel_cxx_helper::HandleArray& page, const qel_cxx_helper::HandleArray& unread) {
    if (unread.count() == 0) return false;
    if (page.count() == 0) return true;
    return MsgTime(unread[unread.count() - 1]) < MsgTime(page[page.count() - 1]);
}
}  // namespace

CRichEditExUI* CMsgHandle::GetHistoryView() const { return m_pOwner ? m_pOwner->GetHistoryView() : nullptr; }

void CMsgHandle::ShowGetMsg(uint64_t anchorId, bool useTop, bool withUnreadTop) {
    TAVI_SCOPE("CMsgHandle::ShowGetMsg");
    qel_handle conversation = m_conversation.get();
    qel_handle account = qel_ext::QelGetCurAccount();
    // With the multi-threaded database the recent messages may still be on
    // their way into memory; the load waits for "recent-msg-loaded".
    if (conversation && account && qel_account_is_enable_db_multithread(account) &&
        !qel_conversation_is_recent_msg_ready(conversation)) {
        m_pendingLoad = SPendingLoad{true, anchorId, useTop, withUnreadTop};
        qel_conversation_request_load_recent_msg(conversation, 2);
        return;
    }
    m_pendingLoad.waiting = false;
    ShowGetMsgActually(anchorId, useTop, withUnreadTop);
}

bool CMsgHandle::RunPendingShowGetMsg() {
    if (!m_pendingLoad.waiting) return false;
    m_pendingLoad.waiting = false;
    ShowGetMsgActually(m_pendingLoad.anchorId, m_pendingLoad.useTop, m_pendingLoad.withUnreadTop);
    m_pendingLoad.useTop = false;
    m_pendingLoad.withUnreadTop = false;
    return true;
}

void CMsgHandle::ShowGetMsgActually(uint64_t anchorId, bool useTop, bool withUnreadTop) {
    TAVI_SCOPE("CMsgHandle::ShowGetMsgActually");
    if (common::HaveDraft() && !m_draftShown) ShowDraft();
    else m_draftShown = true;

    qel_handle conversation = m_conversation.get();
    if (!conversation) return;
    qel_cxx_helper::HandleArray list;
    bool fromHistory = false;
    uint64_t firstUnreadId = 0;
    const bool firstLoad = m_firstLoad;
    const bool found = GetQelMessage(conversation, firstLoad, list, fromHistory, firstUnreadId, anchorId, useTop,
                                     withUnreadTop);
    m_firstLoad = false;
    if (!found) return;

    m_newestLoadedId = NewestMsgId(list);
    qel_conversation_set_acked_ex(conversation, 0, kLoadReason);
    ShowLoadedList(list, firstLoad, fromHistory, GetHistoryView());
    if (m_pOwner) {
        m_pOwner->RefreshInputFocus();
        m_pOwner->GetHistoryMsgHandle().AddShowMoreHistroyMsgPanel(firstLoad, fromHistory, list.count(), m_pOwner,
                                                                   conversation);
    }
    AddPartnerReadCursor(conversation);
    AddParternUnReadBtn(conversation, list.data(), list.count());
    RequestReceiptSummary(conversation, list.data(), list.count());
    AddImportantMsgStatus(conversation, list.data(), list.count());
    if (firstLoad) PositionFirstLoad(conversation, list, fromHistory, firstUnreadId);
}

void CMsgHandle::ShowLoadedList(const qel_cxx_helper::HandleArray& list, bool firstLoad, bool fromHistory,
                                CRichEditExUI* view) {
    if (fromHistory) {
        // History records go above the view: newest first ends oldest on top.
        for (int i = 0; i < list.count(); ++i) ShowMessage(firstLoad, m_handleId, list[i], true, view);
        return;
    }
    for (int i = list.count() - 1; i >= 0; --i) {
        const uint64_t msgId = qel_msg_get_id(list[i]);
        if (i >= kMaxShownPerLoad) {
            TAVI_LOG_FAIL("ShowGetMsg()  QEL_MSG_FLAG_READ msgid=%llu", static_cast<unsigned long long>(msgId));
            // The shown part starts below: it, not this one, is where the unread part begins.
            if (firstLoad && i == kMaxShownPerLoad) ClearTopMsgCount();
            continue;
        }
        AddMsgTopCount(msgId);
        ShowMessage(firstLoad, m_handleId, list[i], false, view);
    }
}

void CMsgHandle::PositionFirstLoad(qel_handle conversation, const qel_cxx_helper::HandleArray& list,
                                   bool fromHistory, uint64_t positionId) {
    CRichEditExUI* view = GetHistoryView();
    qel_handle pref = qel_account_preference(m_account.get());
    // Only a person chat that is set to stop at the unread part keeps it
    // unread; everything else goes to the end and counts as read.
    if (fromHistory || m_windowKey != kPersonChatKey || !pref ||
        qel_preference_get_int(pref, "SystemInfo.FriendChat_Normal.P2PMsgShowType", 0) != 0) {
        if (view) view->EndDown();
        qel_conversation_set_readed_ex(conversation, 0, kLoadReason);
        return;
    }
    if (positionId == 0 && m_firstUnreadId == 0) {
        if (view) view->EndDown();
        return;
    }
    if (m_firstUnreadId == 0 || m_firstUnreadId < positionId) m_firstUnreadId = positionId;
    qel_handle positionMsg = qel_conversation_find_msg(conversation, positionId);
    const std::string time = positionMsg ? util::WideToUtf8(IMMsgTransTime(MsgTime(positionMsg), true)) : "unknown";
    TAVI_LOG("CMsgHandle::ShowGetMsgActually id: %s MsgIdUnReadFirstOpen: %llu time: %s",
             util::WideToUtf8(m_handleId).c_str(), static_cast<unsigned long long>(positionId), time.c_str());
    if (!view) return;
    if (OldestMsgId(list) == positionId) view->SetScrollPos(0);
    else view->EnableMsgVisible(int64_t(positionId));
}

bool CMsgHandle::GetQelMessage(qel_handle conversation, bool firstLoad, qel_cxx_helper::HandleArray& list,
                               bool& fromHistory, uint64_t& firstUnreadId, uint64_t anchorId, bool useTop,
                               bool withUnreadTop) {
    TAVI_SCOPE("CMsgHandle::GetQelMessage");
    fromHistory = false;
    if (firstLoad) {
        ChooseFirstLoadMessages(conversation, list, firstUnreadId, useTop, withUnreadTop);
    } else {
        uint64_t beginId = m_newestLoadedId + 1;
        // The host may announce an older message that was never shown.
        if (anchorId != 0 && anchorId < m_newestLoadedId && m_displayedMsgIds.count(anchorId) == 0) beginId = anchorId;
        GetPageRecord(conversation, beginId, kNewestMsgId, kNoPageLimit, list);
    }
    if (list.count() == 0 && m_pOwner)
        return m_pOwner->GetHistoryMsgHandle().GetHistoryMessage(conversation, firstLoad, list, fromHistory);
    return list.count() != 0;
}

void CMsgHandle::ChooseFirstLoadMessages(qel_handle conversation, qel_cxx_helper::HandleArray& list,
                                         uint64_t& firstUnreadId, bool useTop, bool withUnreadTop) const {
    const uint64_t unreadTop = qel_ext::GetQELAttribs_msg_id(conversation, "unread-top-msg-id");
    uint64_t startId = unreadTop;
    if (!useTop) {
        qel_ext::SetQELAttribs_msg_id(conversation, "top-msg-id", 0, kAttribMode);
    } else {
        startId = qel_ext::GetQELAttribs_msg_id(conversation, "top-msg-id");
        if (withUnreadTop && (startId == 0 || (unreadTop != 0 && unreadTop < startId))) startId = unreadTop;
    }

    qel_cxx_helper::HandleArray unread;
    // An error of the unread query is not the user's concern: what it
    // returned is used.
    GetUnreadRecord(conversation, unread);
    if (unread.count() != 0) firstUnreadId = OldestMsgId(unread);
    if (startId != 0) {
        GetPageRecord(conversation, startId, kNewestMsgId, kNoPageLimit, list);
        if (UnreadStartsEarlier(list, unread)) {
            GetPageRecord(conversation, firstUnreadId, kNewestMsgId, kNoPageLimit, list);
            qel_ext::SetQELAttribs_msg_id(conversation, "top-msg-id", 0, kAttribMode);
        }
        return;
    }
    if (unread.count() == 0 || firstUnreadId == 0) return;
    GetPageRecord(conversation, firstUnreadId, kNewestMsgId, kNoPageLimit, list);
    if (list.count() != 0) return;
    GetUnreadRecord(conversation, list);
    firstUnreadId = OldestMsgId(list);
}

bool CMsgHandle::AddToDisplayedSet(qel_handle message) {
    return m_displayedMsgIds.insert(qel_msg_get_id(message)).second;
}

bool CMsgHandle::MakeBoxMsg(SQelBoxMsg& record, qel_handle message, bool history,
                            const std::u16string& convId) const {
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!data || !CreateQelBoxMsg(record, data, message, qel_msg_get_conversation(message), history, convId.c_str()))
        return false;
    if (qel::IQelInst* inst = GetCurQelInst()) record.instText = inst->GetInstText();
    record.history = history;
    return true;
}

void CMsgHandle::ShowMessage(bool firstLoad, const std::u16string& convId, qel_handle message, bool history,
                             CRichEditExUI* view) {
    const bool received = (qel_msg_get_flag(message) & QEL_MSG_FLAG_SENT) == 0;
    SQelBoxMsg record;
    if (!MakeBoxMsg(record, message, history, convId)) return;
    // The user's own messages were shown by the send pipeline under their
    // own ids; only history and the first load bring them in again.
    if (!history && !received && !firstLoad) return;

    IAppMain* app = GetAppMain();
    IMsgRenderer* renderer = app ? app->GetMsgRenderer(&record, convId.c_str()) : nullptr;
    if (!renderer || !AddToDisplayedSet(message)) return;

    if (common::GetModuleConfig(u"IMCore", u"Translation", 0) == 1 &&
        common::GetQELAttribs_int(m_account.get(), "AutoTranslation", 0) == 1) {
        CWindowUI* window = m_pOwner ? m_pOwner->GetWindow() : nullptr;
        common::TranslationMsg(message, record, true, window ? window->GetHWND() : nullptr, this);
    }
    if (IMsgSender* sender = app->GetMsgSender(record.convId.c_str(), record.instText.c_str()))
        renderer->RenderMsg(record, view, sender, convId.c_str(), 0, -1);

    qel_handle conversation = qel_msg_get_conversation(message);
    const uint64_t msgId = qel_msg_get_id(message);
    if (qel_ext::GetQELAttribs_msg_id(conversation, "msg-box-item-unread-number") < msgId)
        qel_ext::SetQELAttribs_msg_id(conversation, "msg-box-item-unread-number", msgId + 1, kAttribMode);

    if (!m_pOwner) return;
    m_pOwner->AddAtMessage(record);
    if (received && !history) m_pOwner->AddPartnerLocalCursor(conversation, record);
}

void CMsgHandle::AddMsgTopCount(uint64_t msgId) {
    qel_handle conversation = m_conversation.get();
    if (!conversation) return;
    const uint64_t top = qel_ext::GetQELAttribs_msg_id(conversation, "top-msg-id");
    IAppMain* app = GetAppMain();
    IChatWndType* type = app ? app->GetChatWndType(m_windowKey) : nullptr;
    if (!type || (type->GetFlags() & kChatWndTypeKeepsUnreadTop) == 0) {
        ClearTopMsgCount();
        return;
    }
    // The oldest shown unread message wins: later ones leave it alone.
    if (top == 0 && msgId != 0) qel_ext::SetQELAttribs_msg_id(conversation, "top-msg-id", msgId, kAttribMode);
}

void CMsgHandle::ClearTopMsgCount() {
    qel_ext::SetQELAttribs_msg_id(m_conversation.get(), "top-msg-id", 0, kAttribMode);
}

qel_handle CMsgHandle::GetQelHMessage(int64_t shownId) const {
    // A shown id the send path paired stands for its SDK id; others are SDK ids.
    const std::optional<uint64_t> paired = FindSdkMsgId(shownId);
    if (paired && *paired == 0) return nullptr;
    const uint64_t sdkId = paired ? *paired : uint64_t(shownId);
    qel_handle message = qel_conversation_find_msg(m_conversation.get(), sdkId);
    if (!message) TAVI_LOG("NULL == hMsg");
    return message;
}

void CMsgHandle::ReflashAfterMakeUp(CRichEditExUI* view, bool withUnreadTop) {
    TAVI_SCOPE("CMsgHandle::ReflashAfterMakeUp");
    if (!view) return;
    TAVI_LOG_FAIL("CMsgHandle::ReflashAfterMakeUp  id=%s", util::WideToUtf8(m_handleId).c_str());
    if (m_pOwner) {
        m_pOwner->ClearMsgExceptHeaderLine();
        m_pOwner->GetHistoryMsgHandle().Reset();
    }
    m_firstLoad = true;
    m_displayedMsgIds.clear();
    ShowGetMsg(0, true, withUnreadTop);
    CWindowUI* window = m_pOwner ? m_pOwner->GetWindow() : nullptr;
    if (IAppMain* app = GetAppMain())
        app->OnConversationReloaded(window ? window->GetHWND() : nullptr, m_handleId.c_str(), m_conversation.get());
    view->Invalidate();
}

}  // namespace tavi
