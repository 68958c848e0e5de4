// Recalling shown messages (the user's own, or a member's when the user's
// group role allows it), and the notices that replace messages recalled
// or burnt after reading elsewhere.
#include <memory>

#include "module/DllObject.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/MsgOpsSupport.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/host.h"
#include "sdk/msg_services.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int kRoleOwner = 3;
constexpr int kRoleAdmin = 2;
constexpr const char* kRecallPermission = "GROUP_MESSAGE_RECALL";
// Messages of this type field may always be recalled by whoever sees them.
constexpr int kAlwaysRecallableType = 1;

// Travels with the recall request as its user data.
struct SRecallRequest {
    int64_t shownId = 0;
    uint64_t sdkId = 0;
    std::string convId;
    std::u16string handleId;
    HWND hwnd = nullptr;
    pfx::GUID windowKey;
};

// How far a member may recall others' messages: the sender's level must be
// below the user's.
int SenderRecallLevel(qel_handle group, const std::string& senderId) {
    const int role = qel_attribs_get_int(qel_buddy_group_get_member_attribs(group, senderId.c_str()), "authority-role", -1);
    if (role == kRoleAdmin) return 1;
    const std::vector<std::string> perms = common::GetGroupPermList(group, senderId.c_str());
    return std::find(perms.begin(), perms.end(), kRecallPermission) != perms.end() ? 1 : 0;
}

int MyRecallLevel(qel_handle group) {
    switch (qel_attribs_get_int(group, "my-authority-role", -1)) {
        case kRoleOwner: return 10;
        case kRoleAdmin: return 1;
        default: return common::GetGroupPerm(group, kRecallPermission) ? 1 : 0;
    }
}

bool MayRecallMembersMsg(qel_handle conversation, const _QelMsgData& data) {
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    if (!group) return false;
    const std::string sender = data.sender_id ? data.sender_id : "";
    // Nobody recalls the owner's messages.
    const int role = qel_attribs_get_int(qel_buddy_group_get_member_attribs(group, sender.c_str()), "authority-role", -1);
    if (role == kRoleOwner) return false;
    return MyRecallLevel(group) > SenderRecallLevel(group, sender);
}

bool IsEditableContent(const std::string& type) {
    return type == "text/plain" || type == "rich/xml" || type == "img/xml";
}

}  // namespace

bool CMsgHandle::MsgCanRecall(int64_t shownId) const {
    qel_handle message = GetQelHMessage(shownId);
    if (!message) return false;
    const uint32_t flags = qel_msg_get_flag(message);
    if (flags & QEL_MSG_FLAG_RECALLED) return false;
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!(flags & QEL_MSG_FLAG_SENT)) {
        if (!data) return false;
        if (data->type != kAlwaysRecallableType && !MayRecallMembersMsg(m_conversation.get(), *data)) return false;
    }
    if (qel_ext::QelMsgIsBurnRead(message)) return false;
    return !(data && data->content_type && std::string(data->content_type) == "bless/xml");
}

void CMsgHandle::RecallMsg(int64_t shownId) {
    TAVI_SCOPE("CMsgHandle::RecallMsg");
    qel_handle conversation = m_conversation.get();
    qel_handle message = GetQelHMessage(shownId);
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!conversation || !data) return;
    const std::string sender = data->sender_id ? data->sender_id : "";
    // The user's own messages go without asking; someone else's only after a yes.
    if (sender != qel_account_get_buddy_id(m_account.get()) &&
        ShowOpBox(GetWindowHandle(), util::Localised(u"IDS_RECALL_A_MSG_INFO"), u"#IDS_RECALL", u"#CANCEL_OK") !=
            kOpBoxSecondButton)
        return;
    auto request = std::make_unique<SRecallRequest>();
    request->shownId = shownId;
    request->sdkId = qel_msg_get_id(message);
    request->convId = qel_conversation_get_id(conversation);
    request->handleId = m_handleId;
    request->hwnd = GetWindowHandle();
    request->windowKey = m_windowKey;
    SRecallRequest* userData = request.release();
    const int result = qel_conversation_request_recall_message(conversation, message, &QelRecallMsgCallback, userData);
    if (result != 0) {
        TAVI_LOG("qel_conversation_request_recall_message refused: %d", result);
        delete userData;
    }
}

void CMsgHandle::QelRecallMsgCallback(int errorCode, void* userData) {
    if (!userData) return;
    std::unique_ptr<SRecallRequest> given(static_cast<SRecallRequest*>(userData));
    const SRecallRequest request = *given;
    given.reset();
    if (errorCode != 0) {
        ShowOpBox(IsWindow(request.hwnd) ? request.hwnd : nullptr, OpFailureText(u"#IDS_RECALL_FAILED"),
                  u"#MES_BOX_TIP_TITLE", u"#MES_BOX_BTN");
        return;
    }
    qel_handle conversation =
        qel_conversations_find_conversation(qel_ext::QelGetCurConversations(), request.convId.c_str());
    qel_handle message = conversation ? qel_conversation_find_msg(conversation, request.sdkId) : nullptr;
    const _QelMsgData* data = qel_msg_get_data(message);
    IAppMain* app = GetAppMain();
    if (!data || !app || !app->GetChatWndType(request.windowKey)) return;
    SQelBoxMsg record;
    if (!CreateQelBoxMsg(record, data, message, conversation, false, request.handleId.c_str())) return;
    if (IMsgRenderer* renderer = app->GetMsgRenderer(&record, request.handleId.c_str()))
        renderer->NoteRecalledMsg(record, request.handleId.c_str());
    // The window may have closed while the server answered.
    CTaviPanel* panel = nullptr;
    if (!GetTAVIPanel(&panel, request.hwnd) || !panel->GetMsgHandle()) return;
    CMsgHandle* handler = panel->GetMsgHandle();
    handler->OnRecallMessage(&record, uint64_t(request.shownId));
    if (qel_msg_is_grp_top(message)) handler->CancelStickGrpMsg(request.shownId);
    CRichEditUI* input = panel->GetInputEdit();
    if (!(qel_msg_get_flag(message) & QEL_MSG_FLAG_SENT) || !IsEditableContent(record.contentType) || !input) return;
    // The recalled text comes back into the input for editing.
    input->SetSelNone();
    if (input->GetTextLength() > 0) input->InsertText(u"\n");
    RenderRecord(record, input, request.windowKey, request.handleId, -2, -1);
}

void CMsgHandle::ReplaceMsgByNotice(int64_t shownId, const std::u16string& text, int64_t time) const {
    CRichEditExUI* view = GetHistoryView();
    CHARRANGE range;
    if (!view || !view->GetMsgRange(shownId, range)) return;
    view->DeleteMsg(shownId);
    ShowNotifyMsgInRE(time, false, text.c_str(), view, false, kOpNoticeIcon, true, uint64_t(shownId), range.cpMin,
                      false);
}

void CMsgHandle::OnRecallMessage(SQelBoxMsg* record, uint64_t shownId) {
    TAVI_SCOPE("CMsgHandle::OnRecallMessage");
    CRichEditExUI* view = GetHistoryView();
    if (!record || !view) return;
    int64_t id = int64_t(shownId);
    if (shownId == 0) {
        const std::optional<int64_t> provisional = FindProvisionalMsgId(uint64_t(record->msgId));
        if (provisional && *provisional == 0) return;
        id = provisional.value_or(record->msgId);
    }
    if (m_pOwner && m_pOwner->GetAtReminderMsgId() == uint64_t(id)) m_pOwner->ShowViewTipContainer(u"at_info", false);
    const std::u16string recaller = common::GetRecallSenderUserId(*record);
    const bool own = !record->received;
    const std::u16string name = own && (recaller.empty() || common::IsOwner(recaller.c_str()))
                                    ? util::Localised(u"#IDS_YOU")
                                    : common::GetNickName(*record, true);
    const bool bySender = recaller.empty() || recaller == common::GetSenderUserId(*record);
    ReplaceMsgByNotice(id, name + util::Localised(bySender ? u"#IDS_RECALL_A_MSG" : u"#IDS_RECALL_A_MSG_ADMIN"), record->time);
    if (CControlUI* status = view->FindSubControl(util::WFormat("importantmsg-status-%lld", static_cast<long long>(id))))
        view->RemoveControl(status);
}

void CMsgHandle::OnBurnReadMessage(SQelBoxMsg* record) {
    if (!record) return;
    ReplaceMsgByNotice(record->msgId, util::Localised(u"#IDS_MSG_HAS_BURNED"), record->time);
}

}  // namespace tavi
