// The world most chat-window checks start from: the module loaded and
// started as the host starts it, an account "me" logged in, a buddy "bob"
// and a group "g1" with bob in it, and the conversations of both open in
// the SDK. The component's tests and the fuzz targets both build it here,
// so that they agree on what the world is.
#pragma once

#include <string>

#include "component/TaviImpl.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/pfx.h"
#include "sim/driver.h"

namespace support {

class ChatWorld {
public:
    ChatWorld() = default;
    ChatWorld(const ChatWorld&) = delete;
    ChatWorld& operator=(const ChatWorld&) = delete;

    // Forgets whatever the stand-in held, then loads the module and builds
    // the account, the buddy, the group and their conversations.
    void Start() {
        sim::ResetAll();
        LoadModule();
        AddPeople();
    }

    // The module alone, on the stand-in as it is.
    void LoadModule() {
        m_module = CreateDllObj(u"tavi");
        sim::AddModule(m_module);
        m_module->Init(sim::GetHost());
    }

    // The account, "bob", "g1" and the conversations with both.
    static void AddPeople() {
        sim::AddAccount("me");
        sim::AddBuddy("bob", "Bob");
        sim::AddGroup("g1");
        sim::AddGroupMember("g1", "bob");
        sim::OpenConversation("bob");
        sim::OpenConversation("g1", true);
    }

    // Every chat window still open is closed as the user closes it, and
    // whatever that queued has run.
    static void CloseWindows() {
        for (HWND window : sim::OpenChatWindows()) sim::CloseChatWindow(window);
        sim::RunUntilIdle();
    }

    // Unloads the module as the host does and forgets the stand-in's world.
    void Stop() {
        if (m_module) {
            m_module->Uninit();
            sim::RemoveModule(m_module);
            m_module->Release();
            m_module = nullptr;
        }
        sim::ResetAll();
    }

    pfx::IDllObj* Module() const { return m_module; }

    // A chat window opened through the host's plug-in path, with what its
    // opening queued already run.
    static HWND Open(sim::ChatKind kind, const std::string& peer) {
        HWND window = sim::OpenChatWindow(kind, peer);
        sim::RunUntilIdle();
        return window;
    }

    static tavi::CTaviImpl* Component(HWND window) {
        CChatWindowUI* chat = sim::FindChatWindow(window);
        return chat ? static_cast<tavi::CTaviImpl*>(chat->GetTavi()) : nullptr;
    }

    static tavi::CTaviPanel* Panel(HWND window) {
        tavi::CTaviImpl* component = Component(window);
        return component ? component->GetPanel() : nullptr;
    }

private:
    pfx::IDllObj* m_module = nullptr;
};

}  // namespace support
