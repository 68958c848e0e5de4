// The chat component of one chat window: the host's ITavi. It forwards the
// host's calls to the panel and its message handler and makes the few
// decisions of its own (hot keys, focus memory, the exit question, the
// error-report link).
#pragma once

#include <memory>

#include "module/Guids.h"
#include "module/ObjectImpl.h"
#include "sdk/tavi.h"

class CControlUI;

namespace tavi {

class CTaviPanel;
class CMsgHandle;

// Window messages and copy-data codes the component acts on.
inline constexpr uint32_t kWmActivate = 0x0006;
inline constexpr uint32_t kWmSysChar = 0x0106;
inline constexpr uint32_t kWmCopyData = 0x004A;
inline constexpr uint32_t kWmPasteRequest = 0x5223;
inline constexpr uint32_t kWmShowRequest = 0x5229;
inline constexpr uint32_t kCopyDataPicture = 0x522B;
// An edited picture: the data is its file, the word parameter the key of
// the picture of the input it replaces (a wide string, or 0).
inline constexpr uint32_t kCopyDataEditPicture = 0x522A;
inline constexpr uint32_t kCopyDataForwardFirst = 0x5DDB;
inline constexpr uint32_t kCopyDataForwardLast = 0x5FCC;
inline constexpr uint32_t kHistoryRefreshTimer = 120203;
// The layout the chat panel is built from.
inline constexpr char16_t kPanelLayout[] = u"tavi";

// The record a copy-data message points to.
struct SCopyData {
    uint32_t code;
    uint32_t size;
    const void* data;
};

class CTaviImpl final : public CObjectImpl<ITavi> {
public:
    ~CTaviImpl() override;
    pfx::GUID GetClassId() const override { return kTaviImplId; }

    bool ProcHostDuiMsg(TEventUI* event) override;
    intptr_t ProcHostWndMsg(uint32_t message, uintptr_t wparam, intptr_t lparam) override;
    bool CreatePanel(CContainerUI* parent, const STaviPanelInfo* info) override;
    void InitMsgHandle() override;
    void SetHostMsgSink(IHostMsgSink* sink) override;
    bool UpdatePanelInfo(const STaviPanelInfo* info) override;
    void SetPanelMode(int mode) override;
    void SetView(const char16_t* viewName) override;
    void SetInputEditHeight(int height) override;
    void GetAndShowMsg(int32_t a, int32_t b) override;
    CRichEditExUI* GetMsgHistoryRichEdit() override;
    CRichEditUI* GetInputRichEdit() override;
    void SendMsg() override;
    void SetCaptionBarText(const char16_t* text) override;
    void InsertInfoMsg(int64_t time, bool flag1, const char16_t* text, bool flag2, uint64_t msgId, bool checkReceipt,
                       bool flag3) override;
    void CheckPartnerUnread(uint64_t msgId) override;
    void SaveImgAsSmiley(const char16_t* path) override;
    void SetChatParticipants(pfx::IStrVector* list, int value) override;
    void InputRichEditInsertImage(const char16_t* path) override;
    void InsertSimpleInfoMsg(const char16_t* text, bool flag) override;
    void InsertSimpleInfoWarnMsg(const char16_t* text, bool flag) override;
    void InsertADHOCMsg(const char16_t* a, const char16_t* b, const char16_t* c, bool flag) override;
    void InsertADHOCFileMsg(const char16_t* a, const char16_t* b, const char16_t* c, const char16_t* d,
                            bool flag) override;
    bool IsFrdEventDisplayed() override;
    void AddMarqueeMsg(const char16_t* a, const char16_t* b) override;
    void ShowFrdEvent(int32_t a, int32_t b) override;
    void ShowCaptionBar(bool show) override;
    void ReflashBirthRemind() override;
    void InsertLinkInfoMsg(const char16_t* text, CLinkObj* link, int value, bool flag, tagTextFormat* format) override;
    void ReflashAfterMakeUp(int value) override;
    int QelSendMsg(const char16_t* body, const char16_t* extra, const char* contentType, bool show) override;
    void OnRecallMessage(SQelBoxMsg* message) override;
    void OnBurnReadMessage(SQelBoxMsg* message) override;
    void RefreshEditState() override;
    bool CanExitWhileSending() override;
    void StoreFocus() override;
    void RestoreFocus() override;
    void ShowCollectTip(int32_t a, int32_t b, int32_t c, int32_t d) override;
    void SetEmailDlgType(int type) override;
    void EmailRequest(int32_t a, int32_t b, bool flag) override;
    void SetImageOversizeOption(int option) override;
    void RefreshImportantMsgStatus(int32_t a, int32_t b, int32_t c) override;
    void SetMarkReadOnClose(bool mark) override;
    void RestartHistoryTimer() override;
    void UpdateGrpTopUnreadMsg() override;
    void PasteClipboard() override;

    // Null once the window's panel is gone, whoever still holds the component.
    CTaviPanel* GetPanel() const;

private:
    CMsgHandle* MsgHandle() const;
    void OnSysChar(uintptr_t key);
    void OnCopyData(uintptr_t wparam, const SCopyData* record);
    void ShowSimpleNotice(const char16_t* text, bool flag, const char16_t* icon);

    // The panel belongs to the window; the host may keep the component longer.
    std::weak_ptr<CTaviPanel* const> m_panel;
    bool m_panelMade = false;
    CControlUI* m_pStoredFocus = nullptr;
};

}  // namespace tavi
