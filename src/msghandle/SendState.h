// How many messages are on their way to the SDK, process-wide: the exit
// question asks the user while any is.
#pragma once

namespace tavi {

int GetSendingMsgCount();
void OnSendStarted();
void OnSendFinished();

}  // namespace tavi
