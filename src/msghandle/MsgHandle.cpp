#include "msghandle/MsgHandle.h"

#include "module/DllObject.h"
#include "msghandle/EmojiMsgHandle.h"
#include "msghandle/MsgIds.h"
#include "panel/TaviPanel.h"
#include "sdk/common_sdk.h"
#include "sdk/host.h"
#include "sdk/qel_account.h"
#include "sdk/qel_ext_api.h"
#include "sdk/ui/OleObject.h"
#include "sdk/ui/RichEditExUI.h"
#include "sdk/ui/WindowUI.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace tavi {

CMsgHandle::CMsgHandle() { SetPreLogoutCallback(&MsgHandlePreLogoutCallBack); }

CMsgHandle::~CMsgHandle() {
    common::CancelTranslationMsg(this);
    ForgetSentMsgIdsOf(this);
    RemoveMsgHandle(m_handleId);
    qel_handle current = qel_ext::QelGetCurAccount();
    if (common::HaveDraft() && current && qel_account_get_login_state(current) == 1) SaveDraft();
    if (m_pOwner) m_pOwner->OnMsgHandleDestroyed(this);
    TAVI_LOG("CMsgHandle::~CMsgHandle id: %s", util::WideToUtf8(m_handleId).c_str());
}

void CMsgHandle::SetParam(CTaviPanel* owner, const char16_t* handleId, const char16_t* sessionId, qel_handle account,
                          pfx::GUID windowKey) {
    TAVI_SCOPE("CMsgHandle::SetParam");
    m_pOwner = owner;
    m_windowKey = windowKey;
    m_sessionId = util::SafeWide(sessionId);

    IAppMain* app = GetAppMain();
    IChatWndObj* chatWnd = app ? app->GetChatWndObj(windowKey) : nullptr;
    if (chatWnd) m_hostFlag = chatWnd->GetHostFlag();

    m_account = account;
    m_handleId = util::SafeWide(handleId);
    AddMsgHandle(m_handleId, this);

    if (chatWnd) m_conversation = chatWnd->FindConversation(m_sessionId.c_str());
    if (!m_conversation.get())
        TAVI_LOG("SetParam fail! convsersation == NULL lpszSessionId=%s", util::WideToUtf8(m_sessionId).c_str());
}

std::u16string CMsgHandle::GetImgPath(const COleImageObj* image) {
    if (!image) return std::u16string();
    switch (image->GetImageType()) {
        case 1: return image->GetKey();
        case 0:
        case 3: return image->GetFilePath();
        default: return std::u16string();
    }
}

bool CMsgHandle::GetMsgHead(std::u16string& head) const {
    CWindowUI* window = m_pOwner ? m_pOwner->GetWindow() : nullptr;
    auto* windowEx = dynamic_cast<CWindowExUI*>(window);
    if (!windowEx) return false;
    head = windowEx->GetWindowAttribute(u"msghead");
    return !head.empty();
}

void CMsgHandle::PreProcessMsg(std::u16string& text, CRichEditUI* richEdit) {
    if (!richEdit) return;
    CStdPtrArray objects;
    richEdit->GetImageObj(objects);
    std::vector<int32_t> positions;
    text = CEmojiMsgHandle::RestoreEmojiText(richEdit->GetText(), objects, positions);
}

}  // namespace tavi
