#include "msghandle/SendState.h"

namespace tavi {

namespace {
int g_sending = 0;
}  // namespace

int GetSendingMsgCount() { return g_sending; }
void OnSendStarted() { ++g_sending; }
void OnSendFinished() {
    if (g_sending > 0) --g_sending;
}

}  // namespace tavi
