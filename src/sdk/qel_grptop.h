// The group-top service behind the current account's service bus: it
// keeps which group-top messages the user has seen or dismissed.
#pragma once

#include "sdk/qel.h"
#include "sdk/win32.h"

// The bus interface id under which the account offers the service.
inline constexpr const char* kQelGrpTopServiceId = "8305C1B6-6F7C-43A6-B341-2CDCA27ED9B4";

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
