// The interfaces the module offers to the host and to other modules.
#pragma once

#include <string>

#include "sdk/pfx.h"
#include "sdk/pfx_containers.h"
#include "sdk/win32.h"

class CContainerUI;
class CLinkObj;
class CRichEditExUI;
class CRichEditUI;
struct SQelBoxMsg;
struct TEventUI;
struct tagTextFormat;

namespace tavi {

// Reports the text emoticon the user chose.
struct IEmoticonCallBack {
    virtual ~IEmoticonCallBack() = default;
    virtual void OnSelEmoticon(const char16_t* name, const char16_t* description) = 0;
};

// The shared emoticon picker.
struct IEmoticonBrowser : pfx::IObject {
    virtual void Show(RECT anchor, IEmoticonCallBack* callback, void* faceCallback) = 0;
    virtual bool IsOnShow() = 0;
};

// Turns a rich edit's content into plain text, emoji back in text form.
struct IQelMsgHandle : pfx::IObject {
    virtual void PreProcessMsg(std::u16string& text, CRichEditUI* richEdit) = 0;
};

// What the host tells the component about a chat window.
struct STaviPanelInfo {
    pfx::GUID windowKey;
    const char16_t* sessionId = nullptr;
    const char16_t* instanceName = nullptr;
    bool historyShown = true;
};

// The host's callback object of one chat window: it receives Alt+H and
// the forwarded copy-data codes, the panel's events, and says whether the
// window must stay open after a send.
struct IHostMsgSink {
    virtual ~IHostMsgSink() = default;
    virtual intptr_t HandleMsg(uint32_t code, uintptr_t wparam, intptr_t lparam) = 0;
    // Codes: 0 picture show changed, 1 a link the panel does not handle,
    // 3 dropped files, 40 a group conversation of type 6.
    // 4: a picture to send as a file (a: the participants, b: its path as
    // const char16_t*, valid during the call).
    virtual void OnHostEvent(int code, intptr_t a, intptr_t b) = 0;
    virtual bool MustStayOpen() = 0;
};

// The chat component of one chat window, as the host's window holds it.
struct ITavi : pfx::IObject {
    virtual bool ProcHostDuiMsg(TEventUI* event) = 0;
    virtual intptr_t ProcHostWndMsg(uint32_t message, uintptr_t wparam, intptr_t lparam) = 0;
    virtual bool CreatePanel(CContainerUI* parent, const STaviPanelInfo* info) = 0;
    virtual void InitMsgHandle() = 0;
    virtual void SetHostMsgSink(IHostMsgSink* sink) = 0;
    virtual bool UpdatePanelInfo(const STaviPanelInfo* info) = 0;
    virtual void SetPanelMode(int mode) = 0;
    virtual void SetView(const char16_t* viewName) = 0;
    virtual void SetInputEditHeight(int height) = 0;
    virtual void GetAndShowMsg(int32_t a, int32_t b) = 0;
    virtual CRichEditExUI* GetMsgHistoryRichEdit() = 0;
    virtual CRichEditUI* GetInputRichEdit() = 0;
    virtual void SendMsg() = 0;
    virtual void SetCaptionBarText(const char16_t* text) = 0;
    virtual void InsertInfoMsg(int64_t time, bool flag1, const char16_t* text, bool flag2, uint64_t msgId,
                               bool checkReceipt, bool flag3) = 0;
    virtual void CheckPartnerUnread(uint64_t msgId) = 0;
    virtual void SaveImgAsSmiley(const char16_t* path) = 0;
    virtual void SetChatParticipants(pfx::IStrVector* list, int value) = 0;
    virtual void InputRichEditInsertImage(const char16_t* path) = 0;
    virtual void InsertSimpleInfoMsg(const char16_t* text, bool flag) = 0;
    virtual void InsertSimpleInfoWarnMsg(const char16_t* text, bool flag) = 0;
    virtual void InsertADHOCMsg(const char16_t* a, const char16_t* b, const char16_t* c, bool flag) = 0;
    virtual void InsertADHOCFileMsg(const char16_t* a, const char16_t* b, const char16_t* c, const char16_t* d,
                                    bool flag) = 0;
    virtual bool IsFrdEventDisplayed() = 0;
    virtual void AddMarqueeMsg(const char16_t* a, const char16_t* b) = 0;
    virtual void ShowFrdEvent(int32_t a, int32_t b) = 0;
    virtual void ShowCaptionBar(bool show) = 0;
    virtual void ReflashBirthRemind() = 0;
    virtual void InsertLinkInfoMsg(const char16_t* text, CLinkObj* link, int value, bool flag,
                                   tagTextFormat* format) = 0;
    virtual void ReflashAfterMakeUp(int value) = 0;
    // Sends a ready content: body, extra text, content type, shown or not.
    virtual int QelSendMsg(const char16_t* body, const char16_t* extra, const char* contentType, bool show) = 0;
    virtual void OnRecallMessage(SQelBoxMsg* message) = 0;
    virtual void OnBurnReadMessage(SQelBoxMsg* message) = 0;
    virtual void RefreshEditState() = 0;
    virtual bool CanExitWhileSending() = 0;
    virtual void StoreFocus() = 0;
    virtual void RestoreFocus() = 0;
    virtual void ShowCollectTip(int32_t a, int32_t b, int32_t c, int32_t d) = 0;
    virtual void SetEmailDlgType(int type) = 0;
    virtual void EmailRequest(int32_t a, int32_t b, bool flag) = 0;
    virtual void SetImageOversizeOption(int option) = 0;
    virtual void RefreshImportantMsgStatus(int32_t a, int32_t b, int32_t c) = 0;
    virtual void SetMarkReadOnClose(bool mark) = 0;
    virtual void RestartHistoryTimer() = 0;
    virtual void UpdateGrpTopUnreadMsg() = 0;
    virtual void PasteClipboard() = 0;
};

}  // namespace tavi
