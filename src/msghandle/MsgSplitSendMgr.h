// Keeps the messages of a conversation in order on their way to the SDK:
// every piece of a long send is shown at once, but the SDK gets a
// conversation's pieces one by one, and a message that uploads pictures
// first holds back whatever was sent after it, across sends and across
// the windows that show the conversation.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "msghandle/MsgSendContext.h"

namespace tavi {

struct SSplitPiece {
    SSendItem m_item;
    int64_t m_provisionalId = 0;
    // The provisional id of the first piece of the same send.
    int64_t m_sendId = 0;
    // The window that showed the piece: two windows may share a conversation.
    pfx::GUID m_windowKey;
    std::u16string m_handleId;
    bool m_hostFlag = false;
    HWND m_hwnd = nullptr;
    CRichEditExUI* m_pHistory = nullptr;
    CRichEditUI* m_pInput = nullptr;
};

struct SSplitRecord {
    qel_cxx_helper::WeakHandle m_conversation;
    std::deque<SSplitPiece> m_pieces;
    // The message whose pictures are uploading; nothing behind it goes.
    std::optional<int64_t> m_uploadingId;
    // The send it belongs to.
    int64_t m_uploadingSendId = 0;
};

class CMsgSplitSendMgr {
public:
    // Created on first use; destroyed with the module's plug-in.
    static CMsgSplitSendMgr* Instance();
    static void Destroy();

    // Appends to the conversation's queue, or starts one.
    void PushMsg2SendMap(const std::u16string& convId, SSplitRecord record);
    // Hands the conversation's queued pieces to the send path in order,
    // until one waits for its pictures.
    void SendNextSplitMsg(qel_handle conversation);
    // Pieces wait or a message uploads: a new send goes behind them.
    bool IsBusy(qel_handle conversation) const;
    // A message of the conversation uploads its pictures before its send.
    void OnUploadStarted(qel_handle conversation, int64_t provisionalId);
    // Its upload ended, in a send request or a failure: the queue goes on.
    // A request refused at once (`refusedCode`) holds back the rest of its
    // send as a refused piece does.
    void OnUploadSettled(int64_t provisionalId, int refusedCode = 0);

private:
    // The rest of a send whose piece was refused stays unsent and failed.
    void HoldBackRestOfSend(const std::u16string& convId, int64_t sendId, int errorCode);

    std::map<std::u16string, SSplitRecord> m_records;
};

}  // namespace tavi
