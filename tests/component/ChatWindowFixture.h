// A world with the module loaded, an account logged in and buddies and a
// group to chat with; chat windows open through the host's plug-in path.
#pragma once

#include <gtest/gtest.h>

#include "component/TaviImpl.h"
#include "module/DllObject.h"
#include "msghandle/MsgHandle.h"
#include "panel/TaviPanel.h"
#include "sdk/chatwnd.h"
#include "sdk/pfx.h"
#include "sim/core/Text.h"
#include "sim/driver.h"

class ChatWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::ResetAll();
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

    void TearDown() override {
        for (HWND window : sim::OpenChatWindows()) sim::CloseChatWindow(window);
        sim::RunUntilIdle();
        ExpectOnlyPlainTextsShown();
        m_module->Uninit();
        sim::RemoveModule(m_module);
        m_module->Release();
        sim::ResetAll();
    }

    // Every box and tip the user saw, title and buttons included, shows its
    // plain localised text: a look-up with any flag is marked by the stand-in.
    static void ExpectOnlyPlainTextsShown() {
        const auto plain = [](const std::u16string& text) { return text.find(u"[flags ") == std::u16string::npos; };
        for (const sim::ShownBox& box : sim::ShownBoxes())
            EXPECT_TRUE(plain(box.text) && plain(box.caption) && plain(box.buttons))
                << sim::ToUtf8(box.caption) << " / " << sim::ToUtf8(box.text) << " / " << sim::ToUtf8(box.buttons);
        for (const sim::ShownTip& tip : sim::ShownTips()) EXPECT_TRUE(plain(tip.text)) << sim::ToUtf8(tip.text);
    }

    HWND Open(sim::ChatKind kind, const std::string& peer) {
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

    pfx::IDllObj* m_module = nullptr;
};
