// Pictures go to the server before their message: the message waits as a
// pending stored message while its pictures upload, then its body gets
// the uploaded keys as picture sources and the real send request is made.

#include <map>
#include <set>

#include "msghandle/MsgContentPacker.h"
#include "msghandle/MsgContentReader.h"
#include "msghandle/MsgExtraInfo.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "msghandle/MsgSplitSendMgr.h"
#include "panel/TaviPanel.h"
#include "sdk/qel_account.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/OleObject.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int kErrorUploadFailed = -9968;

// One upload request; for an "img/xml" message it owns the send context,
// for a "rich/xml" message the pending record does.
struct SUploadContext {
    std::u16string m_msgKey;
    std::string m_cacheName;
    std::string m_localPath;
    std::unique_ptr<SSendContext> m_send;
};

struct SPendingRichMsg {
    std::string m_body;
    std::string m_contentAt;
    std::set<std::string> m_uploading;
    std::unique_ptr<SSendContext> m_send;
};

std::map<std::u16string, SPendingRichMsg>& PendingRichMsgs() {
    static std::map<std::u16string, SPendingRichMsg> pending;
    return pending;
}

// Custom smileys being uploaded, by cache name: their records are stored
// once the server has them.
std::map<std::string, std::u16string>& UploadingSmileys() {
    static std::map<std::string, std::u16string> smileys;
    return smileys;
}

std::u16string MsgKeyOf(const SSendContext& context) {
    return context.m_handleId + u":" + util::WFormat("%lld", static_cast<long long>(context.m_provisionalId));
}

void SaveSmileyRecordOf(const std::string& cacheName, const std::string& key, const std::string& digest) {
    auto it = UploadingSmileys().find(cacheName);
    if (it == UploadingSmileys().end()) return;
    if (!digest.empty()) CMsgHandle::SaveSmileyUploadRecord(it->second, key + "\n" + digest);
    UploadingSmileys().erase(it);
}

void RemovePendingMsg(qel_handle conversation, int64_t provisionalId) {
    const std::optional<uint64_t> pending = FindPendingMsgId(provisionalId);
    if (!pending) return;
    if (conversation && *pending != 0) qel_conversation_remove_record_and_msg(conversation, *pending);
    ForgetPendingMsgId(provisionalId);
}

// The real send once every picture is on the server.
void RequestSendAfterUpload(std::unique_ptr<SSendContext> context, const std::string& body) {
    const int64_t provisionalId = context->m_provisionalId;
    qel_handle conversation = context->m_conversation.get();
    RemovePendingMsg(conversation, provisionalId);
    int result = QEL_ERR_CONV_GONE;
    context->m_data.m_content = body;
    context->m_record.content = body;
    SSendContext* userData = context.release();
    if (conversation) {
        TAVI_LOG("request_send_msg conv_id: %s SerialNum: %lld", qel_conversation_get_id(conversation),
                 static_cast<long long>(provisionalId));
        result = qel_conversation_request_send_chat_message(
            conversation, 0, userData->m_data.m_contentType.c_str(), userData->m_contentAt.c_str(), body.c_str(),
            userData->m_data.m_summary.c_str(), &CMsgHandle::OnSendMessageCallback, userData);
    }
    // Refused, or nowhere to go: told as a failed send, never dropped unseen.
    if (result != 0) CMsgHandle::OnSendMessageCallback(result, userData, 0, 0);
    CMsgSplitSendMgr::Instance()->OnUploadSettled(provisionalId, result);
}

// The message stored as pending while its pictures uploaded gives way to
// a failed record made now: it is marked failed, keeps what a resend
// needs, and stands behind the pieces that went before it, so the history
// shows the send in order when the chat opens again. A message that was
// never stored as pending (its window was closed by then) gets the same
// record, so its text is kept. A resend that fails keeps its old message.
// Either way the messages sent after this one go on.
void ReportUploadFailed(std::unique_ptr<SSendContext> context) {
    const int64_t provisionalId = context->m_provisionalId;
    const uint64_t msgId = context->m_bResend ? context->m_resendOldMsgId : 0;
    if (!context->m_bResend) RemovePendingMsg(context->m_conversation.get(), provisionalId);
    CMsgHandle::OnSendMessageCallback(kErrorUploadFailed, context.release(), msgId, 0);
    CMsgSplitSendMgr::Instance()->OnUploadSettled(provisionalId);
}

void OnImgXmlUploadImageCallBack(int errorCode, void* userData, const char* cacheName, const char* key) {
    std::unique_ptr<SUploadContext> upload(static_cast<SUploadContext*>(userData));
    if (!upload || !upload->m_send) return;
    const std::string uploadedKey = key ? key : "";
    std::string body = upload->m_send->m_data.m_content;
    std::string digest;
    if (errorCode != 0 || uploadedKey.empty() || !CMsgContentReader::SetRootImageSrc(body, uploadedKey, &digest)) {
        TAVI_LOG("QelConvRequestUploadAttachment fail! error code(%d), Content=%s", errorCode, body.c_str());
        return ReportUploadFailed(std::move(upload->m_send));
    }
    SaveSmileyRecordOf(cacheName ? cacheName : "", uploadedKey, digest);
    TAVI_LOG("---------%s", body.c_str());
    RequestSendAfterUpload(std::move(upload->m_send), body);
}

void OnRichXmlUploadImageCallBack(int errorCode, void* userData, const char* cacheName, const char* key) {
    std::unique_ptr<SUploadContext> upload(static_cast<SUploadContext*>(userData));
    if (!upload) return;
    auto it = PendingRichMsgs().find(upload->m_msgKey);
    // An earlier picture of the message failed and took the record along.
    if (it == PendingRichMsgs().end()) return;
    SPendingRichMsg& pending = it->second;
    const std::string name = cacheName ? cacheName : upload->m_cacheName;
    const std::string uploadedKey = key ? key : "";
    std::map<std::string, std::string> digests;
    if (errorCode != 0 || uploadedKey.empty() ||
        !CMsgContentReader::RewriteImageSrcs(pending.m_body, {{name, uploadedKey}}, &digests)) {
        TAVI_LOG("QelConvRequestUploadMultiImageCallBack fail! error code(%d), Content=%s", errorCode,
                 pending.m_body.c_str());
        std::unique_ptr<SSendContext> send = std::move(pending.m_send);
        PendingRichMsgs().erase(it);
        return ReportUploadFailed(std::move(send));
    }
    pending.m_uploading.erase(name);
    SaveSmileyRecordOf(name, uploadedKey, digests[name]);
    if (!pending.m_uploading.empty()) return;
    std::unique_ptr<SSendContext> send = std::move(pending.m_send);
    const std::string body = pending.m_body;
    PendingRichMsgs().erase(it);
    RequestSendAfterUpload(std::move(send), body);
}

// Refused at once: `upload` is handed back to the caller.
int RequestUpload(qel_handle conversation, const SUploadItem& item, std::unique_ptr<SUploadContext>& upload,
                  qel_upload_callback callback) {
    TAVI_LOG("key:%s file: %s", item.m_strFileKey.c_str(), item.m_strFileName.c_str());
    upload->m_cacheName = item.m_strFileKey;
    upload->m_localPath = item.m_strFileName;
    SUploadContext* userData = upload.release();
    const int result = qel_ext::QelConversationRequestUploadAttachment(
        conversation, "image", item.m_strFileKey.c_str(), item.m_strFileName.c_str(), callback, userData);
    if (result != 0) upload.reset(userData);
    return result;
}

}  // namespace

void CMsgHandle::PreSaveAttachmentMsg(const SSendContext& context) {
    TAVI_LOG("has img, pre save msg\t[");
    CMsgHandle* handler = FindMsgHandle(context.m_handleId);
    if (!handler) {
        TAVI_LOG("GetMsgHandle error!");
        return;
    }
    CWindowUI* window = handler->GetOwner() ? handler->GetOwner()->GetWindow() : nullptr;
    if (!window || !window->IsWindowVisible()) return;
    qel_handle conversation = context.m_conversation.get();
    SOutMsgData data = context.m_data;
    data.m_hasExtra = true;
    data.m_extra = WriteAttachmentRecord(context.m_uploads, context.m_contentAt);
    const _QelMsgData raw = data.Data();
    qel_handle stored = conversation ? qel_conversation_add_new_outgoing_msg(conversation, &raw) : nullptr;
    if (stored) RecordPendingMsgId(context.m_provisionalId, qel_msg_get_id(stored));
}

// An upload refused at once fails its message the way a failed upload
// does: the bubble is marked and nothing is written into the history.
void CMsgHandle::UploadImageForImgXmlMsg(std::unique_ptr<SSendContext> context) {
    qel_handle conversation = context->m_conversation.get();
    const SUploadItem item = context->m_uploads.front();
    auto upload = std::make_unique<SUploadContext>();
    upload->m_send = std::move(context);
    const int result = RequestUpload(conversation, item, upload, &OnImgXmlUploadImageCallBack);
    if (result == 0) return;
    TAVI_LOG("img_upload refused:%s %d", item.m_strFileKey.c_str(), result);
    ReportUploadFailed(std::move(upload->m_send));
}

void CMsgHandle::UploadImageForRichXmlMsg(std::unique_ptr<SSendContext> context) {
    qel_handle conversation = context->m_conversation.get();
    const std::u16string msgKey = MsgKeyOf(*context);
    const std::vector<SUploadItem> uploads = context->m_uploads;
    SPendingRichMsg& pending = PendingRichMsgs()[msgKey];
    pending.m_body = context->m_data.m_content;
    pending.m_contentAt = context->m_contentAt;
    for (const SUploadItem& item : uploads) pending.m_uploading.insert(item.m_strFileKey);
    pending.m_send = std::move(context);
    for (const SUploadItem& item : uploads) {
        TAVI_LOG("img_upload:%s", item.m_strFileKey.c_str());
        auto upload = std::make_unique<SUploadContext>();
        upload->m_msgKey = msgKey;
        const int result = RequestUpload(conversation, item, upload, &OnRichXmlUploadImageCallBack);
        if (result == 0) continue;
        // A picture that cannot go makes the whole message fail now rather
        // than wait for ever; uploads already on their way find no record.
        TAVI_LOG("img_upload refused:%s %d", item.m_strFileKey.c_str(), result);
        std::unique_ptr<SSendContext> send = std::move(pending.m_send);
        PendingRichMsgs().erase(msgKey);
        return ReportUploadFailed(std::move(send));
    }
}

void CMsgHandle::RememberSmileyUpload(const std::string& cacheName, const std::u16string& smileyKey) {
    UploadingSmileys()[cacheName] = smileyKey;
}

void CMsgHandle::SaveSmileyUploadRecord(const std::u16string& smileyKey, const std::string& record) {
    qel_handle smileys = qel_account_custom_smileys(qel_ext::QelGetCurAccount());
    qel_handle smiley = smileys ? qel_ext::QelSmileysFindSmiley(smileys, util::WideToUtf8(smileyKey).c_str()) : nullptr;
    if (!smiley) return;
    const std::string time = std::to_string(qel_get_adjusted_time());
    qel_smiley_modify(smiley, record.c_str(), time.c_str());
}

bool CMsgHandle::PackImg2Send(std::vector<SSendItem>& items, const std::u16string& filePath) const {
    std::unique_ptr<COleImageObj> image(COleImageObj::LoadImage(filePath, true));
    if (!image) return false;
    std::vector<SUploadItem> uploads;
    MsgNodeList nodes;
    util::TraceLine("send_msg", "PackMsg2Send Begin PackMsg ...");
    nodes.push_back(MakeImageNode(filePath, image->GetImage(), std::string(), uploads));
    util::TraceLine("send_msg", "PackMsg2Send End PackMsg ...");
    return PackMsg2Str(items, nodes, uploads, false, std::u16string());
}

bool CMsgHandle::SendImgFile(CRichEditExUI* history, CRichEditUI* input, const char16_t* filePath) {
    TAVI_SCOPE("CMsgHandle::SendImgFile");
    const std::u16string path = util::SafeWide(filePath);
    TAVI_LOG("file:%s conv_id:%s", util::WideToUtf8(path).c_str(),
             m_conversation.get() ? qel_conversation_get_id(m_conversation.get()) : "");
    std::vector<SSendItem> items;
    if (!PackImg2Send(items, path)) return false;
    for (const SSendItem& item : items) {
        SOutMsgData data;
        CreateOutBoxMsgNew(data, item.m_strContent, nullptr, item.m_strContentType, item.m_strSummary, m_hostFlag,
                           m_handleId);
        if (SendAndShowMsg(data, item.m_strContentAt, item.m_uploads, history, input, true) != 0) return false;
    }
    return true;
}

}  // namespace tavi
