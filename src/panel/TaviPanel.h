// The conversation panel of one chat window: the history view on top, the
// input rich edit below, the tool bar between them and the tip bars over
// the history. This header holds its shape and lifecycle; its features
// live in the TaviPanel*.cpp files beside it.
#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "module/StdContainer.h"
#include "msghandle/HistoryMsgHandle.h"
#include "sdk/findfrd.h"
#include "sdk/pfx.h"
#include "sdk/pictures.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/tavi.h"
#include "sdk/ui/CompositeUI.h"
#include "sdk/ui/TimerSource.h"
#include "tools/RecentFontWnd.h"

class CMenuUI;
struct SLinkInfo;
struct TMenuItemInfo;
class COleImageObj;
class CRichEditExUI;
class CRichEditUI;
struct SQelBoxMsg;

namespace tavi {

class CMsgHandle;
class CTaviSearchWindow;
class CFontSettingPanel;
class CNewsAnimeUI;

// The kinds of chat window, by the window key the host gives.
inline constexpr pfx::GUID kPersonChatKey = pfx::MakeGuid("{7CADFB98-F2B4-4BD7-9C4F-A06B1D69C556}");
inline constexpr pfx::GUID kGroupChatKey = pfx::MakeGuid("{842CE4E4-969A-48FD-B924-9A5DE68253BC}");
inline constexpr pfx::GUID kAdhocChatKey = pfx::MakeGuid("{8651C5D0-D8D5-440B-9679-CEBE887B5559}");
inline constexpr pfx::GUID kEmailKey = pfx::MakeGuid("{21DE38CE-C45E-4943-850C-573ADFDB3CF5}");

// Timer ids on the panel's rich edits.
inline constexpr uint32_t kViewClearResourceTimer = 15;
inline constexpr uint32_t kViewReadTimer = 120203;
inline constexpr uint32_t kInputTypingTimer = 120204;
// The partner's read line stands in the history view under this id.
inline constexpr int64_t kPartnerCursorPaneId = -100002;
// The picture button's menu and the picture-library button's hover timer.
inline constexpr int32_t kPictureMenu = 32000;
inline constexpr uint32_t kSysPicHoverTimer = 1041;

class CTaviPanel : public CCompositeUI,
                   public IEmoticonCallBack,
                   public IFontCallBack,
                   public main::IFaceCallBack,
                   public audio_video::ITakePhotoNotify,
                   public qel_cxx_helper::TimerSignalsListener,
                   public qel_cxx_helper::SignalsListener {
public:
    CTaviPanel();
    ~CTaviPanel() override;

    // Set by the component before the panel is created.
    void SetInfo(const pfx::GUID& windowKey, const char16_t* sessionId, const char16_t* instanceName,
                 bool hasHistory, qel_handle account);
    void SetSessionId(const char16_t* sessionId);
    void SetWindowKey(const pfx::GUID& windowKey) { m_windowKey = windowKey; }

    void OnCreate() override;
    void OnDestroy() override;

    // Starts the conversation once the host has set the event sink.
    void InitMsgHandle();
    // (Re)binds the message handler to the conversation.
    void UpdateInfo();
    void SetHostMsgSink(IHostMsgSink* sink) { m_pHostSink = sink; }
    IHostMsgSink* GetHostMsgSink() const { return m_pHostSink; }
    void SetChatParticipants(pfx::IStrVector* list, int value);
    virtual void SetCaptionBarText(const char16_t* text);

    // ---- Notifications and input commands ----
    bool ProcessNotify(TNotifyUI& msg) override;
    // The one tool tip of the send button, shared by every panel.
    void ShowSendBtnToolTip(const char16_t* text);
    static void GetRecTypeTip(std::u16string& text, int value);
    void SendMsg();
    void OnEditChange(intptr_t param);
    void ChangePictureShow(bool show);
    // Accepted for 61 <= height <= 499 only.
    void SetInputEditHeight(int height);

    // ---- Pictures, photos and dropped files ----
    bool OnDropFiles(TEventUI& event);
    bool OnDropFiles(HDROP drop);
    // The panel takes the picture; it is freed when it cannot go in.
    void InsertImage(COleImageObj* image);
    // Inserts the picture file at the input's caret; false when it does not load.
    bool InsertImage(const std::u16string& path, bool focus);
    // Puts the picture in place of the input's picture with that key, or at the end.
    bool InsertEditImage(const std::u16string& path, const std::u16string& key);
    void OnTakePhoto();
    void OnFinishTakePhoto(int code, const char16_t* path) override;
    void OnSelFace(const char16_t* path) override;
    // The picture library, opened under its button.
    void OnBtnSyspic(CControlUI* button);
    // Hover on the picture-library button: the recent faces after a rest.
    bool OnSysPicBtnEvent(TEventUI& event);
    void ShowRecentFaceWnd(const RECT& rect);
    void OpenFileByClickFileIcon(const std::u16string& path);
    // Operations on a picture shown in the history or the input.
    void SaveImage(COleImageObj* image);
    void EditImage(const std::u16string& path, COleImageObj* image = nullptr);
    void SaveAsSmiley(const char16_t* path);
    void DecodeImage(const std::u16string& text, COleImageObj* image = nullptr);
    // ---- end of pictures ----
    void SetImageOversizeOption(int option) { m_imageOversizeOption = option; }
    // A picture file the user put into the input, after the size check; a
    // picture that goes better as a file is sent as one when the user agrees.
    bool InsertPictureFile(const char16_t* path);
    void SendPictureAsFile(const std::u16string& path);
    int GetImageOversizeOption() const { return m_imageOversizeOption; }

    // ---- View modes, friend dynamics and the marquee ----
    void SetMiniMode(bool mini);
    void SetThinMode();
    // "only_edit" or "only_view" lay the panel out; any other mode is only stored.
    void SetView(const char16_t* viewName);
    const std::u16string& GetViewMode() const { return m_viewMode; }
    // Starts (show non-zero) the marquee for that many rounds, or hides it;
    // nothing once the conversation's marquee has run to its end.
    void ShowFrdEvent(int32_t show, int32_t rounds);
    // Whether the conversation's marquee has run to its end in this process.
    bool IsFrdEventDisplayed() const;
    void AddMarqueeMsg(const char16_t* time, const char16_t* event);
    void SetMarqueeInfo();
    void UpdateFrddymicPanel(bool show);
    void ChangeMarqueeData();
    void NewsShow(bool forward);
    void OnMarqueChangedTimer();
    // The marquee control finished a slide.
    void OnNewsAnimeUIFinish();
    // Sets a control's coordinates; nothing for a missing control.
    void SetCtrlPos(const char16_t* name, int32_t anchor, int32_t left, int32_t top, int32_t right, int32_t bottom);
    // ---- end of view modes, friend dynamics and the marquee ----

    // Tips and reminder bars over the history.
    void ShowCaptionBar(bool show);
    void InitBirthdayRemind();
    void UpdateGrpTopUnreadMsg();
    void ShowCollectTip(int32_t a, int32_t b, int32_t c, int32_t d);

    // ---- tips, reminder bars and read panes ----
    // Shows or hides a tip over the history and makes room for it.
    void ShowViewTipContainer(const char16_t* name, bool show);
    bool IsViewTipCtnVisible(const char16_t* name) const;
    // The @-reminder bar: someone mentioned the user.
    void ShowAtInfoOnTop(const std::u16string& text, const std::u16string& userId);
    void SetAtReminderMsgId(uint64_t msgId) { m_atReminderMsgId = msgId; }
    void ShowUnreadGrpTopMsgOnTop(qel_handle message, const std::u16string& text, const std::u16string& userId);
    // The group-top message the bar shows; 0 when none.
    uint64_t GetCurShowGrpTopMsgId();
    bool OnGrpTopMsgRemind();
    void OnCancelGrpTopRemind();
    // The status line under an important message, made once and refreshed.
    void CreateImportantMsgStatus(qel_handle message);
    // Panes after shown messages: the partner's read line (one per view),
    // the unread tag of a one-to-one message, the receipt button.
    void CreatePartnerReadCursorPane(int64_t msgId, int64_t time);
    void CreatPartnerUnReadPane(int64_t msgId, uint64_t convMsgId);
    void CreatRecipetUnReadPane(int64_t msgId, uint64_t convMsgId, int unreadCount);
    // ---- end of tips, reminder bars and read panes ----

    // ---- History loading and display ----
    // The marker under the read history that a first page showed.
    void ShowHistroyMsgImage();
    // The line on top of the history view that offers older messages.
    void CreateMoreHistroyMsgPane();
    void RemoveMoreHistroyMsgPane();
    // The "showmoremsg" button: the next page of older messages.
    void OnBtnShowMoreMsg();
    bool OnBtnShowMoreMsgNotify(TNotifyUI&) {
        OnBtnShowMoreMsg();
        return true;
    }
    // Empties the history view for a full reload; the header line stays.
    void ClearMsgExceptHeaderLine();
    // Inserting into the history view takes the input's caret; a focused
    // input edit gets its focus message again.
    void RefreshInputFocus();
    CHistoryMsgHandle& GetHistoryMsgHandle() { return m_historyMsgHandle; }
    // Called for every message the handler shows (mentions, read cursor).
    void AddAtMessage(const SQelBoxMsg& record);
    void AddPartnerLocalCursor(qel_handle conversation, const SQelBoxMsg& record);
    // ---- end of history loading and display ----

    // ---- @-mentions ----
    // Opens, narrows or closes the member popup as the user types.
    void AtProcess(CRichEditUI* edit);
    // Whether mentions are possible in this window (group chats only).
    bool IsPluginAt() const;
    // An "@" with neither a space nor a line break after the last one.
    static bool IsMatchAt(const std::u16string& text);
    void SearchEditText();
    void AddFriend();
    void ShowSDKSearchFriendResult(client::FIND_CONTAIN_MAIN& results, int count, bool complete);
    // Sorts the lists and drops the user's own record; false when every list is empty.
    bool FilterSearchResult(client::FIND_CONTAIN_MAIN& results) const;
    void InitAtSearchResultWindow();
    void ShowSearchResultWindow();
    void HideAtWindow();
    // Inserts "@" + name + " ": over the typed "@keyword" (replace) or at the start.
    void AddAtName(const std::u16string& name, bool replace);
    qel_handle GetCurrentGroup() const;
    void AddSearchItem(client::FIND_CONTAIN_MAIN& results, qel_handle buddy) const;
    // The name a mention of the member inserts; empty for an unknown buddy.
    std::u16string GetMemberAtName(const std::u16string& buddyId) const;
    CTaviSearchWindow* GetSearchWindow() const { return m_pSearchWindow.get(); }
    int32_t GetAtCaretPos() const { return m_atCaretPos; }
    // Mentions of the user in shown messages.
    bool ShowByParseMsgHead(const SQelBoxMsg& record);
    void ShowByParsePlainText(const SQelBoxMsg& record);
    bool IsContentAtMe(const SQelBoxMsg& record) const;
    static void GetAtName(std::u16string& name, const std::u16string& text);
    uint64_t GetAtReminderMsgId() const { return m_atReminderMsgId; }
    // ---- end of @-mentions ----

    void SetEmailDlgType(int type) { m_emailDlgType = type; }
    int GetEmailDlgType() const { return m_emailDlgType; }
    // The subject e-mails of the conversation layout go out with: that of
    // the e-mail shown last.
    void SetEmailSubject(const std::u16string& subject) { m_emailSubject = subject; }
    const std::u16string& GetEmailSubject() const { return m_emailSubject; }
    // Paging through the e-mail list: the page size the host asked for
    // (-1 before it asked) and how many e-mails, from the newest, the view
    // has been given, which is where the next older page starts.
    void SetEmailPageSize(int32_t count) { m_emailPagingMode = count; }
    int32_t GetEmailPageSize() const;
    int32_t GetEmailPageStart() const { return m_emailPageStart; }
    void AdvanceEmailPageStart(int32_t count) { m_emailPageStart += count; }
    // Once a page came back short the oldest e-mail is in view for good:
    // new e-mails only ever arrive on the newest end.
    void SetEmailListEnded() { m_emailListEnded = true; }
    bool IsEmailListEnded() const { return m_emailListEnded; }

    // ---- Chat font and emoticons ----
    // Opens the font setting bar above the input, or closes it.
    void OnBtnFont();
    bool IsFontBarOpen() const { return m_pFontSettingPanel != nullptr; }
    // The recent-fonts popup beside a rectangle of the panel's window.
    void ShowRecentFontWnd(const RECT& rect);
    // The emoticon picker beside the emoticon button.
    void OnBtnEmoticon();
    // The recent-emoticons popup beside a rectangle of the panel's window.
    void ShowRecentEmoticonWnd(const RECT& rect);
    // IFontCallBack: a font chosen in the recent-fonts popup.
    void OnSelFont(const char16_t* face, int size, int bold, int italic, int underline, int color) override;
    // IEmoticonCallBack: the emoticon goes into the input at the caret.
    void OnSelEmoticon(const char16_t* name, const char16_t* description) override;
    // ---- end of chat font and emoticons ----
    // SDK signals.
    void on_sig_timeout(void* userdata) override;
    void on_sig_attrib_changed(qel_handle attribs, const char** names, int count) override;
    void on_sig_buddy_group_attrib_changed(qel_handle group) override;

    CRichEditExUI* GetHistoryView() const { return m_pHistoryView; }
    CRichEditUI* GetInputEdit() const { return m_pInputEdit; }
    CMsgHandle* GetMsgHandle() const { return m_pMsgHandle.get(); }
    // The handler tells its panel when it goes.
    void OnMsgHandleDestroyed(CMsgHandle* handler);
    const std::u16string& GetSessionId() const { return m_sessionId; }
    const std::u16string& GetHandleId() const { return m_handleId; }
    const pfx::GUID& GetWindowKey() const { return m_windowKey; }
    qel_handle GetAccount() const { return m_account.get(); }
    bool HasHistory() const { return m_hasHistory; }
    bool IsTypingArmed() const { return m_typingArmed; }
    uint64_t GetLastReadMsgId() const { return m_lastReadMsgId; }
    void SetMarkReadOnDestroy(bool mark) { m_markReadOnDestroy = mark; }
    bool IsCaptionBarShown() const { return m_captionBarShown; }
    // The account's preferences; every change is saved at once.
    int GetPrefInt(const char* key, int defaultValue) const;
    std::u16string GetPrefStr(const char* key, const char16_t* defaultValue) const;
    void SetPrefInt(const char* key, int value);

    // The history view's read timer: what the view shows is marked read
    // once it has stood still for `ms`.
    void RestartViewReadTimer(uint32_t ms);

    // ---- Context menus, links and operations on shown messages ----
    bool OnRClickViewEdit(TNotifyUI& msg);
    bool OnRClickChatEdit(TNotifyUI& msg);
    bool OnViewREMenuItemClick(TNotifyUI& msg);
    bool OnChatREMenuItemClick(TNotifyUI& msg);
    bool OnLinkClick(TNotifyUI& msg);
    bool OnMenuFrdItemClick(TNotifyUI& msg);
    // The resend button of a failed message.
    bool OnBtnResend(TNotifyUI& msg);
    bool OnBtnAddCollectTag(TNotifyUI& msg);
    // The message under the pointer when the history menu opened.
    int64_t GetMenuMsgId() const { return m_menuMsgId; }

private:
    // ---- Notifications and input commands ----
    bool OnBtnSendMsg(TNotifyUI& msg);
    bool OnBtnSendMsgMenu(TNotifyUI& msg);
    bool OnFastReplyMenuClick(TNotifyUI& msg);
    bool OnMenuItemClick(TNotifyUI& msg);
    bool OnBtnReceiveTypeMenu(TNotifyUI& msg);
    bool OnEditChangeNotify(TNotifyUI& msg);
    bool OnCloseBtnClick(TNotifyUI& msg);
    bool OnBtnReceiveType(TNotifyUI& msg);
    bool OnBtnMessageMrg(TNotifyUI& msg);
    bool OnIconButtoncancelClick(TNotifyUI& msg);
    bool OnBtnRichEditInfo(TNotifyUI& msg);
    bool OnZoom(TNotifyUI& msg);
    bool OnViewRichEditAddMsg(TNotifyUI& msg);
    bool OnEnterKey(TEventUI& event);
    // ---- Pictures, photos and dropped files ----
    bool OnBtnPic(TNotifyUI& msg);
    bool OnBtnPicMenu(TNotifyUI& msg);
    bool OnBtnTakePhoto(TNotifyUI& msg);
    bool OnDropFilesNotify(TNotifyUI& msg);
    bool OnDbClickREImage(TNotifyUI& msg);
    void DropPicturesIntoInput(const std::vector<std::u16string>& paths);
    // A person chat whose host lets pictures go as files sends them at once.
    void SendDroppedPictures(const std::vector<std::u16string>& paths);
    bool DropIntoAdhocChat(HDROP drop, const std::vector<std::u16string>& paths);
    void ReportDroppedFiles(HDROP drop);
    void RetryImageDownload(COleImageObj* image, CRichEditUI* edit);
    void OpenImageViewer(COleImageObj* image, CRichEditUI* edit);
    RECT m_sysPicRect;
    void ShowFastReplyMenu(CControlUI* button);
    void ShowMenuAtButton(CMenuUI* menu, CControlUI* button);
    void MarkTyping();
    qel_handle GetSessionGroup() const;
    qel_handle GetSessionCategory() const;
    // ---- History loading and display ----
    // "recent-msg-loaded": the SDK now has the messages a deferred load waits for.
    void OnRecentMsgLoaded();
    CHistoryMsgHandle m_historyMsgHandle;
    // ---- end of history loading and display ----

    // The key under which the host's control binder knows the history view.
    std::u16string ViewBinderKey() const;
    // Attribute changes of the conversation.
    void OnPartnerReadCursorChanged();
    void OnReceiptUnreadChanged(const std::string& name);

    bool OnChatViewEditEvent(TEventUI& event);
    void OnViewReadTimer();
    bool OnChatEditEvent(TEventUI& event);
    void OnTimer();
    // ---- Chat font and emoticons ----
    void LoadChatFont();
    void BindToolBarButtons();
    bool OnFontBtnEvent(TEventUI& event);
    bool OnEmoticonBtnEvent(TEventUI& event);
    bool OnFontFaceChange(TNotifyUI& msg);
    bool OnFontSizeChange(TNotifyUI& msg);
    bool OnBtnFontBold(TNotifyUI& msg);
    bool OnBtnFontItalic(TNotifyUI& msg);
    bool OnBtnFontUnderline(TNotifyUI& msg);
    bool OnBtnFontColorNotify(TNotifyUI&) { return OnBtnFontColor(); }
    bool OnBtnFontColor();
    // Toggles one effect of the input's font and the bar's option with it.
    void ToggleFontEffect(uint32_t effect, const char* key, CControlUI* option, const char* handler);
    // After a font command: usage report and focus back to the input.
    void FinishFontCommand(const char* handler);
    void OpenFontBar();
    void CloseFontBar();
    void FillFontBar();
    // Makes room above the input for the bar (opening) or gives it back.
    void MoveForFontBar(bool opening);
    // The process's popups that serve this panel stop calling it.
    void ReleaseToolPopups();
    // ---- end of chat font and emoticons ----
    void ApplyInputOnlyLayout();
    void ApplyShowScale();
    void SetCaptureToolTip();
    void HideCaptionBar();
    void ApplyWindowKindButtons();
    void ApplyPhotoButton();
    void CreateMsgHandle();
    void SetupBottomPanel();
    void OfferRecentPhotoPanel();
    void CreateContextMenuProvider();
    void RegisterUnreadCounter();
    void RequestPartnerReadCursor();
    void ReportConversationType();
    void MarkLastReadOnClose();
    // ---- tips, reminder bars and read panes ----
    void SetCurrentPosMsgRead();
    bool OnBirthRemind(TNotifyUI& msg);
    bool OnCancelBirthRemind(TNotifyUI& msg);
    bool OnCancelAtRemind(TNotifyUI& msg);
    bool OnAtMsgRemind(TNotifyUI& msg);
    bool OnAtRemind(TNotifyUI& msg);
    bool OnGrpTopMsgRemindNotify(TNotifyUI& msg);
    bool OnCancelGrpTopRemindNotify(TNotifyUI& msg);
    bool OnBtnRecieptUnReadBtn(TNotifyUI& msg);
    // The id a message shows under: the provisional id of one the user sent.
    int64_t ShownMsgId(int64_t msgId) const;
    void InsertPaneAfter(int64_t afterId, int64_t paneId, CControlUI* pane);
    void UpdateReceiptButton(const std::u16string& containerId, int unreadCount);
    std::list<uint64_t> m_grpTopMsgIds;
    // Important-message status controls: control id -> the id they stand under.
    std::map<std::u16string, int64_t> m_importantStatusIds;
    // ---- end of tips, reminder bars and read panes ----

    pfx::GUID m_windowKey;
    CRichEditExUI* m_pHistoryView = nullptr;
    CRichEditUI* m_pInputEdit = nullptr;
    std::unique_ptr<CMsgHandle> m_pMsgHandle;
    bool m_closeAfterSend = false;
    std::u16string m_sessionId;
    std::u16string m_handleId;
    std::u16string m_instanceName;
    qel_cxx_helper::WeakHandle m_account;
    IHostMsgSink* m_pHostSink = nullptr;
    bool m_hasHistory = true;
    pfx::CStrVector m_participants;
    int32_t m_participantsValue = 0;
    bool m_captionBarShown = false;
    ::CTimerSource m_marqueeTimer{3000, 3000, false};
    ::CTimerSource m_relayoutTimer{10, 0, false};
    pfx::IObject* m_pContextMenuProvider = nullptr;
    uint64_t m_lastReadMsgId = 0;
    RECT m_savedHistoryRect;
    uint64_t m_atReminderMsgId = 0;
    bool m_typingArmed = false;
    bool m_friendFeedEnabled = true;
    int64_t m_lastMarkReadTime = 0;
    int32_t m_emailPagingMode = -1;
    int32_t m_emailPageStart = 0;
    bool m_emailListEnded = false;
    bool m_markReadOnDestroy = true;
    int m_imageOversizeOption = 0;
    int m_emailDlgType = 0;

    // ---- @-mentions ----
    bool OnEditGetFocus(TNotifyUI& msg);
    // The input's key and focus events that the popup takes while visible.
    bool OnAtPopupEditEvent(TEventUI& event);
    void RaiseAtReminder(const SQelBoxMsg& record, const std::u16string& text);
    // The same, for a group looked up once for many members.
    void AddSearchItem(client::FIND_CONTAIN_MAIN& results, qel_handle buddy, qel_handle group) const;
    std::unique_ptr<CTaviSearchWindow> m_pSearchWindow;
    int32_t m_atCaretPos = 0;
    // ---- View modes, friend dynamics and the marquee ----
    struct SMarqueeEntry {
        std::u16string time;
        std::u16string event;
    };
    CNewsAnimeUI* GetMarquee();
    void RelayoutControl(const char16_t* name);
    std::vector<SMarqueeEntry> m_marqueeEntries;
    int32_t m_marqueeRounds = 0;
    int32_t m_marqueeRoundsShown = 0;
    int32_t m_marqueePhase = 0;
    int32_t m_marqueeIndex = 0;
    std::u16string m_emailSubject;
    // ---- Context menus, links and operations on shown messages ----
    void ApplyZoomItems(CMenuUI* menu);
    void OnZoomItem(const TMenuItemInfo& item);
    void ClearHistoryView();
    // The picture a menu was opened on, while it is still in the edit.
    COleImageObj* MenuImage(const TMenuItemInfo& item, CRichEditUI* edit) const;
    void OnPictureItem(const TMenuItemInfo& item, CRichEditUI* edit);
    void OpenContainingFolder(const std::u16string& path);
    void DecodeQrCode(const std::u16string& path);
    void SendMsgsByEmail();
    void ShowFriendMenu(const SLinkInfo& link);
    void JoinGroupOfLink(const SLinkInfo& link);
    void AskInstanceAboutLinkUser(int32_t itemId);
    int64_t m_menuMsgId = 0;
    std::u16string m_menuLinkUser;
    // Each collect-tip timer hides the tip once and stops.
    void HideCollectTipAfter(::CTimerSource& timer, uint32_t ms);
    ::CTimerSource m_collectTipTimer;
    ::CTimerSource m_collectTagTimer;

    // ---- Binding to another conversation and lifetime seen from outside ----
public:
    // Moves the panel to another conversation: the old one's draft is saved
    // and its handler goes, a new handler is bound to `sessionId` and the
    // history is loaded afresh. The same conversation only reloads.
    void Rebind(const pfx::GUID& windowKey, const char16_t* sessionId);
    // Expires when the panel is destroyed; the host's component may outlive it.
    std::weak_ptr<CTaviPanel* const> WeakRef() const { return m_self; }

private:
    std::shared_ptr<CTaviPanel* const> m_self = std::make_shared<CTaviPanel* const>(this);
    // ---- Chat font and emoticons ----
    CFontSettingPanel* m_pFontSettingPanel = nullptr;
    // "only_edit" in the compact view.
    std::u16string m_viewMode;
    RECT m_fontBtnRect;
    RECT m_emoticonBtnRect;
    // ---- end of chat font and emoticons ----
};

}  // namespace tavi
