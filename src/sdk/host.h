// The client's application object as the component uses it.
#pragma once

#include <cstdint>

#include "sdk/pfx.h"
#include "sdk/display.h"
#include "sdk/qel_inst.h"
#include "sdk/win32.h"

#include <functional>
#include <string>

class CControlUI;

// The host's object behind one kind of chat window (by window key).
class IChatWndObj {
public:
    virtual ~IChatWndObj() = default;
    // A flag of the window kind that the send path passes on.
    virtual bool GetHostFlag() = 0;
    // The conversation of a session id (the peer's buddy or group id) in
    // the current account; null when there is none.
    virtual qel_handle FindConversation(const char16_t* sessionId) = 0;
    // Asks the server for the conversation's server id; it arrives later.
    virtual void RequestSvrConvId(qel_handle conversation) = 0;
};

// What the host knows of a kind of chat window.
class IChatWndType {
public:
    virtual ~IChatWndType() = default;
    // Bit 0: the history view has a bottom panel; bit 1: offer the recent
    // photo panel; 0x40: remember where the unread part began.
    virtual uint32_t GetFlags() = 0;
    // The buddy category of the window's conversations (1 buddies, 2 groups).
    virtual int GetCateType() = 0;
    // The kind number of the window type (16: organisation groups).
    virtual int GetKindNum() { return 0; }
};

// The host's user-information service.
class IUserInfoService {
public:
    virtual ~IUserInfoService() = default;
    // A text shown beside the user's name instead of the id; may be empty.
    virtual std::u16string GetExtraText(const char16_t* userId) = 0;
};

// How the host shows one message: who sent it and its text as plain text.
struct SMsgDisplay {
    std::u16string senderText;
    std::u16string plainText;
};

class IAppMain {
public:
    virtual ~IAppMain() = default;
    // The current SDK instance, null when there is none; not a new reference.
    virtual qel::IQelInst* GetCurQelInst() = 0;
    // The chat window object and type of a window key; null for a kind the
    // host does not know. Not owned.
    virtual IChatWndObj* GetChatWndObj(const pfx::GUID& windowKey) = 0;
    virtual IChatWndType* GetChatWndType(const pfx::GUID& windowKey) = 0;

    // The client's main window.
    virtual HWND GetMainWnd() = 0;
    // Where the client keeps pictures (ends with a separator).
    virtual std::u16string GetPictureFolder() = 0;
    // A tip over the client's windows.
    virtual void ShowTip(const char16_t* text, const char16_t* title) = 0;
    // The renderer of a record of the conversation; null when the host has none.
    virtual IMsgRenderer* GetMsgRenderer(const SQelBoxMsg* record, const char16_t* convId) = 0;
    virtual IMsgSender* GetMsgSender(const char16_t* convId, const char16_t* instText) = 0;
    virtual IMsgTextMaker* GetMsgTextMaker(const char16_t* handleId) = 0;
    // The host's unread-message counter over a conversation's history; it
    // shows while `mayShow` answers true.
    virtual void RegisterUnreadCounter(CControlUI* counter, const char16_t* convId, const char16_t* owner, int maximum,
                                       const char16_t* format, const char16_t* overFormat,
                                       std::function<bool()> mayShow) = 0;
    // Forgets the counter; its owner calls this before it goes.
    virtual void UnregisterUnreadCounter(CControlUI* counter) = 0;
    // The conversation of a window was reloaded.
    virtual void OnConversationReloaded(HWND window, const char16_t* handleId, qel_handle conversation) = 0;

    // Input commands: the host's message manager for a conversation (code,
    // session id, extra text, category type) and the fast-reply settings.
    virtual void OpenMsgManager(int code, const char* sessionId, const char* extra, int cateType) = 0;
    virtual void OpenFastReplySetting(const char16_t* handleId, int a, int b) = 0;

    // ---- @-mentions ----
    // Null when the client offers no user-information service.
    virtual IUserInfoService* GetUserInfoService() = 0;
    // The display object of a shown record; false when the host has none.
    virtual bool GetMsgDisplay(const SQelBoxMsg& record, const char16_t* sessionId, SMsgDisplay& out) = 0;
    // The host's tip of that name over the window (shown once where the host keeps count).
    virtual void ShowTipByName(const char16_t* name, HWND window) = 0;
    // ---- read state and reminder bars ----
    // The host's receipt service: who has read a receipt message.
    virtual void OpenReceiptDetails(uint64_t msgId, const char16_t* convId, const char16_t* groupId) = 0;
    // A group-top notice, shown the host's own way over a chat window.
    virtual void ShowGrpTopNotice(qel_handle message, HWND window) = 0;
    // A message that the chat window's history does not hold, shown apart.
    virtual void ShowMsgOutsideView(qel_handle message, HWND window) = 0;
    // ---- usage reports ----
    // A use of a feature, for the client's usage statistics.
    virtual void ReportUsageEvent(const char* event, const char* action, HMODULE instance) = 0;
};

IAppMain* GetAppMain();
