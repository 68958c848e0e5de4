// What a send carries from the request to its completion: one send item
// as packed, the message data handed to the SDK, and the context that
// travels with the request as its user data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "msghandle/MsgNodes.h"
#include "sdk/display.h"
#include "sdk/pfx.h"
#include "sdk/qel_cxx_helper.h"
#include "sdk/qel_msg.h"
#include "sdk/win32.h"

class CRichEditExUI;
class CRichEditUI;

namespace tavi {

// One packed piece of the input: a content and the pictures it still needs.
struct SSendItem {
    std::string m_strContentType;
    std::string m_strContent;
    std::string m_strSummary;
    std::string m_strContentAt;
    std::vector<SUploadItem> m_uploads;
};

// Message data with the storage its pointers need.
struct SOutMsgData {
    int64_t m_time = 0;
    bool m_hasExtra = false;
    std::string m_extra;
    bool m_hasClientTag = false;
    std::string m_clientTag;
    std::string m_contentType;
    std::string m_content;
    std::string m_summary;

    // Valid while this record lives and is not changed.
    _QelMsgData Data() const;
};

// Owned by the request until its completion; counts as a message on its
// way for as long as it lives (the exit question asks while any does).
struct SSendContext {
    SSendContext();
    SSendContext(const SSendContext& other);
    SSendContext& operator=(const SSendContext&) = default;
    ~SSendContext();

    SQelBoxMsg m_record;
    SOutMsgData m_data;
    pfx::GUID m_windowKey;
    std::u16string m_handleId;
    HWND m_hwnd = nullptr;
    qel_cxx_helper::WeakHandle m_conversation;
    // Only for reading where the message went: the window is found again
    // by its handle before anything is shown.
    CRichEditExUI* m_pHistory = nullptr;
    CRichEditUI* m_pInput = nullptr;
    std::vector<SUploadItem> m_uploads;
    std::string m_contentAt;
    bool m_bResend = false;
    bool m_bResendCompanion = false;
    bool m_bSplit = false;
    int64_t m_provisionalId = 0;
    // A resend: the failed message it sends again, and its number.
    uint64_t m_resendOldMsgId = 0;
    uint64_t m_resendSerial = 0;
};

}  // namespace tavi
