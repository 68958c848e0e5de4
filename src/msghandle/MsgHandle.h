// The message handler of one chat panel: it packs what the user typed,
// sends it, and shows and operates on the conversation's messages. This
// header holds its identity and lifetime; the features live in the
// MsgHandle*.cpp files beside it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "msghandle/MsgNodes.h"
#include "msghandle/MsgSendContext.h"
#include "msghandle/MsgSplitSendMgr.h"

#include "sdk/common_translate.h"
#include "sdk/pfx.h"
#include "sdk/qel_cxx_helper.h"

class COleImageObj;
class ImageObj;
class CRichEditExUI;
class CRichEditUI;
struct SQelBoxMsg;
struct SEmailItem;

namespace tavi {

class CTaviPanel;
class CEmailSendParts;

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

    // ---- Message contents: the input parsed into nodes, its style, mentions ----
    // The style of the input's default font; empty for the plain default.
    void GetInputStyle(std::u16string& style) const;
    // The "contentat" of a group message: the mentioned members' ids.
    void GetContentAt(std::string& contentAt, const std::u16string& text) const;
    // The body of a custom smiley; false without a path or a loadable picture.
    bool PackSmileyImageXmlMsg(std::string& body, const char16_t* filePath, const std::u16string& smileyKey) const;
    // Text runs, text-form smileys and pictures from `start` on; pictures
    // still to be uploaded are appended to `uploads` in document order.
    void ParseText2MsgList(MsgNodeList& nodes, std::vector<SUploadItem>& uploads, const std::u16string& text,
                           size_t start, const std::vector<int32_t>& positions, CRichEditUI* richEdit) const;
    // The same over one window of kWindowSize characters (window *
    // kWindowSize - offset on); `pictureIndex` says where the next window
    // resumes.
    static constexpr int32_t kWindowSize = 1024;
    void ParseRichEditMsg(MsgNodeList& nodes, std::vector<SUploadItem>& uploads, const std::u16string& text,
                          int window, int offset, const std::vector<int32_t>& positions, CRichEditUI* richEdit,
                          int& pictureIndex) const;
    // The stored record of a custom smiley (type 3, whose key goes into
    // `key`): its uploaded key and digest on two lines, or "" when it must
    // be uploaded again.
    static std::string GetCustomSmileyRecord(const COleImageObj* image, std::u16string& key);
    // Pictures go as they are: this reports that nothing was compressed.
    static bool CompressImage(const std::u16string& source, const std::u16string& target);

    // ---- Sending ----
    // The panel's send path: checks, packs, shows and sends the input.
    void OnSendMsg(bool plainMode, CRichEditExUI* history, CRichEditUI* input);
    // The input cut into send items, led by the window's message head unless
    // `withHead` is false (a draft keeps only what the user typed); false
    // after writing the error notice.
    bool PackMsg2Send(std::vector<SSendItem>& items, bool plainMode, CRichEditExUI* history, CRichEditUI* input,
                      bool withHead = true);
    // Cuts nodes into pieces within the budget and packs each; false for
    // more than 20 items or a piece that cannot be packed.
    bool SplitMsgNodes(std::vector<SSendItem>& items, MsgNodeList& nodes, const std::vector<SUploadItem>& uploads,
                       bool plainMode, const std::u16string& style) const;
    bool PackMsg2Str(std::vector<SSendItem>& items, const MsgNodeList& nodes, const std::vector<SUploadItem>& uploads,
                     bool plainMode, const std::u16string& style) const;
    // Plain mode: runs of non-pictures form one element, every picture one
    // of its own with its upload item.
    static void SplitImageMsg(std::vector<MsgNodeRefs>& elements, std::vector<std::vector<SUploadItem>>& elementUploads,
                              const MsgNodeList& nodes, const std::vector<SUploadItem>& uploads);
    // Sends one item under the next provisional id and shows it; the SDK's
    // immediate answer.
    int SendAndShowMsg(SOutMsgData& data, const std::string& contentAt, const std::vector<SUploadItem>& uploads,
                       CRichEditExUI* history, CRichEditUI* input, bool show);
    // The one place that hands a message to the SDK or starts its uploads.
    static int SendMsg(std::unique_ptr<SSendContext> context);
    static void CreateOutBoxMsgNew(SOutMsgData& data, const std::string& body, const char16_t* extra,
                                   const std::string& contentType, const std::string& summary, bool hostFlag,
                                   const std::u16string& handleId);
    static bool IsLargeGroup(qel_handle conversation);
    // Renders a record into an edit through the application object.
    // (start, end) = (-2, -1): at the end of an input, as content to edit.
    static bool RenderRecord(SQelBoxMsg& record, CRichEditUI* edit, const pfx::GUID& windowKey,
                             const std::u16string& handleId, int start = 0, int end = -1);
    // The display record of what the context sends, under its provisional id.
    static void FillSendRecord(SSendContext& context);
    std::unique_ptr<SSendContext> MakeSendContext(const SOutMsgData& data, CRichEditExUI* history,
                                                  CRichEditUI* input) const;
    // A notice line of the send path in the history view.
    void ShowSendNotice(const char16_t* key) const;
    // A queued piece of this window under the next provisional id.
    SSplitPiece MakeSplitPiece(SSendItem item, CRichEditExUI* history, CRichEditUI* input) const;
    // Shows a message before the SDK has answered.
    void ShowProvisional(const SOutMsgData& data, int64_t provisionalId, CRichEditExUI* history) const;
    // Queues shown pieces behind what the conversation still sends.
    void QueueAndSend(SSplitRecord record) const;

    // ---- Send results ----
    static void OnCallSendMsgFailed(int errorCode, CRichEditExUI* history, CRichEditUI* input);
    static void OnSendMessageCallback(int errorCode, void* userData, uint64_t msgId, uint64_t second);
    static void OnSendMessageFailed(const SSendContext& context, uint64_t msgId, int errorCode);
    // A queued piece that the SDK refused at once.
    static void OnSplitPieceRefused(const SSendContext& context, int errorCode);
    // The handler of a chat window, found again by its handle; null once
    // the window is gone.
    static CMsgHandle* FindHandlerOfWindow(HWND hwnd);

    // ---- Pictures: upload before send ----
    bool SendImgFile(CRichEditExUI* history, CRichEditUI* input, const char16_t* filePath);
    bool PackImg2Send(std::vector<SSendItem>& items, const std::u16string& filePath) const;
    // Each starts the uploads of one message; a refusal fails the message.
    static void UploadImageForImgXmlMsg(std::unique_ptr<SSendContext> context);
    static void UploadImageForRichXmlMsg(std::unique_ptr<SSendContext> context);
    // Stores a message with pictures as pending while they upload.
    static void PreSaveAttachmentMsg(const SSendContext& context);
    static void SaveSmileyUploadRecord(const std::u16string& smileyKey, const std::string& record);
    // A custom smiley whose record is saved once its upload succeeds.
    static void RememberSmileyUpload(const std::string& cacheName, const std::u16string& smileyKey);

    // ---- Drafts ----
    // Stores the input as the conversation's draft.
    void SaveDraft();
    // Puts the stored draft back into the input.
    void ShowDraft();
    static void GetDraftKey(std::u16string& key, int index);
    bool IsDraftShown() const { return m_draftShown; }

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
    // Read markers after a load (the read cursor and receipt feature).
    void AddPartnerReadCursor(qel_handle conversation);
    void AddParternUnReadBtn(qel_handle conversation, const qel_handle* messages, int count);
    void RequestReceiptSummary(qel_handle conversation, const qel_handle* messages, int count);
    // ---- read cursor and receipts ----
    // Whether a message counts for read markers (control messages do not).
    static bool MsgIsCountable(qel_handle message, const char* contentType);
    // The markers of a message just sent (by its SDK id).
    void AddSentReceiptUnRead(qel_handle conversation, uint64_t msgId, bool isReceipt);
    void AddSentPartnerUnRead(qel_handle conversation, uint64_t msgId);
    // A successful send: a group chat sets up the message's receipt button.
    void SetupSentReadState(uint64_t msgId);
    // ---- end of read cursor and receipts ----
    // Important-message statuses after a load (the message operations feature).
    void AddImportantMsgStatus(qel_handle conversation, const qel_handle* messages, int count);
    // ---- end of history loading and display ----

    // ---- E-mail and ad-hoc windows ----
    // The e-mail window's send: every piece of the input goes out as an
    // e-mail through the client's e-mail service.
    void OnSendEmail(bool plainMode, CRichEditExUI* history, CRichEditUI* input);
    // The ad-hoc window's send through the host's ad-hoc sender.
    void OnSendADHOC(bool plainMode, CRichEditExUI* history, CRichEditUI* input);
    // Hands a file to the host's ad-hoc sender; what it cannot hand on is only logged.
    void SendFileToAdhoc(const std::u16string& path);
    // The e-mail service's answer for the window; only a box once it is gone.
    static void OnSendEmailResult(int errorCode, HWND window);
    void ShowSendEmailFailed(int errorCode) const;
    // E-mails exchanged with the peer; a non-zero flag pages older ones.
    void RequestEmailMessages(int64_t offset, int64_t count, int flag);
    // `requested` is how many the fetch asked for: a page that comes back
    // shorter is the oldest there is.
    void InsertEmailMsgs(const SEmailItem* const* items, int count, int flag, int64_t requested = -1);
    void MarkEmailsSeen();
    // ---- end of e-mail and ad-hoc windows ----

    // ---- E-mail parts of one send ----
    // Where the windows of an e-mail send lie in the input: the end of each
    // window there, and the window of each packed item. Empty when the
    // windows cannot be told apart in the input.
    struct SEmailLayout {
        std::vector<size_t> windowEnds;
        std::vector<size_t> itemWindows;
    };
    // The input cut into windows of 1024 characters, each packed as one
    // piece; `layout` learns where the windows lie.
    bool PackEmailMsg2Send(std::vector<SSendItem>& items, bool plainMode, CRichEditExUI* history, CRichEditUI* input,
                           SEmailLayout& layout);
    // The answer for one part of a send of this handler (`token` names it;
    // 0 for none).
    static void OnSendEmailResult(int errorCode, HWND window, uintptr_t token);
    // ---- end of e-mail parts of one send ----

    // Sends a ready content for other modules; -1 without an owner panel.
    int QelSendMsg(const char16_t* body, const char16_t* extra, const char* contentType, bool show);

    // Operations on shown messages.
    void EmailRequest(int32_t a, int32_t b, bool second);
    void RefreshImportantMsgStatus(int32_t a, int32_t b, int32_t c);

    // ---- Recall, burn after reading, resend ----
    // Whether the message may be recalled: the user's own, or another
    // member's when the user's group role ranks above the sender's.
    bool MsgCanRecall(int64_t shownId) const;
    // Asks before recalling someone else's message; the answer comes later.
    void RecallMsg(int64_t shownId);
    static void QelRecallMsgCallback(int errorCode, void* userData);
    // Replaces a recalled message by its notice; id 0: the record's id,
    // mapped back to the id the view shows it under.
    void OnRecallMessage(SQelBoxMsg* record, uint64_t shownId);
    void OnBurnReadMessage(SQelBoxMsg* record);
    // Sends a failed message again, its pictures uploaded first.
    void OnReSendMsg(CRichEditExUI* history, CRichEditUI* input, const std::u16string& msgIdText);
    static void OnReSendMessageCallback(int errorCode, void* userData, uint64_t msgId, uint64_t replacedMsgId);
    // A resend went through: the old message makes way for the new one.
    static void ProcessReSendMsg(const SSendContext& context, bool uploaded, qel_handle conversation, uint64_t newId);
    static void ShowResendSucessMsg(const SSendContext& context, CMsgHandle* handler, qel_handle conversation,
                                    uint64_t newId);
    // Removes the resend button of a failed message (without a handler,
    // the window's own handler is looked up).
    static void RemoveResendBtn(CMsgHandle* handler, HWND hwnd, uint64_t msgId);
    // What a finished send means for later resends: a failed message can
    // be sent again, a message that went no longer can.
    static void OnSendSettled(const SSendContext& context, CMsgHandle* handler, uint64_t msgId, bool sent);

    // ---- Collect, group top, quote ----
    bool MsgCanCollect(int64_t shownId) const;
    void CollectMsg(int64_t shownId);
    static void QelCollectMsgCallback(int errorCode, void* userData);
    const std::string& GetLastCollectKey() const { return m_collectKey; }
    bool MsgCanGrpStick(int64_t shownId) const;
    bool MsgCanDeleteGrpStick(int64_t shownId) const;
    void StickGrpMsg(int64_t shownId);
    void CancelStickGrpMsg(int64_t shownId);
    // Messages of a kind the group sticks automatically go to its top once sent.
    static void AutoStickAfterSend(qel_handle conversation, uint64_t msgId, HWND hwnd);
    bool MsgCanQuote(int64_t shownId) const;
    // Puts the message, with an @-mention of its sender, before the input.
    void QuoteMsg(int64_t shownId);
    // ---- end of operations on shown messages ----

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

    // ---- Pictures chosen by the user ----
    // The open dialog for picture files; each chosen file goes into the
    // input through the size check.
    void RicheditSelectImage();
    // The notice of a saved photo, with links to open it and its folder.
    void ShowFinishSavePicNotifyMsg(const std::u16string& path);

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

    // ---- Message contents ----
    std::unique_ptr<SImageMsgMode> MakeImageNode(const std::u16string& path, const ImageObj* picture,
                                                 const std::string& record, std::vector<SUploadItem>& uploads) const;
    void AppendPictureNode(MsgNodeList& nodes, std::vector<SUploadItem>& uploads, const COleImageObj* image) const;
    bool IsEmailWindow() const;
    bool IsGroupChat() const;
    // A one-to-one chat in a person chat window with a real person.
    bool IsPartnerReadChat(qel_handle conversation) const;
    HWND GetWindowHandle() const;

    // ---- E-mail and ad-hoc windows ----
    bool MakeEmailRecord(SQelBoxMsg& record, const SEmailItem& item, bool history) const;
    std::set<std::string> m_shownEmails;
    // ---- E-mail parts of one send ----
    struct SEmailPartRef {
        std::shared_ptr<CEmailSendParts> send;
        size_t part = 0;
    };
    // Takes the part's answer to the input; false when the token is unknown.
    bool TakeEmailPartResult(uintptr_t token, int errorCode);
    std::map<uintptr_t, SEmailPartRef> m_emailParts;

    // ---- Drafts ----
    qel_handle GetDraftOwner() const;
    bool m_draftShown = false;
    // The input as it stood after a draft that the host could not show
    // whole was put into it; while the input is still that, closing keeps
    // the stored draft instead of writing the part the user saw over it.
    std::optional<std::u16string> m_inputOfPartlyShownDraft;

    // ---- Operations on shown messages ----
    // The message a shown id stands for, with data; null (logged) otherwise.
    qel_handle FindMsgWithData(int64_t shownId) const;
    // The group-top checks shared by stick and unstick.
    bool MsgPassesGrpTopRules(qel_handle message, bool stuck) const;
    void RequestStick(int64_t shownId, bool stick);
    // A notice in place of a message the view shows under `shownId`.
    void ReplaceMsgByNotice(int64_t shownId, const std::u16string& text, int64_t time) const;
    uint64_t m_lastFailedMsgId = 0;
    std::string m_collectKey;
};

// The process-wide registry of handlers by handle id.
void AddMsgHandle(const std::u16string& id, CMsgHandle* handler);
void RemoveMsgHandle(const std::u16string& id);
CMsgHandle* FindMsgHandle(const std::u16string& id);
// The module's pre-logout hook: saves the draft of every registered
// handler, in ascending order of handle id, when drafts are kept.
void MsgHandlePreLogoutCallBack();

}  // namespace tavi
