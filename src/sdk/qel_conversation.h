// The SDK's conversations: identity, their messages by id and by
// sequence number, page reads, read and acknowledge marks, and the
// requests whose completions arrive later on the UI thread.
#pragma once

#include <cstdint>

#include "sdk/qel.h"
#include "sdk/qel_msg.h"

// Error codes of the stand-in's requests (besides those the server sends).
enum : int {
    QEL_OK = 0,
    QEL_ERR_INVALID_ARG = -1,
    QEL_ERR_NOT_LOGGED_IN = -2,
    QEL_ERR_CONV_GONE = -3,
    QEL_ERR_MSG_NOT_FOUND = -4,
};

// Completion of a send: the result (0 sent), the caller's user data, the
// message id under which the SDK stored the message (0 when it stored
// nothing) and the id of the stored message that this send replaced (the
// old message of a re-send; 0 otherwise).
using qel_send_msg_callback = void (*)(int errorCode, void* userData, uint64_t msgId, uint64_t replacedMsgId);
// Completion of an upload: the result, the user data, the cache name that
// was uploaded and the key under which the server keeps it ("" on failure).
using qel_upload_callback = void (*)(int errorCode, void* userData, const char* cacheName, const char* key);
// Completion of a recall or of a conversation-information request.
using qel_request_callback = void (*)(int errorCode, void* userData);

extern "C" {

const char* qel_conversation_get_id(qel_handle conv);
// "im" for a one-to-one chat, "group" for a group chat.
const char* qel_conversation_get_channel_id(qel_handle conv);
qel_handle qel_conversation_get_account(qel_handle conv);
// The peer: a buddy for a one-to-one chat, a buddy group for a group chat.
qel_handle qel_conversation_get_buddy(qel_handle conv);
qel_handle qel_conversation_get_buddy_group(qel_handle conv);

qel_handle qel_account_conversations(qel_handle account);
qel_handle qel_conversations_find_conversation(qel_handle conversations, const char* convId);
// Asks the server to let the account join a group conversation (a join
// link names it by id); 0 when the request was taken.
int qel_conversations_request_join_conversation(qel_handle conversations, const char* convId);

qel_handle qel_conversation_find_msg(qel_handle conv, uint64_t msgId);
qel_handle qel_conversation_find_msg_from_conv_msg_id(qel_handle conv, uint64_t convMsgId);

// Messages with begin <= id <= end, newest first, at most `limit` (the
// newest of the range). reserved, order and flags are 0, 1 and 0. The list
// is released with qel_release_handle_array; answers 0 on success.
int qel_conversation_get_page_record(qel_handle conv, uint64_t beginId, uint64_t endId, int reserved, int limit,
                                     int order, qel_handle** list, int* count, int flags);
// The group-top messages, newest first, page `page` (from 1) of `pageSize`.
int qel_conversation_get_grptop_page_record(qel_handle conv, int page, int pageSize, qel_handle** list, int* count);

// Marks received messages up to `msgId` (0: all) read, resp. acknowledged.
void qel_conversation_set_readed_ex(qel_handle conv, uint64_t msgId, const char* reason);
void qel_conversation_set_acked_ex(qel_handle conv, uint64_t msgId, const char* reason);

// Recent messages: with the multi-threaded database a conversation's
// recent messages may not be in memory yet; the request answers later by
// changing the conversation's attribute "recent-msg-loaded".
bool qel_conversation_is_recent_msg_ready(qel_handle conv);
int qel_conversation_request_load_recent_msg(qel_handle conv, int mode);

// Stores an outgoing message locally (pending, not sent); null on failure.
qel_handle qel_conversation_add_new_outgoing_msg(qel_handle conv, const _QelMsgData* data);
// Stores an outgoing message locally as failed; null on failure.
qel_handle qel_conversation_add_send_fail_msg(qel_handle conv, const _QelMsgData* data);
// Removes a stored message; its handle turns null. 0 when it was removed.
int qel_conversation_remove_record_and_msg(qel_handle conv, uint64_t msgId);

// Sends a ready content. Answers at once: 0 when the request was taken
// (the completion follows on a later turn), else an error code and no
// completion.
int qel_conversation_request_send_chat_message(qel_handle conv, int flags, const char* contentType,
                                               const char* contentAt, const char* content, const char* summary,
                                               qel_send_msg_callback callback, void* userData);
int qel_conversation_request_recall_message(qel_handle conv, qel_handle msg, qel_request_callback callback,
                                            void* userData);
int qel_conversation_request_conv_info(qel_handle conv, const char* svrConvId, qel_request_callback callback,
                                       void* userData);
int qel_conversation_request_partner_read_cursor(qel_handle conv);
// Asks for fresh unread counts of receipt messages; they arrive as
// changes of the conversation's "receipt-unread-msgid…" attributes.
int qel_conversation_request_receipt_summary(qel_handle conv, const qel_handle* msgs, int count, int reserved,
                                             int flags);

}  // extern "C"
