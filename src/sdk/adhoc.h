// The host's sender of ad-hoc chat messages: ad-hoc windows do not send
// through a conversation but hand each item to this service.
#pragma once

#include "sdk/pfx.h"
#include "sdk/win32.h"

// The class under which the host's registry creates the sender.
inline constexpr pfx::GUID kAdhocSenderId = pfx::MakeGuid("{5A1D7C3E-2B64-4F0A-9E1B-7C2D4E6F8A90}");

struct IAdhocSender : pfx::IObject {
    // Sends one content for the chat window; 0 when it was taken.
    virtual int SendAdhocMsg(const char* contentType, const char* body, const char* summary, HWND window) = 0;
};
