// What the operations on shown messages need of the SDK, the client common
// library and the host: favourites, the important-message service of the
// account's bus, the business facts of messages, and the host's services
// that the history view's context menu uses.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sdk/pfx.h"
#include "sdk/qel.h"
#include "sdk/win32.h"

class CMenuUI;
class CRichEditUI;
struct SQelBoxMsg;
struct TNotifyUI;

// ---- SDK: favourites ----

// Completion of a favourite request: the result (0 stored) and the user data.
using qel_favorite_callback = void (*)(int errorCode, void* userData);

extern "C" {
// Adds a message of a conversation to the account's favourites. Answers
// at once: 0 when the request was taken (the completion follows later),
// else an error code and no completion.
int qel_account_add_new_favorite(qel_handle account, qel_handle conv, qel_handle msg, int64_t runtimeValue,
                                 int flags, const char* title, const char* tags, const char* note,
                                 const char* sourceKey, qel_favorite_callback callback, void* userData);
}  // extern "C"

// ---- SDK: the important-message service of the account's bus ----

using qel_important_msg_callback = void (*)(int errorCode, void* userData);

struct IImportantMsgService {
    virtual ~IImportantMsgService() = default;
    // Sticks the message to its group's top (mode 0), resp. removes it
    // from there (mode 1). 0 when the request was taken; the completion
    // follows later. Any other answer: no completion.
    virtual int StickMsg(qel_handle msg, int mode, qel_important_msg_callback callback, void* userData) = 0;
    virtual int CancelStickMsg(qel_handle msg, int mode, qel_important_msg_callback callback, void* userData) = 0;
};

// ---- The client common library ----

namespace common {

// Whether the client offers group-top messages at all.
bool HasGrpTopMsg();
// The business type of a message ("bonus", "notice", …); "" when none.
std::string GetMsgDataBiz(qel_handle msg);
// Whether the group sticks messages of this kind automatically once sent.
bool IsGrpAutoTopType(qel_handle group, qel_handle msg);
// Who sent the record's message, and who recalled it ("" when nobody did).
std::u16string GetSenderUserId(const SQelBoxMsg& record);
std::u16string GetRecallSenderUserId(const SQelBoxMsg& record);
// The name the record's sender is shown by (in the group when asked).
std::u16string GetNickName(const SQelBoxMsg& record, bool inGroup);
// Removes separators at the ends of a menu and runs of them.
void FiltMenuDecollator(CMenuUI* menu);

}  // namespace common

// ---- Links in a message view ----

// What a link click (UINOTIFY_LINK) carries as its second parameter.
struct SLinkInfo {
    int type = 0;             // 14 a user, 19 resend a message, 20 join a group, 32 error report, …
    std::u16string text;      // what the link shows
    std::u16string targetId;  // the user, message or group it names
    long start = 0;           // its range in the view
    long end = 0;
};

// ---- The host's services ----

namespace pfx {

// Items that other modules add to the history view's context menu.
struct IContextMenuExtension {
    virtual ~IContextMenuExtension() = default;
    // Adds its items to the menu of the view; params holds "user_id".
    virtual void AddMenuItems(CMenuUI* menu, CRichEditUI* view, const std::map<std::u16string, std::u16string>& params) = 0;
    // A command of the menu; true when it was one of its own items.
    virtual bool OnMenuCommand(TNotifyUI& msg, const char* caller) = 0;
};

// The context-menu provider the panel creates through the host's class
// factory; QueryObject with this id gives its IContextMenuProvider.
inline constexpr GUID kContextMenuProviderIid = MakeGuid("{6C1B0E52-3A41-4D7E-9E0B-1F2A3C4D5E60}");
struct IContextMenuProvider {
    virtual ~IContextMenuProvider() = default;
    virtual int GetExtensionCount() = 0;
    virtual IContextMenuExtension* GetExtension(int index) = 0;
};

// The e-mail service, registered with the host under this name.
inline constexpr const char16_t* kEmailServiceName = u"EmailService";
inline constexpr GUID kEmailServiceIid = MakeGuid("{0E7D5A61-92C4-4B1F-8D3E-6A5B4C3D2E11}");
struct IEmailService {
    virtual ~IEmailService() = default;
    // True when the conversation's messages need a warning before they go
    // out by e-mail.
    virtual bool CheckConversation(qel_handle conv, const char16_t* sessionId) = 0;
    // Opens the composer for the window with these messages (SDK ids).
    virtual void OpenComposer(HWND owner, const std::vector<uint64_t>& msgIds) = 0;
};

// The QR-code service, registered with the host under this name.
inline constexpr const char16_t* kQrCodeServiceName = u"QrCodeService";
inline constexpr GUID kQrCodeServiceIid = MakeGuid("{3F9A2B7C-5D64-4E18-A0C2-7B8E9F1D2C33}");
struct IQrCodeService {
    virtual ~IQrCodeService() = default;
    virtual void DecodeImage(const char16_t* path) = 0;
};

}  // namespace pfx

// The platform's shell: starts a program with a verb and parameters (show: SW_SHOWNORMAL …).
bool ShellExecuteW(HWND owner, const char16_t* verb, const char16_t* file, const char16_t* parameters,
                   const char16_t* directory, int show);
