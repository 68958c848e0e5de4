// The application object's chat window objects and types, which answer
// from the stand-in SDK's current account.
#pragma once

#include "sdk/host.h"

namespace sim::sdk {

IChatWndObj* FindChatWndObj(const pfx::GUID& windowKey);
IChatWndType* FindChatWndType(const pfx::GUID& windowKey);

}  // namespace sim::sdk
