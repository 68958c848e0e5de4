// The message handler of one chat panel: it packs what the user typed,
// sends it, and shows and operates on the conversation's messages. This
// header holds its identity and lifetime; the features live in the
// MsgHandle*.cpp files beside it.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/common_translate.h"
#include "sdk/pfx.h"
#include "sdk/qel_cxx_helper.h"

class COleImageObj;
class CRichEditExUI;
class CRichEditUI;
struct SQelBoxMsg;

namespace tavi {

class CTaviPanel;

class CMsgHandle : public common::ITranslationCallback {
public:
    CMsgHandle();
    ~CMsgHandle() override;
    CMsgHandle(const CMsgHandle&) = delete;
    CMsgHandle& operator=(const CMsgHandle&) = delete;

    void OnTranslationResult(qel_handle message, bool shown) override;

    // Binds the handler to its panel, window and conversation and registers it.
    void SetParam(CTaviPanel* owner, const char16_t* handleId, const char16_t* sessionId, qel_handle account,
                  pfx::GUID windowKey);

    // The key of a built-in smiley, the file of a picture, "" otherwise.
    static std::u16string GetImgPath(const COleImageObj* image);
    // The window's "msghead" attribute; false when there is none.
    bool GetMsgHead(std::u16string& head) const;
    // The rich edit's text with emoji pictures back in text form.
    static void PreProcessMsg(std::u16string& text, CRichEditUI* richEdit);

    // Stores the input as the conversation's draft.
    void SaveDraft();

    // History: loads what is newer than the view holds and shows it once.
    void ShowGetMsg(uint64_t anchorId, bool useTop, bool withUnreadTop);
    void ReflashAfterMakeUp(CRichEditExUI* view, bool withUnreadTop);

    // Sends a ready content for other modules; -1 without an owner panel.
    int QelSendMsg(const char16_t* body, const char16_t* extra, const char* contentType, bool show);

    // Operations on shown messages.
    void OnRecallMessage(SQelBoxMsg* message);
    void OnBurnReadMessage(SQelBoxMsg* message);
    void EmailRequest(int32_t a, int32_t b, bool second);
    void RefreshImportantMsgStatus(int32_t a, int32_t b, int32_t c);

    const std::u16string& GetHandleId() const { return m_handleId; }
    const std::u16string& GetSessionId() const { return m_sessionId; }
    const pfx::GUID& GetWindowKey() const { return m_windowKey; }
    bool GetHostFlag() const { return m_hostFlag; }
    qel_handle GetAccount() const { return m_account.get(); }
    qel_handle GetConversation() const { return m_conversation.get(); }
    CTaviPanel* GetOwner() const { return m_pOwner; }
    // Whether the handler shows history (the panel turns it off for an
    // input-only panel).
    bool IsShowHistory() const { return m_showHistory; }
    void SetShowHistory(bool show) { m_showHistory = show; }

private:
    std::u16string m_handleId;
    pfx::GUID m_windowKey;
    bool m_hostFlag = false;
    std::u16string m_sessionId;
    qel_cxx_helper::WeakHandle m_account;
    qel_cxx_helper::WeakHandle m_conversation;
    CTaviPanel* m_pOwner = nullptr;
    bool m_active = true;
    bool m_showHistory = true;
};

// The process-wide registry of handlers by handle id.
void AddMsgHandle(const std::u16string& id, CMsgHandle* handler);
void RemoveMsgHandle(const std::u16string& id);
CMsgHandle* FindMsgHandle(const std::u16string& id);
// The module's pre-logout hook: saves the draft of every registered
// handler, in ascending order of handle id, when drafts are kept.
void MsgHandlePreLogoutCallBack();

}  // namespace tavi
