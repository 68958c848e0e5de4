// The client common library's display records and the functions that
// render messages and notices into message views.
#pragma once

#include <cstdint>
#include <string>

#include "sdk/qel.h"
#include "sdk/qel_msg.h"

class CRichEditExUI;
class CRichEditUI;

// The display record of one message.
struct SQelBoxMsg {
    int64_t msgId = 0;        // the id the view knows it by (provisional, SDK, or -2 for a draft)
    uint64_t sdkMsgId = 0;    // the SDK's id, 0 before the SDK has answered
    uint64_t convMsgId = 0;
    int64_t time = 0;
    std::u16string convId;
    std::u16string senderId;
    std::u16string senderName;  // shown instead of the id when set
    std::string contentType;
    std::string content;      // UTF-8 body
    std::string summary;      // UTF-8
    std::string extraInfo;    // UTF-8 JSON
    std::u16string instText;  // the SDK instance's text for the record
    bool history = false;     // goes above what the view holds
    bool received = false;
    qel_handle message = nullptr;
};

// Fills the record from a message's data; false without data.
bool CreateQelBoxMsg(SQelBoxMsg& record, const _QelMsgData* data, qel_handle message, qel_handle conversation,
                     bool history, const char16_t* convId);

// A notice line in a message view. `text` may carry the notice form
// "&<txt>*%d:%u:<text><txt>&" and links "&<link>...<link>&". A notice with
// a message id stands under that id, else under an id of its own.
void ShowNotifyMsgInRE(int64_t time, bool flag1, const char16_t* text, CRichEditExUI* view, bool flag2,
                       const char16_t* icon, bool simple, uint64_t msgId, int pos, bool flag3);
void ShowADHOCMsgInRE(const char16_t* a, const char16_t* b, const char16_t* c, CRichEditExUI* view, bool flag);
void ShowADHOCFileMsgInRE(const char16_t* a, const char16_t* b, const char16_t* c, const char16_t* d,
                          CRichEditExUI* view, bool flag);
// An error line at the bottom of the view.
void InsertSimpleErrorMsg(CRichEditExUI* view, const char16_t* text);
// Marks the shown message failed (re-sendable) with the notice beside it.
void ShowSendMsgFailInRE(CRichEditExUI* view, int64_t shownId, const char16_t* msgIdText, const char16_t* notice);

// Where a record is rendered: the host's renderer and sender objects.
class IMsgSender {
public:
    virtual ~IMsgSender() = default;
};

class IMsgRenderer {
public:
    virtual ~IMsgRenderer() = default;
    // Renders the record into the edit: a message view puts a history
    // record above everything and a new one at the bottom; an input edit
    // takes the content itself (text and pictures), as a draft comes back.
    virtual bool RenderMsg(SQelBoxMsg& record, CRichEditUI* edit, IMsgSender* sender, const char16_t* handleId, int a,
                           int b) = 0;
    // Notes that a rendered record was recalled (the renderer may drop what
    // it keeps of it).
    virtual void NoteRecalledMsg(const SQelBoxMsg& record, const char16_t* handleId) { (void)record, (void)handleId; }
};

// Turns a record into the text the user knows it by.
class IMsgTextMaker {
public:
    virtual ~IMsgTextMaker() = default;
    virtual std::u16string GetMsgText(const SQelBoxMsg& record) = 0;
};

// The time of a message as the client writes it.
std::u16string IMMsgTransTime(int64_t time, bool withDate);
