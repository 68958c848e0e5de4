// A fresh stand-in world for one fuzz input: the module started in this
// process, an account logged in, a buddy "bob" and a group "g1" with their
// conversations. Everything goes again when the input is done, so that no
// input sees what another left behind.
#pragma once

#include <string>

#include "component/TaviImpl.h"
#include "sdk/chatwnd.h"
#include "panel/TaviPanel.h"
#include "sdk/pfx.h"
#include "sim/driver.h"

namespace fuzz {

class World {
public:
    World() {
        sim::ResetAll();
        sim::SetLanguage(sim::Language::Keys);
        m_module = CreateDllObj(u"tavi");
        sim::AddModule(m_module);
        m_module->Init(sim::GetHost());
        sim::AddAccount("me");
        sim::AddBuddy("bob", "Bob");
        sim::AddGroup("g1");
        sim::AddGroupMember("g1", "bob");
        sim::OpenConversation("bob");
        sim::OpenConversation("g1", true);
    }
    ~World() {
        for (HWND window : sim::OpenChatWindows()) sim::CloseChatWindow(window);
        sim::RunUntilIdle();
        m_module->Uninit();
        sim::RemoveModule(m_module);
        m_module->Release();
        sim::ResetAll();
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    pfx::IDllObj* Module() const { return m_module; }

    static HWND Open(sim::ChatKind kind, const std::string& peer) {
        HWND window = sim::OpenChatWindow(kind, peer);
        sim::RunUntilIdle();
        return window;
    }

    static tavi::CTaviPanel* Panel(HWND window) {
        CChatWindowUI* chat = sim::FindChatWindow(window);
        auto* component = chat ? static_cast<tavi::CTaviImpl*>(chat->GetTavi()) : nullptr;
        return component ? component->GetPanel() : nullptr;
    }

private:
    pfx::IDllObj* m_module = nullptr;
};

}  // namespace fuzz
