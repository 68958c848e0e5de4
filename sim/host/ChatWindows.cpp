// The host's chat windows: each takes the conversation-window plug-in,
// which puts the component's panel into the window, and the manager that
// finds a window's component by its handle.
#include <map>
#include <memory>

#include "sdk/chatwnd.h"
#include "sdk/pfx_plugin.h"
#include "sim/core/Reset.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

namespace sim {

namespace {

constexpr pfx::GUID kConvWndPluginId = pfx::MakeGuid("{086A6BDF-6F09-41FA-A061-8C5BB7E2CED4}");
constexpr pfx::GUID kShakePluginId = pfx::MakeGuid("{07E78AC2-69DD-45EF-BB49-9094D2DC51CA}");
constexpr uint32_t kMsgGetTavi = 0x22;
constexpr char16_t kToolHeadCtn[] = u"top_con.chat_tool_head_ctn";

class SimChatWindow;

struct ChatState {
    std::map<HWND, SimChatWindow*> windows;
    HWND current = nullptr;
    std::vector<HostEvent> events;
    std::vector<std::string> managerCalls;
    bool mustStayOpen = false;
    std::vector<WindowNotification> notifications;
};

ChatState& State() {
    static ChatState state;
    return state;
}

class SimChatWindow final : public CChatWindowUI, public tavi::IHostMsgSink, public INotifyUI {
public:
    SimChatWindow(const pfx::GUID& windowKey, const std::string& peerId) : m_windowKey(windowKey), m_peerId(peerId) {}

    bool Open(const std::u16string& instanceName) {
        if (!Create(nullptr, u"chat_window", 0, 0, 0, 0, 600, 500)) return false;
        auto* toolHead = new CContainerUI;
        toolHead->SetName(kToolHeadCtn);
        // The panel fills the window's body.
        toolHead->SetCoordinate(0, 0, 0, 0, UIANCHOR_FILL);
        GetRoot()->Add(toolHead);
        m_toolHead = toolHead;
        ShowWindow(true);
        State().windows[GetHWND()] = this;
        State().current = GetHWND();

        pfx::IObject* object = nullptr;
        if (!GetHost()->CreateObject(&object, kConvWndPluginId) || !object) return false;
        m_plugin = dynamic_cast<compls::IChatPlugin*>(object);
        if (!m_plugin) {
            object->Release();
            return false;
        }
        m_plugin->Init(instanceName.c_str(), 0, pfx::GUID{}, &m_windowKey);
        const std::u16string session = ToWide(m_peerId);
        m_plugin->Attach(GetObjSink(), this, session.c_str());
        m_plugin->RegisterMsgs(GetObjMsgRegistrar());
        m_plugin->CreateCtrlEx(kToolHeadCtn, GetHWND(), nullptr, 0, 0, nullptr);
        tavi::ITavi* component = GetTavi();
        if (!component) return false;
        component->SetHostMsgSink(this);
        component->InitMsgHandle();
        // A chat with a person has the shake button beside the component.
        if (m_windowKey == ChatWindowKey(ChatKind::Person)) AddShakeButton(instanceName, session);
        return true;
    }

    void AddShakeButton(const std::u16string& instanceName, const std::u16string& session) {
        pfx::IObject* object = nullptr;
        if (!GetHost()->CreateObject(&object, kShakePluginId) || !object) return;
        m_shakePlugin = dynamic_cast<compls::IChatPlugin*>(object);
        if (!m_shakePlugin) {
            object->Release();
            return;
        }
        m_shakePlugin->Init(instanceName.c_str(), 0, pfx::GUID{}, &m_windowKey);
        m_shakePlugin->Attach(GetObjSink(), this, session.c_str());
        CContainerUI* toolHead = m_toolHead;
        const int before = toolHead ? toolHead->GetCount() : 0;
        m_shakePlugin->CreateCtrlEx(kToolHeadCtn, GetHWND(), nullptr, 0, 0, nullptr);
        // The plug-in's button takes the slot at the right of the input
        // area's tool bar (the input area is 150 high, its tool bar row 2 to
        // 26 from its top), not the corner of the window over the history.
        if (toolHead && toolHead->GetCount() > before) {
            constexpr int32_t kInputHeight = 150, kRowTop = 2, kRowBottom = 26, kSlotRight = 95, kButton = 24;
            toolHead->GetItemAt(toolHead->GetCount() - 1)
                ->SetCoordinate(kSlotRight, kInputHeight - kRowTop, kSlotRight - kButton, kInputHeight - kRowBottom,
                                UIANCHOR_BOTTOMRIGHT);
        }
    }


    const std::string& Peer() const { return m_peerId; }

    tavi::ITavi* GetTavi() override {
        tavi::ITavi* component = nullptr;
        if (m_plugin) m_plugin->OnObjMsg(kMsgGetTavi, 0, reinterpret_cast<intptr_t>(&component), nullptr);
        return component;
    }
    tavi::ITavi* QueryTAVI() override {
        tavi::ITavi* component = GetTavi();
        if (component) component->AddRef();
        return component;
    }
    bool IsShowCombineList() override { return m_showsCombineList; }
    void ShowCombineList(bool shown) { m_showsCombineList = shown; }

    intptr_t HandleMsg(uint32_t code, uintptr_t a, intptr_t b) override {
        State().events.push_back({GetHWND(), "msg", int(code), intptr_t(a), b, u""});
        return 0;
    }
    void OnHostEvent(int code, intptr_t a, intptr_t b) override {
        constexpr int kSendFile = 4;
        const auto* path = code == kSendFile ? reinterpret_cast<const char16_t*>(b) : nullptr;
        State().events.push_back({GetHWND(), "event", code, a, b, path ? path : u""});
    }
    bool MustStayOpen() override { return State().mustStayOpen; }
    // What no control or panel took reaches the window itself.
    bool ProcessNotify(TNotifyUI& msg) override {
        const std::u16string sender = msg.pSender ? msg.pSender->GetName() : u"";
        State().notifications.push_back({GetHWND(), msg.nType, sender});
        return false;
    }

    intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        State().events.push_back({GetHWND(), "wndmsg", int(message), intptr_t(wParam), lParam, u""});
        return CChatWindowUI::WindowProc(message, wParam, lParam);
    }

    void Release() {
        if (m_plugin) m_plugin->Release();
        m_plugin = nullptr;
        if (m_shakePlugin) m_shakePlugin->Release();
        m_shakePlugin = nullptr;
    }

protected:
    void OnFinalMessage(HWND hwnd) override {
        State().windows.erase(hwnd);
        if (State().current == hwnd) State().current = State().windows.empty() ? nullptr : State().windows.begin()->first;
        Release();
        delete this;
    }

private:
    pfx::GUID m_windowKey;
    bool m_showsCombineList = false;
    std::string m_peerId;
    compls::IChatPlugin* m_plugin = nullptr;
    compls::IChatPlugin* m_shakePlugin = nullptr;
    CContainerUI* m_toolHead = nullptr;  // owned by the window's root
};

const bool kRegistered = RegisterReset([] {
    // A test that ends with windows open leaves them to the reset.
    auto windows = std::move(State().windows);
    for (auto& [hwnd, window] : windows) {
        window->Release();
        delete window;
    }
    State() = ChatState{};
});

pfx::GUID KeyOf(ChatKind kind);

class ChatWndMgr final : public IChatWndMgr {
public:
    bool GetTavi(HWND hwnd, tavi::ITavi** out) override {
        auto it = State().windows.find(hwnd);
        if (!out || it == State().windows.end()) return false;
        *out = it->second->QueryTAVI();
        return *out != nullptr;
    }
    bool IsManagedWnd(HWND hwnd) override { return State().windows.count(hwnd) != 0; }
    HWND GetCurrentChatWnd() override { return State().current; }
    void CloseChatWnd(HWND hwnd) override {
        State().managerCalls.push_back("close");
        auto it = State().windows.find(hwnd);
        if (it != State().windows.end()) it->second->CloseWindow(1);
    }
    void CloseCombinedChatWnd(HWND hwnd) override {
        State().managerCalls.push_back("close_combined");
        CloseChatWnd(hwnd);
    }
    void BeginPartnerCursorUpdate(HWND) override { State().managerCalls.push_back("begin_cursor"); }
    void EndPartnerCursorUpdate(HWND) override { State().managerCalls.push_back("end_cursor"); }
    void OpenChatWnd(const pfx::GUID& key, const char16_t* sessionId) override {
        const char* kind = key == KeyOf(ChatKind::Person) ? "person" : key == KeyOf(ChatKind::Group) ? "group" : "other";
        State().managerCalls.push_back(std::string("open:") + kind + ":" + ToUtf8(sessionId ? sessionId : u""));
    }
};

pfx::GUID KeyOf(ChatKind kind) {
    switch (kind) {
        case ChatKind::Person: return pfx::MakeGuid("{7CADFB98-F2B4-4BD7-9C4F-A06B1D69C556}");
        case ChatKind::Group: return pfx::MakeGuid("{842CE4E4-969A-48FD-B924-9A5DE68253BC}");
        case ChatKind::Adhoc: return pfx::MakeGuid("{8651C5D0-D8D5-440B-9679-CEBE887B5559}");
        case ChatKind::Email: return pfx::MakeGuid("{21DE38CE-C45E-4943-850C-573ADFDB3CF5}");
    }
    return pfx::GUID{};
}

}  // namespace

pfx::GUID ChatWindowKey(ChatKind kind) { return KeyOf(kind); }

HWND OpenChatWindow(ChatKind kind, const std::string& peerId, const std::u16string& instanceName) {
    auto* window = new SimChatWindow(KeyOf(kind), peerId);
    if (!window->Open(instanceName)) {
        if (window->GetHWND()) {
            window->CloseWindow(1);
            RunUntilIdle();
        } else {
            delete window;
        }
        return nullptr;
    }
    return window->GetHWND();
}

void CloseChatWindow(HWND hwnd) {
    GetChatWndMgr()->CloseChatWnd(hwnd);
    RunUntilIdle();
}

CChatWindowUI* FindChatWindow(HWND hwnd) {
    auto it = State().windows.find(hwnd);
    return it == State().windows.end() ? nullptr : it->second;
}

std::vector<HWND> OpenChatWindows() {
    std::vector<HWND> handles;
    for (const auto& entry : State().windows) handles.push_back(entry.first);
    return handles;
}

void SetCurrentChatWindow(HWND hwnd) { State().current = hwnd; }

void ShowCombineList(HWND hwnd, bool shown) {
    auto it = State().windows.find(hwnd);
    if (it != State().windows.end()) it->second->ShowCombineList(shown);
}
std::string ChatWindowPeer(HWND hwnd) {
    auto it = State().windows.find(hwnd);
    return it == State().windows.end() ? std::string() : it->second->Peer();
}
void SetMustStayOpen(bool stay) { State().mustStayOpen = stay; }
const std::vector<HostEvent>& HostEvents() { return State().events; }
const std::vector<std::string>& ChatWndMgrCalls() { return State().managerCalls; }
const std::vector<WindowNotification>& WindowNotifications() { return State().notifications; }

}  // namespace sim

IChatWndMgr* GetChatWndMgr() {
    static sim::ChatWndMgr manager;
    return &manager;
}
