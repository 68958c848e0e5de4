// The SDK's messages: a 64-bit id, the conversation's sequence number, the
// flags and the message data record.
#pragma once

#include <cstdint>

#include "sdk/qel.h"

// The message data record. Outgoing data is made by the caller (all bytes
// zero, then the fields it knows); the SDK's copy of a stored message
// lives as long as the message.
struct _QelMsgData {
    int64_t time;              // send time, server-adjusted seconds
    const char* extra_info;    // UTF-8 JSON, may be null
    const char* client_tag;    // UTF-8, the sending window's handle id, may be null
    const char* content_type;  // "text/plain", "rich/xml", "img/xml", ...
    const char* content;       // UTF-8 body
    const char* summary;       // UTF-8 plain-text form
    const char* sender_id;     // filled by the SDK
    uint64_t conv_msg_id;      // the conversation's sequence number, filled by the SDK
    int type;                  // 1: a message of a kind that may always be recalled
};

// Message flags (qel_msg_get_flag).
enum : uint32_t {
    QEL_MSG_FLAG_SENT = 1u << 0,        // sent by the current user
    QEL_MSG_FLAG_READ = 1u << 1,
    QEL_MSG_FLAG_ACKED = 1u << 2,
    QEL_MSG_FLAG_RECALLED = 1u << 3,
    QEL_MSG_FLAG_BURN_READ = 1u << 4,   // burnt after reading
    QEL_MSG_FLAG_RECEIPT = 1u << 5,     // sent with a read receipt
    QEL_MSG_FLAG_SEND_FAIL = 1u << 6,
    QEL_MSG_FLAG_IMPORTANT = 1u << 7,
    QEL_MSG_FLAG_LOCAL = 1u << 8,       // kept on this machine only (pending or failed outgoing)
    QEL_MSG_FLAG_IMPORTANT_CONFIRM = 1u << 9,
    QEL_MSG_FLAG_GRP_TOP = 1u << 10,    // stuck to the group top
};

extern "C" {

uint64_t qel_msg_get_id(qel_handle msg);
uint64_t qel_msg_get_conv_msg_id(qel_handle msg);
uint32_t qel_msg_get_flag(qel_handle msg);
// Null for a null message or one without data.
const _QelMsgData* qel_msg_get_data(qel_handle msg);
qel_handle qel_msg_get_conversation(qel_handle msg);
// Replaces the extra information (UTF-8 JSON); the data's pointer changes.
void qel_msg_set_extra_info(qel_handle msg, const char* extraInfo);

bool qel_msg_is_important(qel_handle msg);
bool qel_msg_is_important_confirm(qel_handle msg);
bool qel_msg_is_grp_top(qel_handle msg);

}  // extern "C"
