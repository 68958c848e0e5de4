// Operations on one shown message besides recall and resend: collecting it
// into the user's favourites, sticking it to the group's top and removing
// it from there, quoting it into the input; and the important-message
// statuses placed after a load.
#include <algorithm>
#include <memory>

#include "module/DllObject.h"
#include "msghandle/EmojiMsgHandle.h"
#include "msghandle/HistoryMsgHandle.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgOpsSupport.h"
#include "msghandle/PictureInput.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/display.h"
#include "sdk/host.h"
#include "sdk/msg_services.h"
#include "sdk/qel_bus.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/LogRefusal.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int kRoleOwner = 3;
constexpr const char* kCollectableTypes[] = {"article/xml", "text/plain", "img/xml", "file/xml",
                                             "link/xml",    "audio/xml",  "video/xml"};

std::string ContentTypeOf(const _QelMsgData& data) { return data.content_type ? data.content_type : ""; }

// Travels with a stick or unstick request.
struct SStickContext {
    qel_cxx_helper::WeakHandle conversation;
    uint64_t msgId = 0;
    HWND hwnd = nullptr;
};

IImportantMsgService* ImportantMsgService() {
    return QelBusService(qel_ext::QelGetCurAccount());
}

// The group-top bar shows what the server now holds.
void OnStickAnswered(int errorCode, void* userData, const char* name) {
    if (!userData) {
        TAVI_LOG("%s NULL == ConfirmImportantMsgContext", name);
        return;
    }
    std::unique_ptr<SStickContext> given(static_cast<SStickContext*>(userData));
    const SStickContext context = *given;
    given.reset();
    if (errorCode != 0) {
        TAVI_LOG("%s error=%d", name, errorCode);
        return;
    }
    qel_handle conversation = context.conversation.get();
    CTaviPanel* panel = nullptr;
    if (!conversation || !qel_conversation_find_msg(conversation, context.msgId)) return;
    if (GetTAVIPanel(&panel, context.hwnd)) panel->UpdateGrpTopUnreadMsg();
}

void grp_manual_stick_msg_callback(int errorCode, void* userData) {
    OnStickAnswered(errorCode, userData, "grp_manual_stick_msg_callback");
}
void cancel_grp_manual_stick_msg_callback(int errorCode, void* userData) {
    OnStickAnswered(errorCode, userData, "cancel_grp_manual_stick_msg_callback");
}
void grp_auto_stick_msg_callback(int errorCode, void* userData) {
    OnStickAnswered(errorCode, userData, "grp_auto_stick_msg_callback");
}

// Hands a stick request to the service; the context goes when it refuses.
void RequestStickOf(qel_handle conversation, qel_handle message, HWND hwnd, bool stick,
                    qel_important_msg_callback callback) {
    IImportantMsgService* service = ImportantMsgService();
    if (!service || !message) return;
    auto* context = new SStickContext{conversation, qel_msg_get_id(message), hwnd};
    const int result = stick ? service->StickMsg(message, 0, callback, context)
                             : service->CancelStickMsg(message, 1, callback, context);
    if (result != 0) delete context;
}

}  // namespace

qel_handle CMsgHandle::FindMsgWithData(int64_t shownId) const {
    qel_handle message = GetQelHMessage(shownId);
    if (!message) return nullptr;
    if (!qel_msg_get_data(message)) {
        TAVI_LOG("NULL == pMsgData");
        return nullptr;
    }
    return message;
}

// ---- Collect ----

bool CMsgHandle::MsgCanCollect(int64_t shownId) const {
    qel_handle message = FindMsgWithData(shownId);
    if (!message) return false;
    const std::string type = ContentTypeOf(*qel_msg_get_data(message));
    if (std::find(std::begin(kCollectableTypes), std::end(kCollectableTypes), type) == std::end(kCollectableTypes))
        return false;
    if (qel_ext::QelMsgIsBurnRead(message)) {
        TAVI_LOG("QelMsgIsBurnRead true");
        return false;
    }
    if (qel_ext::QelMsgIsRecall(message)) {
        TAVI_LOG("QelMsgIsRecall true");
        return false;
    }
    return true;
}

void CMsgHandle::CollectMsg(int64_t shownId) {
    TAVI_SCOPE("CMsgHandle::CollectMsg");
    qel_handle conversation = m_conversation.get();
    qel_handle message = GetQelHMessage(shownId);
    if (!conversation || !message) return;
    const _QelMsgData* data = qel_msg_get_data(message);
    const std::string sequence = data ? qel_ext::MsgId2Str(qel_msg_get_conv_msg_id(message)) : std::string();
    m_collectKey = util::Format("com.vt.social.im_%s_%s", qel_ext::QelConvGetSvrConvId(conversation).c_str(),
                                sequence.c_str());
    const int result = qel_account_add_new_favorite(qel_ext::QelGetCurAccount(), conversation, message,
                                                    qel_get_adjusted_time(), 0, "", "", "", m_collectKey.c_str(),
                                                    &QelCollectMsgCallback, GetWindowHandle());
    TAVI_LOG_REFUSAL("qel_account_add_new_favorite refused: %d", result);
}

void CMsgHandle::QelCollectMsgCallback(int errorCode, void* userData) {
    HWND hwnd = static_cast<HWND>(userData);
    if (!IsWindow(hwnd)) return;
    if (errorCode != 0) {
        ShowOpBox(hwnd, OpFailureText(u"#IDS_COLLECT_FAILED"), u"#IDS_COLLECT", u"#MES_BOX_BTN");
        return;
    }
    CTaviPanel* panel = nullptr;
    if (GetTAVIPanel(&panel, hwnd)) panel->ShowCollectTip(0, 0, 0, 0);
}

// ---- Group top ----

bool CMsgHandle::MsgPassesGrpTopRules(qel_handle message, bool stuck) const {
    qel_handle group = qel_conversation_get_buddy_group(m_conversation.get());
    if (!group) return false;
    const char* me = qel_account_get_buddy_id(m_account.get());
    const bool owner = qel_attribs_get_int(qel_buddy_group_get_member_attribs(group, me), "authority-role", -1) ==
                       kRoleOwner;
    if (!owner && !common::GetGroupPerm(group, "MESSAGE_TOP")) return false;
    if (qel_ext::QelMsgIsBurnRead(message)) {
        TAVI_LOG(" QelMsgIsBurnRead true");
        return false;
    }
    if (qel_ext::QelMsgIsRecall(message)) {
        TAVI_LOG(" QelMsgIsRecall true");
        return false;
    }
    if (qel_msg_is_grp_top(message) != stuck) return false;
    return !util::EqualsNoCase(util::Utf8ToWide(common::GetMsgDataBiz(message)), u"bonus");
}

bool CMsgHandle::MsgCanGrpStick(int64_t shownId) const {
    if (!common::HasGrpTopMsg()) {
        TAVI_LOG("HasGrpTopMsg false");
        return false;
    }
    qel_handle message = FindMsgWithData(shownId);
    if (!message) return false;
    if (qel_ext::QelMsgIsSendFail(message)) {
        TAVI_LOG("QelMsgIsSendFail");
        return false;
    }
    return MsgPassesGrpTopRules(message, false);
}

bool CMsgHandle::MsgCanDeleteGrpStick(int64_t shownId) const {
    if (!common::HasGrpTopMsg()) {
        TAVI_LOG("HasGrpTopMsg false");
        return false;
    }
    qel_handle message = FindMsgWithData(shownId);
    return message && MsgPassesGrpTopRules(message, true);
}

void CMsgHandle::RequestStick(int64_t shownId, bool stick) {
    RequestStickOf(m_conversation.get(), GetQelHMessage(shownId), GetWindowHandle(), stick,
                   stick ? &grp_manual_stick_msg_callback : &cancel_grp_manual_stick_msg_callback);
}

void CMsgHandle::StickGrpMsg(int64_t shownId) { RequestStick(shownId, true); }
void CMsgHandle::CancelStickGrpMsg(int64_t shownId) { RequestStick(shownId, false); }

void CMsgHandle::AutoStickAfterSend(qel_handle conversation, uint64_t msgId, HWND hwnd) {
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    CTaviPanel* panel = nullptr;
    if (!group || !GetTAVIPanel(&panel, hwnd)) return;
    qel_handle message = qel_conversation_find_msg(conversation, msgId);
    if (!message || !common::IsGrpAutoTopType(group, message)) return;
    RequestStickOf(conversation, message, hwnd, true, &grp_auto_stick_msg_callback);
}

// ---- Quote ----

bool CMsgHandle::MsgCanQuote(int64_t shownId) const {
    if (!IsGroupChat()) return false;
    qel_handle message = FindMsgWithData(shownId);
    SQelBoxMsg record;
    if (!message || !MakeBoxMsg(record, message, false, m_handleId) || !record.received) return false;
    return record.contentType == "text/plain" || record.contentType == "rich/xml" || record.contentType == "img/xml";
}

void CMsgHandle::QuoteMsg(int64_t shownId) {
    TAVI_SCOPE("CMsgHandle::QuoteMsg");
    CRichEditUI* input = m_pOwner ? m_pOwner->GetInputEdit() : nullptr;
    qel_handle message = GetQelHMessage(shownId);
    SQelBoxMsg record;
    if (!input || !message || !MakeBoxMsg(record, message, false, m_handleId)) return;
    // What the user had typed goes after the quote, node by node.
    CStdPtrArray objects;
    input->GetImageObj(objects);
    std::vector<int32_t> positions;
    const std::u16string text = CEmojiMsgHandle::RestoreEmojiText(input->GetText(), objects, positions);
    MsgNodeList nodes;
    std::vector<SUploadItem> uploads;
    ParseText2MsgList(nodes, uploads, text, 0, positions, input);
    input->Clear();
    m_pOwner->AddAtName(common::GetUserNameOnShow(common::GetSenderUserId(record).c_str()), false);
    input->SetSelNone();
    RenderRecord(record, input, m_windowKey, m_handleId, -2, -1);
    input->InsertText(u"\r");
    for (const auto& node : nodes) {
        const auto* picture = node->m_nType == kMsgNodeImage ? dynamic_cast<const SImageMsgMode*>(node.get()) : nullptr;
        if (!picture || !RichEditLoadImage(picture->m_strFileKey.c_str(), input)) input->InsertText(node->m_strValue);
    }
}

// ---- Important-message statuses ----

void CMsgHandle::AddImportantMsgStatus(qel_handle conversation, const qel_handle* messages, int count) {
    const char* channel = qel_conversation_get_channel_id(conversation);
    if (!m_pOwner || !messages || !channel || std::string(channel).find("im") == std::string::npos) return;
    bool unconfirmed = false;
    for (int i = 0; i < count; ++i) {
        if (!qel_msg_is_important(messages[i])) continue;
        m_pOwner->CreateImportantMsgStatus(messages[i]);
        unconfirmed = unconfirmed || !qel_msg_is_important_confirm(messages[i]);
    }
    IAppMain* app = GetAppMain();
    if (unconfirmed && app) app->OnConversationReloaded(GetWindowHandle(), m_handleId.c_str(), conversation);
}

void CHistoryMsgHandle::AddImportantMsgStatusHistroyMsgPanel(CTaviPanel* panel, qel_handle conversation,
                                                             const qel_handle* messages, int count) {
    if (CMsgHandle* handler = panel ? panel->GetMsgHandle() : nullptr)
        handler->AddImportantMsgStatus(conversation, messages, count);
}

// The host asks again after important messages changed: every shown one
// gets its status anew.
void CMsgHandle::RefreshImportantMsgStatus(int32_t, int32_t, int32_t) {
    CRichEditExUI* view = GetHistoryView();
    qel_handle conversation = m_conversation.get();
    if (!view || !conversation) return;
    std::vector<qel_handle> shown;
    for (const SViewMsg& item : view->GetMsgs()) {
        if (item.kind != EMsgKind::Msg) continue;
        if (qel_handle message = GetQelHMessage(item.id)) shown.push_back(message);
    }
    AddImportantMsgStatus(conversation, shown.data(), int(shown.size()));
}

}  // namespace tavi
