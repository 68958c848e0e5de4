// The message handler of one chat panel: it packs what the user typed,
// sends it, and shows and operates on the conversation's messages. This
// header holds its identity and lifetime; the features live in the
// MsgHandle*.cpp files beside it.
#pragma once

#include <cstdint>
#include <map>
#include <set>
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

    // ---- History loading and display ----
    void ShowGetMsgActually(uint64_t anchorId, bool useTop, bool withUnreadTop);
    // Runs the load that waited for the SDK's recent messages; false when
    // no load waits.
    bool RunPendingShowGetMsg();
    bool HasPendingShowGetMsg() const { return m_pendingLoad.waiting; }
    // Chooses and fetches the messages of one load (newest first).
    bool GetQelMessage(qel_handle conversation, bool firstLoad, qel_cxx_helper::HandleArray& list,
                       bool& fromHistory, uint64_t& firstUnreadId, uint64_t anchorId, bool useTop,
                       bool withUnreadTop);
    // Shows one message once: a history record above the view, others at
    // the bottom.
    void ShowMessage(bool firstLoad, const std::u16string& convId, qel_handle message, bool history,
                     CRichEditExUI* view);
    bool AddToDisplayedSet(qel_handle message);
    // "top-msg-id": where the unread part began on the last first open.
    void AddMsgTopCount(uint64_t msgId);
    void ClearTopMsgCount();
    // The SDK message of an id shown in the view; null when there is none.
    qel_handle GetQelHMessage(int64_t shownId) const;
    bool IsFirstLoad() const { return m_firstLoad; }
    // Translation of a shown message, on demand or automatic.
    void TranslateMsg(int64_t shownId);
    void HideTranslation(int64_t shownId);
    bool IsTranslationShown(uint64_t sdkMsgId) const;
    // Translation is offered for text that was not recalled, when configured.
    static bool CanTranslateMsg(qel_handle message);
    // Puts the stored draft into the input (the draft feature).
    void ShowDraft();
    // Read markers after a load (the read cursor and receipt feature).
    void AddPartnerReadCursor(qel_handle conversation);
    void AddParternUnReadBtn(qel_handle conversation, const qel_handle* messages, int count);
    void RequestReceiptSummary(qel_handle conversation, const qel_handle* messages, int count);
    // Important-message statuses after a load (the message operations feature).
    void AddImportantMsgStatus(qel_handle conversation, const qel_handle* messages, int count);
    // ---- end of history loading and display ----

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
    // ---- History loading and display ----
    bool MakeBoxMsg(SQelBoxMsg& record, qel_handle message, bool history, const std::u16string& convId) const;
    void ShowLoadedList(const qel_cxx_helper::HandleArray& list, bool firstLoad, bool fromHistory, CRichEditExUI* view);
    void PositionFirstLoad(qel_handle conversation, const qel_cxx_helper::HandleArray& list, bool fromHistory,
                           uint64_t positionId);
    void ChooseFirstLoadMessages(qel_handle conversation, qel_cxx_helper::HandleArray& list,
                                 uint64_t& firstUnreadId, bool useTop, bool withUnreadTop) const;
    void ShowTranslation(qel_handle message, bool shown);
    CRichEditExUI* GetHistoryView() const;

    struct SPendingLoad {
        bool waiting = false;
        uint64_t anchorId = 0;
        bool useTop = false;
        bool withUnreadTop = false;
    };
    bool m_firstLoad = true;
    bool m_draftShown = false;  // shared with the draft feature
    std::set<uint64_t> m_displayedMsgIds;
    uint64_t m_newestLoadedId = 0;
    uint64_t m_firstUnreadId = 0;
    SPendingLoad m_pendingLoad;
    std::map<uint64_t, bool> m_translationStates;
    // ---- end of history loading and display ----

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
