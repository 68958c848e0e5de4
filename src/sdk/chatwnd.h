// The host's chat windows and their manager, as the component uses them.
#pragma once

#include <cstdint>

#include "sdk/tavi.h"
#include "sdk/ui/WindowUI.h"

// A chat window of the host: it holds one conversation's component.
class CChatWindowUI : public CWindowExUI {
public:
    // The window's component with one more reference; null when none.
    virtual tavi::ITavi* QueryTAVI() = 0;
    // The window's component, not a new reference.
    virtual tavi::ITavi* GetTavi() = 0;
    // Whether the window shows its combined list of conversations.
    virtual bool IsShowCombineList() = 0;
};

class IChatWndMgr {
public:
    virtual ~IChatWndMgr() = default;
    // The component of the chat window with one more reference; false when
    // the window is not a chat window of this manager.
    virtual bool GetTavi(HWND hwnd, tavi::ITavi** out) = 0;
    virtual bool IsManagedWnd(HWND hwnd) = 0;
    // The chat window the user is looking at.
    virtual HWND GetCurrentChatWnd() = 0;
    virtual void CloseChatWnd(HWND hwnd) = 0;
    virtual void CloseCombinedChatWnd(HWND hwnd) = 0;
    // Bracket an update of the partner's read cursor.
    virtual void BeginPartnerCursorUpdate(HWND hwnd) = 0;
    virtual void EndPartnerCursorUpdate(HWND hwnd) = 0;
    // Opens (or brings forward) the chat window of that kind with a peer.
    virtual void OpenChatWnd(const pfx::GUID& windowKey, const char16_t* sessionId) = 0;
};

IChatWndMgr* GetChatWndMgr();
