// An SDK instance as the host hands it out: the account of a window.
#pragma once

#include <string>

#include "sdk/pfx.h"
#include "sdk/qel.h"
#include "sdk/win32.h"

namespace qel {

struct IQelInst : pfx::IObject {
    virtual qel_handle GetAccount() = 0;
    // The instance's text that display records carry (their sender lookup uses it).
    virtual std::u16string GetInstText() = 0;
    // The protocol the instance speaks ("prpl-kiv-vt", ...).
    virtual std::string GetProtocolId() { return std::string(); }

    // What the instance does for the user when asked: shows a user's card
    // (data: the user id, const char16_t*) or asks to add a friend (data:
    // SAddFriendRequest*). True when it took the request.
    virtual bool DoOperation(int operation, const void* data) {
        (void)operation, (void)data;
        return false;
    }
};

inline constexpr int kQelInstShowUser = 1;
inline constexpr int kQelInstAddFriend = 2;

struct SAddFriendRequest {
    std::u16string userId;
    std::u16string name;  // as the user is shown
    HWND window = nullptr;
};

}  // namespace qel
