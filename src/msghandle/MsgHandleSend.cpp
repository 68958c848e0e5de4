// The send pipeline: checks, packing into pieces, showing every piece at
// once under a provisional id, and handing the pieces to the SDK in order.
#include <algorithm>
#include <functional>

#include "module/DllObject.h"
#include "msghandle/EmojiMsgHandle.h"
#include "msghandle/MsgContentPacker.h"
#include "msghandle/MsgHandle.h"
#include "msghandle/GroupKind.h"
#include "msghandle/MsgIds.h"
#include "msghandle/MsgSplitSendMgr.h"
#include "msghandle/NoticeText.h"
#include "panel/TaviPanel.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui.h"
#include "sdk/ui/RichEditExUI.h"
#include "util/Log.h"
#include "util/Localised.h"
#include "util/Strings.h"

namespace tavi {

namespace {

constexpr int32_t kPieceBudget = 1024;
constexpr int32_t kStyleOverhead = 20;
constexpr int32_t kFirstSmileyCost = 23;
constexpr int32_t kSmileyCost = 10;
constexpr int32_t kPictureCost = 152;
constexpr size_t kMaxSendItems = 20;

// Groups of conversation type 6 take no mentions.
bool IsNoMentionGroup(qel_handle conversation) {
    return GroupConvType(qel_conversation_get_buddy_group(conversation)) == kConvTypeNoMentions;
}

std::unique_ptr<SNormalMsgNode> CopyNode(const SNormalMsgNode& node) {
    if (auto* text = dynamic_cast<const STextMsgNode*>(&node)) return std::make_unique<STextMsgNode>(*text);
    if (auto* image = dynamic_cast<const SImageMsgMode*>(&node)) return std::make_unique<SImageMsgMode>(*image);
    return std::make_unique<SNormalMsgNode>(node);
}

// The upload items of the pictures among `nodes`, each item once.
std::vector<SUploadItem> UploadsOf(const MsgNodeRefs& nodes, const std::vector<SUploadItem>& uploads) {
    std::vector<SUploadItem> result;
    for (const SNormalMsgNode* node : nodes) {
        if (node->m_nType != kMsgNodeImage) continue;
        const std::string name = util::WideToUtf8(node->m_strValue);
        for (const SUploadItem& item : uploads) {
            if (item.m_strFileKey != name) continue;
            if (std::find(result.begin(), result.end(), item) == result.end()) result.push_back(item);
            break;
        }
    }
    return result;
}

std::u16string TextOf(const MsgNodeRefs& nodes) {
    std::u16string text;
    for (const SNormalMsgNode* node : nodes) {
        if (node->m_nType == kMsgNodeText) text += node->m_strValue;
    }
    return text;
}

// Cuts the nodes into pieces: the budget of a piece is spent by text
// (one per unit), smileys and pictures.
class CPieceCutter {
public:
    CPieceCutter(int32_t budget, std::function<bool(MsgNodeList&)> pack)
        : m_full(std::max(budget, 1)), m_left(m_full), m_pack(std::move(pack)) {}

    bool Add(const SNormalMsgNode& node, bool firstOfInput) {
        switch (node.m_nType) {
            case kMsgNodeText: return AddText(node);
            case kMsgNodeSmiley: return AddCounted(node, firstOfInput ? kFirstSmileyCost : kSmileyCost);
            case kMsgNodeImage: return AddCounted(node, kPictureCost);
            default: return true;
        }
    }
    bool Finish() { return m_piece.empty() || Close(); }

private:
    bool Close() {
        const bool packed = m_pack(m_piece);
        m_piece.clear();
        m_left = m_full;
        return packed;
    }
    bool AddCounted(const SNormalMsgNode& node, int32_t cost) {
        m_piece.push_back(CopyNode(node));
        m_left -= cost;
        return m_left >= 1 || Close();
    }
    bool AddText(const SNormalMsgNode& node) {
        const auto* text = dynamic_cast<const STextMsgNode*>(&node);
        const std::u16string style = text ? text->m_strStyle : std::u16string();
        std::u16string_view rest = node.m_strValue;
        while (int64_t(rest.size()) > m_left) {
            // A surrogate pair never parts at a cut: it opens the next piece.
            size_t cut = util::CutBeforeUnits(rest, size_t(std::max(m_left, 0)));
            // Only a budget of one unit cannot take a pair: it gets it anyway.
            if (cut == 0 && m_piece.empty()) cut = util::CutBeforeUnits(rest, 2);
            if (cut > 0) m_piece.push_back(std::make_unique<STextMsgNode>(std::u16string(rest.substr(0, cut)), style));
            rest.remove_prefix(cut);
            if (!Close()) return false;
        }
        if (!rest.empty()) {
            m_piece.push_back(std::make_unique<STextMsgNode>(std::u16string(rest), style));
            m_left -= int32_t(rest.size());
        }
        return true;
    }

    int32_t m_full;
    int32_t m_left;
    MsgNodeList m_piece;
    std::function<bool(MsgNodeList&)> m_pack;
};

}  // namespace

void CMsgHandle::ShowSendNotice(const char16_t* key) const {
    CRichEditExUI* view = m_pOwner ? m_pOwner->GetHistoryView() : nullptr;
    if (!view) return;
    const std::u16string text = MakeNoticeText(util::Localised(key), 1, 8);
    ShowNotifyMsgInRE(qel_get_adjusted_time(), false, text.c_str(), view, false, nullptr, false, 0, -1, false);
}

void CMsgHandle::OnSendMsg(bool plainMode, CRichEditExUI* history, CRichEditUI* input) {
    TAVI_SCOPE("CMsgHandle::OnSendMsg");
    if (qel_account_get_login_state(m_account.get()) != 1) return ShowSendNotice(u"#OFFLINE_CANNOT_SEND_MSG");
    if (!input || input->GetText().empty()) return ShowSendNotice(u"#MSG_SEND_NONE");
    // E-mail and ad-hoc windows do not send through the conversation.
    if (IsEmailWindow()) return OnSendEmail(plainMode, history, input);
    if (m_windowKey == kAdhocChatKey) return OnSendADHOC(plainMode, history, input);
    qel_handle conversation = m_conversation.get();
    if (qel_ext::QelConvGetSvrConvId(conversation).empty()) {
        IAppMain* app = GetAppMain();
        if (IChatWndObj* chatWnd = app ? app->GetChatWndObj(m_windowKey) : nullptr)
            chatWnd->RequestSvrConvId(conversation);
        return ShowSendNotice(u"#IDS_NO_CONV_ID_CANNOT_SEND_MSG");
    }
    TAVI_LOG("PackMsg2Send ...");
    std::vector<SSendItem> items;
    if (!PackMsg2Send(items, plainMode, history, input) || items.empty()) return;
    const bool mentions = !items.front().m_strContentAt.empty();
    if (mentions && IsLargeGroup(conversation)) {
        const std::string svrConvId = qel_ext::QelConvGetSvrConvId(conversation);
        qel_conversation_request_conv_info(
            conversation, svrConvId.c_str(),
            [](int code, void*) { TAVI_LOG("large group conv info answered: %d", code); }, GetWindowHandle());
        return ShowSendNotice(u"#IDS_LARGE_GROUP_SEND_AT_ALL_MSG_TIP");
    }

    bool started = true;
    if (items.size() == 1) {
        SOutMsgData data;
        const SSendItem& item = items.front();
        CreateOutBoxMsgNew(data, item.m_strContent, nullptr, item.m_strContentType, item.m_strSummary, m_hostFlag,
                           m_handleId);
        started = SendAndShowMsg(data, item.m_strContentAt, item.m_uploads, history, input, true) == 0;
    } else {
        SSplitRecord record;
        record.m_conversation = conversation;
        // The whole message shows at once; the SDK gets it piece by piece.
        for (SSendItem& item : items) {
            SOutMsgData data;
            CreateOutBoxMsgNew(data, item.m_strContent, nullptr, item.m_strContentType, item.m_strSummary,
                               m_hostFlag, m_handleId);
            SSplitPiece piece = MakeSplitPiece(std::move(item), history, input);
            piece.m_sendId = record.m_pieces.empty() ? piece.m_provisionalId : record.m_pieces.front().m_sendId;
            ShowProvisional(data, piece.m_provisionalId, history);
            record.m_pieces.push_back(std::move(piece));
        }
        QueueAndSend(std::move(record));
    }
    if (!started) return;
    if (mentions && IsNoMentionGroup(conversation) && history) {
        const std::u16string text = util::Localised(u"IDS_LARGE_GROUP_SEND_AT_ALL_MSG_TIP");
        ShowNotifyMsgInRE(qel_get_adjusted_time(), false, text.c_str(), history, false, u"#info_icon_msg_2", false, 0,
                          -1, false);
    }
    input->Clear();
    input->SetFocus();
}

bool CMsgHandle::PackMsg2Send(std::vector<SSendItem>& items, bool plainMode, CRichEditExUI* history,
                              CRichEditUI* input, bool withHead) {
    items.clear();
    if (!input) return false;
    const std::u16string typed = input->GetText();
    CStdPtrArray objects;
    input->GetImageObj(objects);
    std::vector<int32_t> positions;
    std::u16string text = CEmojiMsgHandle::RestoreEmojiText(typed, objects, positions);
    std::u16string head;
    if (withHead && GetMsgHead(head)) {
        // The head leads the first text run; the pictures move with the
        // text behind it.
        text = head + text;
        for (int32_t& position : positions) position += int32_t(head.size());
    }
    MsgNodeList nodes;
    std::vector<SUploadItem> uploads;
    ParseText2MsgList(nodes, uploads, text, 0, positions, input);
    std::u16string style;
    GetInputStyle(style);

    const char16_t* error = nullptr;
    if (!m_conversation.get()) error = u"#SEND_FAIL_RELOGIN";
    else if (!SplitMsgNodes(items, nodes, uploads, plainMode, style)) error = u"#MSG_SEND_TOLARGE";
    if (!error) return true;
    items.clear();
    const std::u16string errorText = util::Localised(error);
    if (history) {
        const std::u16string notice = MakeNoticeText(errorText, 1, 8);
        ShowNotifyMsgInRE(qel_get_adjusted_time(), false, notice.c_str(), history, false, nullptr, false, 0, -1,
                          false);
    }
    input->SetFocus();
    TAVI_LOG("pack msg error:%s text: %s", util::WideToUtf8(errorText).c_str(), util::WideToUtf8(text).c_str());
    return false;
}

bool CMsgHandle::SplitMsgNodes(std::vector<SSendItem>& items, MsgNodeList& nodes,
                               const std::vector<SUploadItem>& uploads, bool plainMode,
                               const std::u16string& style) const {
    const int32_t budget = style.empty() ? kPieceBudget : kPieceBudget - int32_t(style.size()) - kStyleOverhead;
    CPieceCutter cutter(budget, [&](MsgNodeList& piece) {
        return PackMsg2Str(items, piece, uploads, plainMode, style) && items.size() <= kMaxSendItems;
    });
    for (size_t i = 0; i < nodes.size(); ++i) {
        if (!cutter.Add(*nodes[i], i == 0)) return false;
    }
    return cutter.Finish();
}

void CMsgHandle::SplitImageMsg(std::vector<MsgNodeRefs>& elements,
                               std::vector<std::vector<SUploadItem>>& elementUploads, const MsgNodeList& nodes,
                               const std::vector<SUploadItem>& uploads) {
    elements.clear();
    elementUploads.clear();
    bool lastIsText = false;
    for (const auto& node : nodes) {
        const bool picture = node->m_nType == kMsgNodeImage;
        if (picture || !lastIsText) {
            elements.emplace_back();
            elementUploads.emplace_back();
        }
        elements.back().push_back(node.get());
        if (picture) elementUploads.back() = UploadsOf({node.get()}, uploads);
        lastIsText = !picture;
    }
}

bool CMsgHandle::PackMsg2Str(std::vector<SSendItem>& items, const MsgNodeList& nodes,
                             const std::vector<SUploadItem>& uploads, bool plainMode,
                             const std::u16string& style) const {
    std::vector<MsgNodeRefs> elements;
    std::vector<std::vector<SUploadItem>> elementUploads;
    std::string contentAt;
    if (plainMode) {
        SplitImageMsg(elements, elementUploads, nodes, uploads);
    } else {
        elements.push_back(RefsOf(nodes));
        elementUploads.push_back(UploadsOf(elements.back(), uploads));
        if (IsGroupChat()) GetContentAt(contentAt, TextOf(elements.back()));
    }
    for (size_t i = 0; i < elements.size(); ++i) {
        util::TraceLine("send_msg", "PackMsg2Send Begin PackMsg ...");
        SSendItem item;
        const bool packed =
            elements[i].size() == 1
                ? CMsgContentPacker::PackOneElemMsg(item.m_strContentType, item.m_strContent, item.m_strSummary,
                                                    elements[i], IsEmailWindow())
                : CMsgContentPacker::PackTextPartMsg(item.m_strContentType, item.m_strContent, item.m_strSummary,
                                                     elements[i], style, IsTextPlainSupportSmiley(), plainMode,
                                                     IsEmailWindow());
        util::TraceLine("send_msg", "PackMsg2Send End PackMsg ...");
        if (!packed) return false;
        item.m_strContentAt = contentAt;
        item.m_uploads = std::move(elementUploads[i]);
        items.push_back(std::move(item));
    }
    return true;
}

void CMsgHandle::CreateOutBoxMsgNew(SOutMsgData& data, const std::string& body, const char16_t* extra,
                                    const std::string& contentType, const std::string& summary, bool hostFlag,
                                    const std::u16string& handleId) {
    data = SOutMsgData{};
    data.m_time = qel_get_adjusted_time();
    data.m_hasExtra = extra != nullptr;
    if (extra) data.m_extra = util::WideToUtf8(extra);
    data.m_hasClientTag = !hostFlag;
    if (!hostFlag) data.m_clientTag = util::WideToUtf8(handleId);
    data.m_contentType = contentType;
    data.m_content = body;
    data.m_summary = summary;
}

bool CMsgHandle::RenderRecord(SQelBoxMsg& record, CRichEditUI* edit, const pfx::GUID& windowKey,
                              const std::u16string& handleId, int start, int end) {
    IAppMain* app = GetAppMain();
    if (!app || !edit || !app->GetChatWndType(windowKey)) return false;
    IMsgRenderer* renderer = app->GetMsgRenderer(&record, handleId.c_str());
    if (!renderer) return false;
    IMsgSender* sender = app->GetMsgSender(handleId.c_str(), nullptr);
    return renderer->RenderMsg(record, edit, sender, handleId.c_str(), start, end);
}

std::unique_ptr<SSendContext> CMsgHandle::MakeSendContext(const SOutMsgData& data, CRichEditExUI* history,
                                                          CRichEditUI* input) const {
    auto context = std::make_unique<SSendContext>();
    context->m_data = data;
    context->m_windowKey = m_windowKey;
    context->m_handleId = m_handleId;
    context->m_hwnd = GetWindowHandle();
    context->m_conversation = m_conversation.get();
    context->m_pHistory = history;
    context->m_pInput = input;
    return context;
}

SSplitPiece CMsgHandle::MakeSplitPiece(SSendItem item, CRichEditExUI* history, CRichEditUI* input) const {
    SSplitPiece piece;
    piece.m_item = std::move(item);
    piece.m_provisionalId = TakeProvisionalMsgId();
    piece.m_sendId = piece.m_provisionalId;
    piece.m_windowKey = m_windowKey;
    piece.m_handleId = m_handleId;
    piece.m_hostFlag = m_hostFlag;
    piece.m_hwnd = GetWindowHandle();
    piece.m_pHistory = history;
    piece.m_pInput = input;
    return piece;
}

void CMsgHandle::ShowProvisional(const SOutMsgData& data, int64_t provisionalId, CRichEditExUI* history) const {
    SQelBoxMsg record;
    const _QelMsgData raw = data.Data();
    CreateQelBoxMsg(record, &raw, nullptr, m_conversation.get(), false, m_handleId.c_str());
    record.msgId = provisionalId;
    RenderRecord(record, history, m_windowKey, m_handleId);
}

void CMsgHandle::QueueAndSend(SSplitRecord record) const {
    qel_handle conversation = record.m_conversation.get();
    const std::u16string convId = util::Utf8ToWide(qel_conversation_get_id(conversation));
    TAVI_LOG("Split PushMsg2SendMap: %s", util::WideToUtf8(convId).c_str());
    CMsgSplitSendMgr::Instance()->PushMsg2SendMap(convId, std::move(record));
    CMsgSplitSendMgr::Instance()->SendNextSplitMsg(conversation);
}

int CMsgHandle::SendAndShowMsg(SOutMsgData& data, const std::string& contentAt,
                               const std::vector<SUploadItem>& uploads, CRichEditExUI* history, CRichEditUI* input,
                               bool show) {
    qel_handle conversation = m_conversation.get();
    if (conversation && CMsgSplitSendMgr::Instance()->IsBusy(conversation)) {
        // Earlier messages of the conversation are still on their way: this
        // one queues behind them and shows at once, as their pieces did.
        SSplitPiece piece =
            MakeSplitPiece({data.m_contentType, data.m_content, data.m_summary, contentAt, uploads}, history, input);
        if (show) ShowProvisional(data, piece.m_provisionalId, history);
        SSplitRecord record;
        record.m_conversation = conversation;
        record.m_pieces.push_back(std::move(piece));
        QueueAndSend(std::move(record));
        return 0;
    }
    auto context = MakeSendContext(data, history, input);
    context->m_provisionalId = TakeProvisionalMsgId();
    context->m_contentAt = contentAt;
    context->m_uploads = uploads;
    const int64_t provisionalId = context->m_provisionalId;
    // A message with pictures shows before its uploads start, so that a
    // failed upload finds its bubble to mark.
    const bool shownFirst = show && !uploads.empty() && conversation;
    if (shownFirst) ShowProvisional(data, provisionalId, history);
    const int result = SendMsg(std::move(context));
    if (result != 0) {
        OnCallSendMsgFailed(result, history, input);
        return result;
    }
    if (show && !shownFirst) ShowProvisional(data, provisionalId, history);
    return 0;
}

void CMsgHandle::FillSendRecord(SSendContext& context) {
    const _QelMsgData data = context.m_data.Data();
    CreateQelBoxMsg(context.m_record, &data, nullptr, context.m_conversation.get(), false,
                    context.m_handleId.c_str());
    context.m_record.msgId = context.m_provisionalId;
}

int CMsgHandle::SendMsg(std::unique_ptr<SSendContext> context) {
    TAVI_SCOPE("CMsgHandle::SendMsg");
    qel_handle conversation = context->m_conversation.get();
    if (!conversation) return QEL_ERR_CONV_GONE;
    if (!context->m_contentAt.empty() && IsNoMentionGroup(conversation)) context->m_contentAt.clear();
    const _QelMsgData data = context->m_data.Data();
    FillSendRecord(*context);
    qel_ext::QelConvSetReadedAndAcked_ex(conversation, "CMsgHandle::SendMsg");
    qel_ext::QelConvRequestSetReaded(conversation);

    if (!context->m_uploads.empty()) {
        // Whatever is sent later waits until this message went or failed.
        CMsgSplitSendMgr::Instance()->OnUploadStarted(conversation, context->m_provisionalId);
        PreSaveAttachmentMsg(*context);
        if (context->m_data.m_contentType == kContentImgXml) UploadImageForImgXmlMsg(std::move(context));
        else UploadImageForRichXmlMsg(std::move(context));
        return 0;
    }
    const std::string contentAt = context->m_contentAt;
    SSendContext* userData = context.release();
    const int result = qel_ext::QelConversationRequestSendChatMessage(
        conversation, qel_conversation_get_account(conversation), &data,
        contentAt.c_str(), &CMsgHandle::OnSendMessageCallback, userData);
    if (result != 0) delete userData;
    return result;
}

bool CMsgHandle::IsLargeGroup(qel_handle conversation) {
    qel_handle group = qel_conversation_get_buddy_group(conversation);
    if (GroupConvType(group) != kConvTypeUnknown) return false;
    qel_cxx_helper::HandleArray members;
    if (qel_buddy_group_get_all_buddies(group, 1, members.out_list(), members.out_count()) != 0) return true;
    return members.count() >= 1000;
}

int CMsgHandle::QelSendMsg(const char16_t* body, const char16_t* extra, const char* contentType, bool show) {
    TAVI_SCOPE("CMsgHandle::QelSendMsg");
    if (!m_pOwner) return -1;
    SOutMsgData data;
    CreateOutBoxMsgNew(data, util::WideToUtf8(util::SafeWide(body)), extra, contentType ? contentType : "", "",
                       m_hostFlag, m_handleId);
    return SendAndShowMsg(data, std::string(), {}, m_pOwner->GetHistoryView(), m_pOwner->GetInputEdit(), show);
}

// ---- the split queue ----

namespace {
CMsgSplitSendMgr* g_splitSendMgr = nullptr;
}  // namespace

CMsgSplitSendMgr* CMsgSplitSendMgr::Instance() {
    if (!g_splitSendMgr) g_splitSendMgr = new CMsgSplitSendMgr();
    return g_splitSendMgr;
}

void CMsgSplitSendMgr::Destroy() {
    delete g_splitSendMgr;
    g_splitSendMgr = nullptr;
}

void CMsgSplitSendMgr::PushMsg2SendMap(const std::u16string& convId, SSplitRecord record) {
    auto it = m_records.find(convId);
    if (it == m_records.end()) {
        m_records.emplace(convId, std::move(record));
        return;
    }
    for (SSplitPiece& piece : record.m_pieces) it->second.m_pieces.push_back(std::move(piece));
}

namespace {

std::unique_ptr<SSendContext> MakePieceContext(SSplitPiece& piece, qel_handle conversation) {
    auto context = std::make_unique<SSendContext>();
    CMsgHandle::CreateOutBoxMsgNew(context->m_data, piece.m_item.m_strContent, nullptr, piece.m_item.m_strContentType,
                                   piece.m_item.m_strSummary, piece.m_hostFlag, piece.m_handleId);
    context->m_windowKey = piece.m_windowKey;
    context->m_handleId = piece.m_handleId;
    context->m_hwnd = piece.m_hwnd;
    context->m_conversation = conversation;
    context->m_pHistory = piece.m_pHistory;
    context->m_pInput = piece.m_pInput;
    context->m_uploads = std::move(piece.m_item.m_uploads);
    context->m_contentAt = std::move(piece.m_item.m_strContentAt);
    context->m_bSplit = true;
    context->m_provisionalId = piece.m_provisionalId;
    CMsgHandle::FillSendRecord(*context);
    return context;
}

}  // namespace

void CMsgSplitSendMgr::SendNextSplitMsg(qel_handle conversation) {
    if (!conversation) return;
    const std::u16string convId = util::Utf8ToWide(qel_conversation_get_id(conversation));
    // Looked up again for every piece: sending one may settle an upload,
    // which runs this queue from inside.
    for (;;) {
        auto it = m_records.find(convId);
        if (it == m_records.end() || it->second.m_uploadingId) return;
        SSplitRecord& record = it->second;
        if (record.m_pieces.empty()) {
            m_records.erase(it);
            return;
        }
        SSplitPiece piece = std::move(record.m_pieces.front());
        record.m_pieces.pop_front();
        auto context = MakePieceContext(piece, conversation);
        const SSendContext kept = *context;
        const int result = CMsgHandle::SendMsg(std::move(context));
        if (result == 0) {
            it = m_records.find(convId);
            if (it != m_records.end() && it->second.m_uploadingId == piece.m_provisionalId)
                it->second.m_uploadingSendId = piece.m_sendId;
            continue;
        }
        TAVI_LOG("split piece refused: %d", result);
        CMsgHandle::OnSplitPieceRefused(kept, result);
        HoldBackRestOfSend(convId, piece.m_sendId, result);
    }
}

void CMsgSplitSendMgr::HoldBackRestOfSend(const std::u16string& convId, int64_t sendId, int errorCode) {
    auto it = m_records.find(convId);
    if (it == m_records.end()) return;
    std::deque<SSplitPiece>& pieces = it->second.m_pieces;
    qel_handle conversation = it->second.m_conversation.get();
    while (!pieces.empty() && pieces.front().m_sendId == sendId) {
        SSplitPiece piece = std::move(pieces.front());
        pieces.pop_front();
        CMsgHandle::OnSendMessageFailed(*MakePieceContext(piece, conversation), 0, errorCode);
    }
}

bool CMsgSplitSendMgr::IsBusy(qel_handle conversation) const {
    return conversation && m_records.count(util::Utf8ToWide(qel_conversation_get_id(conversation))) != 0;
}

void CMsgSplitSendMgr::OnUploadStarted(qel_handle conversation, int64_t provisionalId) {
    SSplitRecord& record = m_records[util::Utf8ToWide(qel_conversation_get_id(conversation))];
    record.m_conversation = conversation;
    record.m_uploadingId = provisionalId;
    record.m_uploadingSendId = provisionalId;
}

void CMsgSplitSendMgr::OnUploadSettled(int64_t provisionalId, int refusedCode) {
    for (auto it = m_records.begin(); it != m_records.end(); ++it) {
        if (it->second.m_uploadingId != provisionalId) continue;
        it->second.m_uploadingId.reset();
        if (refusedCode != 0) HoldBackRestOfSend(it->first, it->second.m_uploadingSendId, refusedCode);
        qel_handle conversation = it->second.m_conversation.get();
        if (conversation) return SendNextSplitMsg(conversation);
        // The conversation is gone: its queued pieces can never go.
        TAVI_LOG("split queue dropped: %zu pieces", it->second.m_pieces.size());
        m_records.erase(it);
        return;
    }
}

}  // namespace tavi
