// The SDK's extension library: shortcuts over the SDK for the current
// account, conversations, messages and requests.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/qel.h"
#include "sdk/qel_conversation.h"
#include "sdk/qel_msg.h"

namespace qel_ext {

// The current SDK instance's account; null when there is none.
qel_handle QelGetCurAccount();
// The current account's conversations; null without an account.
qel_handle QelGetCurConversations();

// The conversation's id on the server; empty until the server gave one.
std::string QelConvGetSvrConvId(qel_handle conv);

// Unread received messages newer than `beginId`, newest first, at most
// `limit`; `withSent` also lists the user's own unconfirmed messages.
int QelConvGetUnreadPageRecord(qel_handle conv, uint64_t beginId, int limit, qel_handle** list, int* count,
                               bool withSent);
// The newest read messages (the user's own count as read), newest first.
int QelConvGetReadPageRecord(qel_handle conv, uint64_t beginId, int limit, qel_handle** list, int* count);

// Read marks: the requests tell the server, the _ex calls mark locally.
int QelConvRequestSetMsgReaded(qel_handle conv, qel_handle msg);
int QelConvRequestSetReaded(qel_handle conv);
void QelConvSetReadedAndAcked_ex(qel_handle conv, const char* reason);
// Marks the message and every older received message read and acknowledged.
void QelMsgSetReadedAndAcked_ex(qel_handle msg, const char* reason);

// Sends message data. `accountOrOldMsg` is the account for a new message
// or a failed message of the conversation to send again (data may then be
// empty: the old content is used). Answers at once like
// qel_conversation_request_send_chat_message.
int QelConversationRequestSendChatMessage(qel_handle conv, qel_handle accountOrOldMsg, const _QelMsgData* data,
                                          const char* contentAt, qel_send_msg_callback callback, void* userData);
// Uploads a file of a type ("image") under its cache name. 0 when taken
// (the completion follows), -1 when refused.
int QelConversationRequestUploadAttachment(qel_handle conv, const char* type, const char* cacheName,
                                           const char* localPath, qel_upload_callback callback, void* userData);
// Reminders to the partner: 1 typing (value null), 2 shake ("normal").
int QelConversationSetReminder(qel_handle conv, int type, const char* value);

bool QelMsgIsRecall(qel_handle msg);
bool QelMsgIsBurnRead(qel_handle msg);
bool QelMsgIsReciept(qel_handle msg);
bool QelMsgIsSendFail(qel_handle msg);

qel_handle QelSmileysFindSmiley(qel_handle smileys, const char* key);

// Message ids in decimal; an unreadable text gives 0.
std::string MsgId2Str(uint64_t msgId);
uint64_t Str2MsgId(const std::string& text);

// 64-bit message-id attributes of an object (its main set).
uint64_t GetQELAttribs_msg_id(qel_handle object, const char* key);
void SetQELAttribs_msg_id(qel_handle object, const char* key, uint64_t msgId, int mode);

}  // namespace qel_ext
