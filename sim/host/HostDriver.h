// Driver API of the host: its object registry, the registrars that
// record what a module announces, and the modules it has loaded.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sdk/pfx.h"

namespace sim {

// The host object that the host program hands to IDllObj::Init.
pfx::IHost* GetHost();
pfx::IClassRegistrar* GetClassRegistrar();
pfx::IPluginManager* GetPluginManager();
pfx::IObjMsgRegistrar* GetObjMsgRegistrar();
pfx::IObjSink* GetObjSink();

// Modules whose classes the host's class factory creates.
void AddModule(pfx::IDllObj* module);
void RemoveModule(pfx::IDllObj* module);

// The host's own services by class identifier (what stand-in parts
// register at start-up); a factory answers null for other classes.
using HostServiceFactory = std::function<pfx::IObject*(const pfx::GUID& classId)>;
bool AddHostServiceFactory(HostServiceFactory factory);

// Named objects: the host keeps a pointer, not a reference; the owner
// unregisters before it goes.
void RegisterNamedObject(const std::u16string& name, pfx::IObject* object);
void UnregisterNamedObject(const std::u16string& name);
pfx::IObject* FindNamedObject(const std::u16string& name);

struct ClassRecord {
    pfx::GUID module;
    pfx::GUID cls;
};
struct PluginRecord {
    pfx::GUID module;
    pfx::GUID category;
    pfx::GUID plugin;
};
struct MsgRecord {
    uintptr_t tag;
    pfx::GUID module;
    uint32_t msgId;
};
const std::vector<ClassRecord>& AnnouncedClasses();
const std::vector<PluginRecord>& AnnouncedPlugins();
const std::vector<MsgRecord>& AnnouncedMsgs();

}  // namespace sim

#include "sdk/win32.h"

class CChatWindowUI;

namespace qel {
struct IQelInst;
}

class CControlUI;

namespace sim {
// The application object's current SDK instance (not owned).
void SetCurrentQelInst(qel::IQelInst* inst);

// Tips the application object showed.
struct AppTip {
    std::u16string text;
    std::u16string title;
};
const std::vector<AppTip>& AppTips();

// Unread counters registered with the application object.
struct UnreadCounter {
    CControlUI* counter;
    std::u16string convId;
    std::u16string owner;
    int maximum;
    std::u16string format;
    std::u16string overFormat;
    std::function<bool()> mayShow;
};
const std::vector<UnreadCounter>& UnreadCounters();
// Conversations the component reloaded, by handle id.
const std::vector<std::u16string>& ConversationReloads();
// Pages the application object was asked to open: "msgmgr:<code>:<session>:<extra>:<cate>",
// "fastreply:<handle id>:<a>:<b>", "tip:<name>" (a tip by name),
// "receipt-details:<msg id>:<group id>:conv=<conv id>", "grptop-notice:<msg id>", "show-msg:<msg id>".
const std::vector<std::string>& AppCalls();
// Without a renderer the host shows no messages.
void SetHostHasRenderer(bool have);

// The host's chat windows. Opening one creates the conversation-window
// plug-in through the loaded module, lets it put its panel into the
// window, hands the component the window's sink and starts it.
enum class ChatKind { Person, Group, Adhoc, Email };
pfx::GUID ChatWindowKey(ChatKind kind);
// Null when the window or its component could not be made.
HWND OpenChatWindow(ChatKind kind, const std::string& peerId, const std::u16string& instanceName = u"qel_inst");
// Closes through the chat window manager and runs the loop.
void CloseChatWindow(HWND hwnd);
CChatWindowUI* FindChatWindow(HWND hwnd);
std::vector<HWND> OpenChatWindows();
// The peer (buddy or group id) a chat window was opened for.
std::string ChatWindowPeer(HWND hwnd);
// Whether the window shows its list of combined conversations (it does not at first).
void ShowCombineList(HWND hwnd, bool shown);
void SetCurrentChatWindow(HWND hwnd);
// What the window's sink answers when asked whether it must stay open.
void SetMustStayOpen(bool stay);
// What reached the windows' sinks: "msg" (HandleMsg), "event" (OnHostEvent),
// "wndmsg" (window messages).
struct HostEvent {
    HWND window;
    std::string kind;
    int code;
    intptr_t a;
    intptr_t b;
    std::u16string path;  // event 4: the file to send
};
const std::vector<HostEvent>& HostEvents();
// What the chat window manager was asked: "close", "close_combined",
// "begin_cursor", "end_cursor", "open:<person|group|other>:<peer id>".
const std::vector<std::string>& ChatWndMgrCalls();
// Every notice text written into a message view, as written (links included).
const std::vector<std::u16string>& NoticeSources();
// Notifications that no control or panel took, so that they reached the
// chat window itself: the type and the sender's name.
struct WindowNotification {
    HWND window;
    int type;
    std::u16string sender;
};
const std::vector<WindowNotification>& WindowNotifications();
}  // namespace sim

namespace sim {
// Translations the component asked the client common library for.
struct TranslationRequest {
    uint64_t msgId;
    bool automatic;
};
const std::vector<TranslationRequest>& TranslationRequests();
// What the service answers for a message from now on, as the bytes it sends
// (damaged UTF-8 included); without it, the message's text in upper case.
void SetTranslationText(uint64_t msgId, const std::string& text);
}  // namespace sim

namespace sim {
// ---- operations on shown messages ----
// The application's text of a number (its text 37 is the reason a request failed).
void SetHostText(int number, const std::u16string& text);
// Adds a line to AppCalls() (the host's services record their calls there).
void RecordAppCall(const std::string& call);
// The host's e-mail and QR-code services: offered by default; what the
// e-mail check answers (default false: no warning needed).
void SetEmailServiceOffered(bool offered);
void SetEmailCheckAnswer(bool warn);
void SetQrCodeServiceOffered(bool offered);
// The context-menu provider and its one extension: the extension adds the
// item 50900 "Extension item" and records "extension-command <id>" for it.
void SetContextMenuProviderOffered(bool offered);
}  // namespace sim

namespace sim {
// ---- the system's shell ----
// Off by default: shell calls are only recorded. On, they also go to the
// system's own shell where it has one (Windows: ShellExecuteW), so that a
// host on a desktop really opens the folder.
void PassShellCallsToSystem(bool pass);
}  // namespace sim
