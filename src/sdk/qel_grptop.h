// The group-top service behind the current account's service bus: it
// keeps which group-top messages the user has seen or dismissed.
#pragma once

#include "sdk/qel.h"
#include "sdk/win32.h"

// Completion of a group-top request: 0 when done; the caller's context.
using qel_grptop_callback = void (*)(int errorCode, void* context);

struct IQelGrpTopService {
    // The user has seen these group-top messages. 0 when the request was taken.
    virtual int SetGrpTopMsgRead(const qel_handle* msgs, int count, qel_grptop_callback callback, HWND context) = 0;
    // The user dismissed the message's group-top bar. 0 when the request was taken.
    virtual int CancelGrpTopRemind(qel_handle msg, qel_grptop_callback callback, HWND context) = 0;

protected:
    ~IQelGrpTopService() = default;
};
