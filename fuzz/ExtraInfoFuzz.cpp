// The JSON records that travel with messages: the extra information from
// the server and the attachment record of a message still uploading.
// Whatever is read must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FreshStandIn.h"

#include "msghandle/MsgExtraInfo.h"

using namespace tavi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The stand-in keeps every log line; none survives the input.
    const fuzz::FreshStandIn standIn;

    SMsgExtraInfo info;
    const bool isObject = ParseMsgExtraInfo(input, info);
    // Storing a receipt's unread count keeps every other member it had.
    const std::string updated = SetExtraInfoUnreadNum(input, 7);
    SMsgExtraInfo again;
    if (!ParseMsgExtraInfo(updated, again) || again.m_nUnreadNum != 7) __builtin_trap();
    info.m_nUnreadNum = 7;
    if (isObject && !(again == info)) __builtin_trap();
    if (ReceiptGoesToAll(input) && !ReceiptGoesToAll(updated)) __builtin_trap();

    SAttachmentRecord record;
    if (ReadAttachmentRecord(input, record)) {
        SAttachmentRecord copy;
        if (!ReadAttachmentRecord(WriteAttachmentRecord(record.m_items, record.m_strContentAt), copy)) __builtin_trap();
        if (copy.m_items != record.m_items || copy.m_strContentAt != record.m_strContentAt) __builtin_trap();
    }
    return 0;
}
