// Keeps the pieces of a long send in order: every piece is shown at once,
// but a conversation's pieces reach the SDK one by one, and a piece that
// uploads pictures first holds back the ones behind it.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "msghandle/MsgSendContext.h"

namespace tavi {

struct SSplitPiece {
    SSendItem m_item;
    int64_t m_provisionalId = 0;
};

struct SSplitRecord {
    pfx::GUID m_windowKey;
    std::u16string m_handleId;
    bool m_hostFlag = false;
    HWND m_hwnd = nullptr;
    qel_cxx_helper::WeakHandle m_conversation;
    CRichEditExUI* m_pHistory = nullptr;
    CRichEditUI* m_pInput = nullptr;
    std::deque<SSplitPiece> m_pieces;
};

class CMsgSplitSendMgr {
public:
    // Created on first use; destroyed with the module's plug-in.
    static CMsgSplitSendMgr* Instance();
    static void Destroy();

    // Appends to the conversation's queue, or starts one.
    void PushMsg2SendMap(const std::u16string& convId, SSplitRecord record);
    // Hands the conversation's first waiting piece to the send path.
    void SendNextSplitMsg(qel_handle conversation);
    bool HasPending(const std::u16string& convId) const { return m_records.count(convId) != 0; }

private:
    std::map<std::u16string, SSplitRecord> m_records;
};

}  // namespace tavi
