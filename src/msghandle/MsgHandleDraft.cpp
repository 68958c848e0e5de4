// Drafts: the input packed like a send and kept in the peer's attribute
// set, so that it survives closing the window, logging out and restarts.
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_attribs.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/RichEditExUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

namespace {
constexpr int kDraftWriteMode = 3;
constexpr int64_t kDraftRecordId = -2;

std::string StrAttrib(qel_handle attribs, const char* key) {
    const char* value = qel_attribs_get_str(attribs, key, "");
    return value ? value : "";
}
}  // namespace

void CMsgHandle::GetDraftKey(std::u16string& key, int index) { key = util::WFormat("0-%d", index); }

// The buddy of the handle id, else the group of that id.
qel_handle CMsgHandle::GetDraftOwner() const {
    qel_handle buddies = qel_account_buddies(m_account.get());
    if (!buddies) return nullptr;
    const std::string id = util::WideToUtf8(m_handleId);
    if (qel_handle buddy = qel_buddies_find_buddy_base(buddies, id.c_str())) return buddy;
    qel_handle cate = qel_buddies_find_cate(buddies, QEL_CATE_GROUP);
    return cate ? qel_buddies_cate_find_buddy_group(cate, id.c_str()) : nullptr;
}

void CMsgHandle::SaveDraft() {
    TAVI_SCOPE("CMsgHandle::SaveDraft");
    CRichEditUI* input = m_pOwner ? m_pOwner->GetInputEdit() : nullptr;
    if (m_inputOfPartlyShownDraft && (input ? input->GetText() : u"") == *m_inputOfPartlyShownDraft) return;
    qel_handle draft = qel_attribs_add_child(qel_object_get_attribs(GetDraftOwner(), "ext"), "draft", kDraftWriteMode);
    qel_attribs_remove_childs(draft);
    if (!input || input->GetText().empty()) return;
    qel_handle conversation = m_conversation.get();
    if (qel_ext::QelConvGetSvrConvId(conversation).empty()) {
        IAppMain* app = GetAppMain();
        if (IChatWndObj* chatWnd = app ? app->GetChatWndObj(m_windowKey) : nullptr)
            chatWnd->RequestSvrConvId(conversation);
        TAVI_LOG("SaveDraft error! is no conversation id !");
        return;
    }
    std::vector<SSendItem> items;
    // Without the message head: it is added again when the draft is sent.
    if (!PackMsg2Send(items, false, m_pOwner->GetHistoryView(), input, false) || !draft) return;
    for (size_t i = 0; i < items.size(); ++i) {
        std::u16string key;
        GetDraftKey(key, int(i));
        qel_handle piece = qel_attribs_add_child(draft, util::WideToUtf8(key).c_str(), kDraftWriteMode);
        qel_attribs_set_str(piece, "draft", items[i].m_strContent.c_str(), kDraftWriteMode);
        qel_attribs_set_str(piece, "draft-type", items[i].m_strContentType.c_str(), kDraftWriteMode);
    }
}

void CMsgHandle::ShowDraft() {
    TAVI_SCOPE("CMsgHandle::ShowDraft");
    qel_handle draft = qel_attribs_find_child(qel_object_get_attribs(GetDraftOwner(), "ext"), "draft");
    qel_cxx_helper::HandleArray pieces;
    CRichEditUI* input = m_pOwner ? m_pOwner->GetInputEdit() : nullptr;
    bool whole = true;
    if (draft && qel_attribs_get_all_childs(draft, pieces.out_list(), pieces.out_count()) == 0) {
        for (int i = 0; i < pieces.count(); ++i) {
            SOutMsgData data;
            CreateOutBoxMsgNew(data, StrAttrib(pieces[i], "draft"), nullptr, StrAttrib(pieces[i], "draft-type"), "",
                               m_hostFlag, m_handleId);
            SQelBoxMsg record;
            const _QelMsgData raw = data.Data();
            CreateQelBoxMsg(record, &raw, nullptr, m_conversation.get(), false, m_handleId.c_str());
            // -2: the renderer puts the content into the input, not the history.
            record.msgId = kDraftRecordId;
            if (!RenderRecord(record, input, m_windowKey, m_handleId)) whole = false;
        }
    }
    if (!whole) {
        TAVI_LOG("ShowDraft: the host could not show every piece; the draft is kept");
        m_inputOfPartlyShownDraft = input ? input->GetText() : u"";
    }
    m_draftShown = true;
}

}  // namespace tavi
