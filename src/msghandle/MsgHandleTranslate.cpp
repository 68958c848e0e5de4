// Translations of shown messages: on demand from the history menu, or
// automatically as messages are shown when the account asks for it.
#include "msghandle/MsgHandle.h"
#include "msghandle/MsgIds.h"
#include "panel/TaviPanel.h"
#include "sdk/common.h"
#include "sdk/display.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/WindowUI.h"

namespace tavi {

void CMsgHandle::OnTranslationResult(qel_handle message, bool shown) { ShowTranslation(message, shown); }

bool CMsgHandle::CanTranslateMsg(qel_handle message) {
    const _QelMsgData* data = qel_msg_get_data(message);
    if (!data || common::GetModuleConfig(u"IMCore", u"Translation", 0) == 0) return false;
    const std::string type = data->content_type ? data->content_type : "";
    return (type == "text/plain" || type == "rich/xml") && !qel_ext::QelMsgIsRecall(message);
}

void CMsgHandle::TranslateMsg(int64_t shownId) {
    qel_handle message = GetQelHMessage(shownId);
    SQelBoxMsg record;
    if (!message || !MakeBoxMsg(record, message, false, m_handleId)) return;
    CWindowUI* window = m_pOwner ? m_pOwner->GetWindow() : nullptr;
    if (common::TranslationMsg(message, record, false, window ? window->GetHWND() : nullptr, this) == 1)
        ShowTranslation(message, true);
}

void CMsgHandle::HideTranslation(int64_t shownId) { ShowTranslation(GetQelHMessage(shownId), false); }

bool CMsgHandle::IsTranslationShown(uint64_t sdkMsgId) const {
    auto it = m_translationStates.find(sdkMsgId);
    return it != m_translationStates.end() && it->second;
}

void CMsgHandle::ShowTranslation(qel_handle message, bool shown) {
    const uint64_t sdkId = qel_msg_get_id(message);
    // The result may name a message that has gone since it was asked for.
    if (!qel_conversation_find_msg(m_conversation.get(), sdkId)) return;
    const int64_t shownId = FindProvisionalMsgId(sdkId).value_or(int64_t(sdkId));
    common::ShowTranslationMsg(GetHistoryView(), message, shownId, m_handleId.c_str(), shown);
    m_translationStates[sdkId] = shown;
}

}  // namespace tavi
