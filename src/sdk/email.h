// The client's e-mail service, reached on the SDK's service bus of the
// current account: sending an e-mail, the e-mails exchanged with a peer,
// and marking a peer's e-mails as seen.
#pragma once

#include <cstdint>

#include "sdk/qel.h"
#include "sdk/win32.h"

// One e-mail as the service hands it out; the texts live until the
// completion returns.
struct SEmailItem {
    const char* folder;  // "inbox", "sent", ...
    const char* raw;     // header, an empty line "\r\n\r\n", body
    const char* sender;
    int64_t time;
};

using email_send_callback_t = void (*)(int result, HWND window, void* userData);
using email_get_messages_p2p_callback_t = void (*)(int result, const SEmailItem* const* items, int count, int flag,
                                                   HWND window, void* userData);
using email_set_seen_callback_t = void (*)(int result, void* userData);

class IEmailService {
public:
    virtual ~IEmailService() = default;
    // 0 when the request was taken; the completion follows later.
    virtual int SendEmail(const char* receiver, const char* subject, const char* body, const char* kind, HWND window,
                          email_send_callback_t callback, void* userData) = 0;
    virtual int GetMessagesP2P(const char* peerId, int64_t offset, int64_t count, int flag, HWND window,
                               email_get_messages_p2p_callback_t callback, void* userData) = 0;
    virtual int SetSeen(const char* peerId, email_set_seen_callback_t callback, void* userData) = 0;
};
