// The client's application object as the component uses it.
#pragma once

#include <cstdint>

#include "sdk/pfx.h"
#include "sdk/qel_inst.h"

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
};

IAppMain* GetAppMain();
